#include "tools/artwork/preview.h"

#include "tools/artwork/knob_art.h"
#include "tools/artwork/logo_art.h"
#include "tools/artwork/panel_art.h"
#include "tools/artwork/sheets.h"

#include <cmath>
#include <cstdint>
#include <string>

namespace Artwork {

namespace {

constexpr std::uint32_t kAccent = 0xE1804F;
constexpr double kSmallPixels = 8 * 96 / 72.0;
// The knobs' row; each body is drawn 4 pixels above its control.
constexpr int kKnobY = 4;

struct KnobSample {
    int x;
    const char* caption;
    double value;
    const char* text;
};

constexpr KnobSample kKnobs[] = {
    {18, "delay", 0.35, "4.20 ms"}, {92, "rate", 0.0, "0.05 Hz"},  {166, "depth", 0.62, "62 %"},
    {240, "phase", 0.5, "90 deg"},  {314, "spread", 1.0, "100 %"}, {392, "wet mix", 0.8, "80 %"},
};

std::uint32_t channel(std::uint32_t word, int shift) { return (word >> shift) & 255; }

// One sheet quad, texel for pixel: texture 0 and texture 1 mixed by the
// colour's alpha, the result's colour scaled by the colour's RGB (alpha kept),
// then blended premultiplied over what is there. With `modulate` the texel is
// instead multiplied by the colour in all four channels.
void drawQuad(std::span<std::uint32_t> dst, std::span<const std::uint32_t> sheet, int x, int y, int w, int h, int u0,
              int v0, int u1, int v1, std::uint32_t colour, bool modulate) {
    const std::uint32_t mix = colour >> 24;
    for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col) {
            const std::uint32_t t0 = sheet[(v0 + row) * kSheetWidth + u0 + col];
            const std::uint32_t t1 = sheet[(v1 + row) * kSheetWidth + u1 + col];
            std::uint32_t out[4];
            for (int c = 0; c < 4; ++c) {
                const int shift = c * 8;
                std::uint32_t v;
                if (modulate) {
                    v = channel(t0, shift) * channel(colour, shift) / 255;
                } else {
                    v = (channel(t0, shift) * (255 - mix) + channel(t1, shift) * mix) / 255;
                    if (c < 3) v = v * channel(colour, shift) / 255;
                }
                out[c] = v;
            }
            std::uint32_t& target = dst[(y + row) * kPanelWidth + x + col];
            std::uint32_t blended = 0;
            for (int c = 0; c < 4; ++c) {
                const std::uint32_t v = out[c] + channel(target, c * 8) * (255 - out[3]) / 255;
                blended |= (v > 255 ? 255 : v) << (c * 8);
            }
            target = blended;
        }
}

void centredText(cairo_t* cr, const char* text, double centre, double base, std::uint32_t rgb) {
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text, &extents);
    cairo_move_to(cr, std::floor(centre - extents.x_advance / 2), base);
    setColour(cr, rgb);
    cairo_show_text(cr, text);
}

// "name: value" in one line: the name and colon in the accent colour, the rest white.
void lineControl(cairo_t* cr, int left, const char* name, const char* value) {
    const std::string head = std::string(name) + ":";
    const std::string tail = std::string(" ") + value;
    cairo_text_extents_t a, b;
    cairo_text_extents(cr, head.c_str(), &a);
    cairo_text_extents(cr, tail.c_str(), &b);
    const double x = left + std::floor((80 - a.x_advance - b.x_advance) / 2);
    const double base = 90 + 12 - 2;
    cairo_move_to(cr, x, base);
    setColour(cr, kAccent);
    cairo_show_text(cr, head.c_str());
    cairo_move_to(cr, x + a.x_advance, base);
    setColour(cr, 0xFFFFFF);
    cairo_show_text(cr, tail.c_str());
}

}  // namespace

std::unique_ptr<Canvas> makePreview(const Canvas& background, Canvas& sheet, const VeraFonts& fonts, int zoom) {
    Canvas editor(kPanelWidth, kPanelHeight);
    paintLayer(editor.cr(), background, 0, 0);
    auto dst = editor.pixels();
    auto src = sheet.pixels();
    for (const auto& knob : kKnobs) {
        const int top = kKnobY - 4;
        drawQuad(dst, src, knob.x, top, kBodySize, kBodySize, kBodyLeft, kBodyTop, kBodyLeft, kBodyTop, 0xFFFFFFFF,
                 false);
        const double f = knob.value * (kPointerFrames - 1);
        const int n = static_cast<int>(f);
        const int next = n + 1 < kPointerFrames ? n + 1 : n;
        const auto alpha = static_cast<std::uint32_t>((f - n) * 255);
        drawQuad(dst, src, knob.x + 20, top + 20, kPointerSize, kPointerSize, pointerFrameLeft(n), pointerFrameTop(n),
                 pointerFrameLeft(next), pointerFrameTop(next), alpha << 24 | 0xE0E0E0, false);
    }
    drawQuad(dst, src, kPanelWidth - kLogoWidth, kPanelHeight - kLogoHeight, kLogoWidth, kLogoHeight, kLogoLeft,
             kLogoTop, kLogoLeft, kLogoTop, 0xFF000000 | kAccent, true);
    editor.markDirty();

    cairo_t* cr = editor.cr();
    fonts.use(cr, false, kSmallPixels);
    for (const auto& knob : kKnobs) {
        const double base = kKnobY + kBodySize - 2;
        centredText(cr, knob.caption, knob.x + 40, base - 12, kAccent);
        centredText(cr, knob.text, knob.x + 40, base, 0xFFFFFF);
    }
    lineControl(cr, 58, "range", "10 ms");
    lineControl(cr, 166, "shape", "triangle");
    lineControl(cr, 274, "polarity", "normal");

    auto zoomed = std::make_unique<Canvas>(kPanelWidth * zoom, kPanelHeight * zoom);
    cairo_scale(zoomed->cr(), zoom, zoom);
    cairo_set_source_surface(zoomed->cr(), editor.surface(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(zoomed->cr()), CAIRO_FILTER_NEAREST);
    cairo_paint(zoomed->cr());
    return zoomed;
}

}  // namespace Artwork
