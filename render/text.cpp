// Drawing and measuring text from a font's atlas.
#include "render/context.h"
#include "render/font.h"
#include "render/shader.h"
#include "render/texture.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace Paintwell {

namespace {

bool lcdText = false;
bool lcdRGB = false;

std::size_t textLength(const char* text, int length) {
    if (!text) return 0;
    return length < 0 ? std::strlen(text) : static_cast<std::size_t>(length);
}

// Bytes 32 to 127 draw; taken as signed, everything from 128 up is negative.
bool drawable(signed char c) { return c >= 32; }

// The three LCD passes of one glyph: each writes one channel, with that
// channel of the text colour as its alpha.
void addLcdPasses(std::vector<Quad>& quads, const Quad& quad, std::uint32_t colour, float shift) {
    Quad red = quad, green = quad, blue = quad;
    red.colour = ((colour << 8) & 0xFF000000u) | 0x00FF0000u;
    green.colour = ((colour << 16) & 0xFF000000u) | 0x0000FF00u;
    blue.colour = (colour << 24) | 0x000000FFu;
    red.left += shift;
    red.right += shift;
    blue.left -= shift;
    blue.right -= shift;
    quads.push_back(red);
    quads.push_back(green);
    quads.push_back(blue);
}

}  // namespace

bool subpixelText() { return lcdText; }

bool subpixelRGB() { return lcdRGB; }

void setTextMode(bool subpixel, bool rgb) {
    lcdText = subpixel;
    lcdRGB = rgb;
}

float drawText(const Font* font, Context* context, const char* text, int length, float x, float y, std::uint32_t colour,
               bool underline) {
    if (!font || !context) return 0;
    std::size_t n = textLength(text, length);
    bool lcd = lcdText;
    std::vector<Quad> quads;
    quads.reserve(n * (lcd ? 3 : 1));
    float shift = lcdRGB ? 0.25f : -0.25f;
    float penX = 0, penY = 0;
    for (std::size_t i = 0; i < n; ++i) {
        auto c = static_cast<signed char>(text[i]);
        if (!drawable(c)) continue;
        const Glyph& g = font->glyphs[c - 32];
        Quad quad{};
        quad.left = x + penX + g.bearingX / 3 - 1;
        quad.right = quad.left + g.cellWidth / 3;
        quad.top = std::floor(y + penY - g.bearingY - 1);
        quad.bottom = quad.top + g.cellHeight;
        quad.texLeft = g.atlasX + 1;
        quad.texRight = quad.texLeft + g.cellWidth;
        quad.texTop = g.atlasY;
        quad.texBottom = quad.texTop + g.cellHeight;
        quad.colour = colour;
        if (lcd) addLcdPasses(quads, quad, colour, shift);
        else
            quads.push_back(quad);
        penX += g.advanceX / 3;
        penY += g.advanceY;
    }
    Shader textShader(context, lcd ? BlendSubpixel : BlendPremultiplied, lcd ? CombineMask : CombineModulate,
                      font->atlas, nullptr);
    context->drawQuads(quads.data(), static_cast<unsigned>(quads.size()));
    if (underline) {
        Shader lineShader(context, BlendPremultiplied, CombineColor);
        context->drawQuad(
            makeQuad(x, y + font->underlineOffset, penX, font->underlineThickness, 0, 0, colour | 0xFF000000u));
    }
    return penX;
}

float measureText(const Font* font, const char* text, int length) {
    if (!font) return 0;
    std::size_t n = textLength(text, length);
    float width = 0;
    for (std::size_t i = 0; i < n; ++i) {
        auto c = static_cast<signed char>(text[i]);
        if (drawable(c)) width += font->glyphs[c - 32].advanceX / 3;
    }
    return width;
}

}  // namespace Paintwell
