// A TrueType face rendered once, at one size, into a glyph atlas covering
// the characters 32 to 127. Drawing text afterwards needs only textured
// quads: each glyph is drawn from the atlas, in grey or as three per-channel
// LCD passes at three times the horizontal resolution.
//
// Threads: the device's window thread. Ownership: the creator owns the font
// and ends it with releaseFont() before the device is released.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Paintwell {

class Context;
class Device;
class StaticTexture;

/// One character's cell in the atlas and its metrics. Horizontal values are
/// in atlas units (three per screen pixel), vertical ones in pixels.
struct Glyph {
    float atlasX, atlasY;
    float cellWidth, cellHeight;
    float advanceX, advanceY;
    float bearingX, bearingY;
};

struct Font {
    Glyph glyphs[96];
    unsigned columns;
    float underlineOffset;
    float underlineThickness;
    Device* device;
    StaticTexture* atlas;
};

/// The size of the atlas a face's glyph cells need; see buildFont.
struct AtlasLayout {
    unsigned cellWidth, cellHeight;
    unsigned columns, rows;
    unsigned width, height;
};

/// Lays out 96 cells for a face whose bounding box (font units) is given.
AtlasLayout layoutAtlas(long xMin, long yMin, long xMax, long yMax);

/// Smooths one row of glyph coverage (width samples) into width + 4 atlas
/// texels with weights 1, 2, 4, 2, 1 over ten, so full coverage stays full.
void filterGlyphRow(const std::uint8_t* coverage, int width, std::uint8_t* out);

/// Builds a font from TrueType bytes at pointSize and dpi for the device.
/// Throws Paintwell::Exception on any failure, leaving nothing allocated.
Font* buildFont(Device* device, const void* bytes, std::size_t size, float pointSize, float dpi);

/// Releases the atlas and frees the font. Null is allowed.
void releaseFont(Font* font);

/// How all fonts draw: per-channel LCD passes, and the sub-pixel order.
/// Settled from the desktop's settings each time a font is created.
bool subpixelText();
bool subpixelRGB();
void setTextMode(bool subpixel, bool rgb);

/// Draws length bytes of text (to its zero byte when length is -1) with the
/// baseline at y and the pen starting at x, colour 0xAARRGGBB, and returns
/// the advance in pixels. Only bytes 32 to 127 draw; others are skipped. A
/// null font draws nothing and returns 0.
float drawText(const Font* font, Context* context, const char* text, int length, float x, float y, std::uint32_t colour,
               bool underline);

/// The width drawText would return.
float measureText(const Font* font, const char* text, int length);

}  // namespace Paintwell
