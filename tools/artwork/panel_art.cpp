#include "tools/artwork/panel_art.h"

#include <cmath>
#include <cstdint>

namespace Artwork {

namespace {

// The plate holds the knobs and their two text lines; the strip below it holds
// the three one-line controls and the maker's logo.
constexpr double kPlateLeft = 21.5, kPlateTop = 2.5, kPlateRight = 477.5, kPlateBottom = 87.5;
constexpr double kPlateCorner = 7;

void roundedRectangle(cairo_t* cr, double left, double top, double right, double bottom, double corner) {
    cairo_new_path(cr);
    cairo_arc(cr, right - corner, top + corner, corner, -M_PI / 2, 0);
    cairo_arc(cr, right - corner, bottom - corner, corner, 0, M_PI / 2);
    cairo_arc(cr, left + corner, bottom - corner, corner, M_PI / 2, M_PI);
    cairo_arc(cr, left + corner, top + corner, corner, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void paintBase(cairo_t* cr) {
    cairo_pattern_t* shade = cairo_pattern_create_linear(0, 0, 0, kPanelHeight);
    addStop(shade, 0.0, 0x19211C);
    addStop(shade, 1.0, 0x0C100E);
    cairo_set_source(cr, shade);
    cairo_paint(cr);
    cairo_pattern_destroy(shade);
}

void paintPlate(cairo_t* cr) {
    // A soft drop shadow first, below and right of the plate.
    Canvas shadow(kPanelWidth, kPanelHeight);
    roundedRectangle(shadow.cr(), kPlateLeft + 1, kPlateTop + 1.5, kPlateRight + 1, kPlateBottom + 1.5, kPlateCorner);
    setColour(shadow.cr(), 0x000000, 0.7);
    cairo_fill(shadow.cr());
    shadow.blur(2);
    paintLayer(cr, shadow, 0, 0);

    cairo_pattern_t* fill = cairo_pattern_create_linear(0, kPlateTop, 0, kPlateBottom);
    addStop(fill, 0.0, 0x26312B);
    addStop(fill, 1.0, 0x19211D);
    roundedRectangle(cr, kPlateLeft, kPlateTop, kPlateRight, kPlateBottom, kPlateCorner);
    cairo_set_source(cr, fill);
    cairo_fill(cr);
    cairo_pattern_destroy(fill);

    // The lighter frame: bright along the top and left edges, fading towards the far corner.
    cairo_pattern_t* frame = cairo_pattern_create_linear(kPlateLeft, kPlateTop, kPlateLeft + 60, kPlateBottom + 40);
    addStop(frame, 0.0, 0x6F8576);
    addStop(frame, 1.0, 0x34423A);
    roundedRectangle(cr, kPlateLeft, kPlateTop, kPlateRight, kPlateBottom, kPlateCorner);
    cairo_set_line_width(cr, 1);
    cairo_set_source(cr, frame);
    cairo_stroke(cr);
    cairo_pattern_destroy(frame);

    // An inner dark line makes the frame read as a raised lip.
    roundedRectangle(cr, kPlateLeft + 1, kPlateTop + 1, kPlateRight - 1, kPlateBottom - 1, kPlateCorner - 1);
    setColour(cr, 0x0A0D0B, 0.45);
    cairo_stroke(cr);
}

// The name reads upwards along the left edge, letter-spaced, in a pale green
// with a shadow below and to the right like everything else on the panel.
void paintTitle(cairo_t* cr, const VeraFonts& fonts) {
    static const char* kTitle = "TALLOW REED";
    fonts.use(cr, true, 9.5);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, kTitle, &extents);
    const double letter = 1.6;
    const double length = extents.x_advance + letter * 10;

    auto showTitle = [&](double dx, double dy) {
        cairo_save(cr);
        cairo_translate(cr, 14.5 + dx, kPanelHeight / 2.0 + length / 2 + dy);
        cairo_rotate(cr, -M_PI / 2);
        double x = 0;
        for (const char* c = kTitle; *c; ++c) {
            const char glyph[2] = {*c, 0};
            cairo_move_to(cr, x, 0);
            cairo_show_text(cr, glyph);
            cairo_text_extents_t one;
            cairo_text_extents(cr, glyph, &one);
            x += one.x_advance + letter;
        }
        cairo_restore(cr);
    };
    setColour(cr, 0x000000, 0.7);
    showTitle(0.8, 0.8);
    setColour(cr, 0x8FA596, 0.9);
    showTitle(0, 0);
}

// A fine grain keeps the large dark areas from looking flat; the same seed
// gives the same grain every time.
void addGrain(Canvas& panel) {
    std::uint32_t state = 0x7A11EDu;
    auto words = panel.pixels();
    for (auto& word : words) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        const int delta = static_cast<int>(state % 5) - 2;
        std::uint32_t out = 0xFF000000u;
        for (int shift = 0; shift < 24; shift += 8) {
            int v = static_cast<int>((word >> shift) & 255) + delta;
            v = v < 0 ? 0 : v > 255 ? 255 : v;
            out |= static_cast<std::uint32_t>(v) << shift;
        }
        word = out;
    }
    panel.markDirty();
}

// The panel's own edge: a dark outline and a faint highlight along the top and left.
void paintEdge(cairo_t* cr) {
    cairo_rectangle(cr, 0.5, 0.5, kPanelWidth - 1, kPanelHeight - 1);
    cairo_set_line_width(cr, 1);
    setColour(cr, 0x040605);
    cairo_stroke(cr);
    cairo_move_to(cr, 1, 1.5);
    cairo_line_to(cr, kPanelWidth - 1, 1.5);
    cairo_move_to(cr, 1.5, 1);
    cairo_line_to(cr, 1.5, kPanelHeight - 1);
    setColour(cr, 0x3A4A40, 0.6);
    cairo_stroke(cr);
}

}  // namespace

void paintPanel(Canvas& panel, const VeraFonts& fonts) {
    cairo_t* cr = panel.cr();
    paintBase(cr);
    paintPlate(cr);
    paintTitle(cr, fonts);
    addGrain(panel);
    paintEdge(cr);
}

}  // namespace Artwork
