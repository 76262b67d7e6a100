// Renders the face into the glyph atlas. Glyphs come out at three times the
// horizontal resolution (a 1/16 horizontal transform on a 48x wider size),
// and each row is smoothed by a 1-2-4-2-1 filter so LCD passes don't fringe.
#include "render/font.h"

#include "render/device.h"
#include "render/exception.h"
#include "render/texture.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>
#include <vector>

namespace Paintwell {

namespace {

void check(FT_Error error) {
    if (error) throw Exception();
}

// Owns the library and face so that a failure part-way frees them.
struct FaceHolder {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~FaceHolder() {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
    }
};

void setUnderline(Font& font, FT_Face face) {
    // Font units times the 16.16 scale give 26.6 in 16.16: 2^22 per pixel.
    long long scale = face->size->metrics.y_scale;
    font.underlineOffset = static_cast<float>(-face->underline_position * scale) / 4194304.0f;
    font.underlineThickness = static_cast<float>(face->underline_thickness * scale) / 4194304.0f;
    if (font.underlineThickness < 1) {
        font.underlineOffset -= 1 - font.underlineThickness;
        font.underlineThickness = 1;
    }
}

// Writes one rendered glyph into its cell, filtered along each row.
void copyGlyph(const FT_Bitmap& bitmap, std::vector<std::uint32_t>& pixels, unsigned atlasWidth, unsigned atlasHeight,
               unsigned cx, unsigned cy) {
    int width = static_cast<int>(bitmap.width);
    std::vector<std::uint8_t> filtered(static_cast<std::size_t>(width) + 4);
    for (unsigned j = 0; j < bitmap.rows; ++j) {
        filterGlyphRow(bitmap.buffer + static_cast<long>(j) * bitmap.pitch, width, filtered.data());
        for (int k = 0; k <= width + 3; ++k) {
            unsigned x = cx + 1 + static_cast<unsigned>(k), y = cy + 1 + j;
            // A glyph larger than its cell stops at the atlas edge.
            if (x < atlasWidth && y < atlasHeight)
                pixels[static_cast<std::size_t>(y) * atlasWidth + x] = filtered[k] * 0x01010101u;
        }
    }
}

}  // namespace

void filterGlyphRow(const std::uint8_t* coverage, int width, std::uint8_t* out) {
    auto sample = [&](int k) { return k >= 0 && k < width ? static_cast<int>(coverage[k]) : 0; };
    for (int k = 0; k <= width + 3; ++k) {
        int value = (sample(k) + 2 * sample(k - 1) + 4 * sample(k - 2) + 2 * sample(k - 3) + sample(k - 4)) / 10;
        out[k] = static_cast<std::uint8_t>(value);
    }
}

namespace {

void renderGlyph(Font& font, FT_Face face, unsigned i, const AtlasLayout& layout, std::vector<std::uint32_t>& pixels) {
    unsigned cx = (i % layout.columns) * layout.cellWidth + 1;
    unsigned cy = (i / layout.columns) * layout.cellHeight + 1;
    Glyph& g = font.glyphs[i];
    g.atlasX = static_cast<float>(cx);
    g.atlasY = static_cast<float>(cy);
    FT_UInt index = FT_Get_Char_Index(face, i + 32);
    check(FT_Load_Glyph(face, index, FT_LOAD_FORCE_AUTOHINT));
    check(FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL));
    FT_GlyphSlot slot = face->glyph;
    g.bearingX = static_cast<float>(slot->bitmap_left);
    g.bearingY = static_cast<float>(slot->bitmap_top);
    g.cellWidth = static_cast<float>(slot->bitmap.width + 6);
    g.cellHeight = static_cast<float>(slot->bitmap.rows + 2);
    g.advanceX = static_cast<float>(slot->advance.x / 64);
    g.advanceY = static_cast<float>(slot->advance.y / 64);
    if (slot->bitmap.width && slot->bitmap.rows && slot->bitmap.buffer)
        copyGlyph(slot->bitmap, pixels, layout.width, layout.height, cx, cy);
}

}  // namespace

AtlasLayout layoutAtlas(long xMin, long yMin, long xMax, long yMax) {
    AtlasLayout layout{};
    layout.cellWidth = static_cast<unsigned>((xMax - xMin) / 64 + 6);
    layout.cellHeight = static_cast<unsigned>((yMax - yMin) / 64 + 2);
    // Atlases stop at 16384 texels a side; a face needing more is refused.
    for (unsigned w = 64; w <= 16384; w *= 2) {
        layout.columns = (w - 2) / layout.cellWidth;
        if (layout.columns == 0) continue;
        layout.rows = (layout.columns + 95) / layout.columns;
        unsigned h = layout.rows * layout.cellHeight + 2;
        if (h <= 2 * w) {
            layout.width = layout.columns * layout.cellWidth;
            layout.height = h;
            return layout;
        }
    }
    throw Exception();
}

Font* buildFont(Device* device, const void* bytes, std::size_t size, float pointSize, float dpi) {
    if (!device || !bytes || size == 0) throw Exception();
    FaceHolder holder;
    check(FT_Init_FreeType(&holder.library));
    check(FT_New_Memory_Face(holder.library, static_cast<const FT_Byte*>(bytes), static_cast<FT_Long>(size), 0,
                             &holder.face));
    FT_Face face = holder.face;
    auto charSize = static_cast<FT_F26Dot6>(pointSize * 64);
    auto resolution = static_cast<FT_UInt>(dpi);
    check(FT_Set_Char_Size(face, charSize, charSize, 48 * resolution, resolution));
    FT_Matrix matrix{0x1000, 0, 0, 0x10000};
    FT_Set_Transform(face, &matrix, nullptr);

    auto font = std::make_unique<Font>();
    setUnderline(*font, face);
    AtlasLayout layout = layoutAtlas(face->bbox.xMin, face->bbox.yMin, face->bbox.xMax, face->bbox.yMax);
    font->columns = layout.columns;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(layout.width) * layout.height, 0);
    for (unsigned i = 0; i < 96; ++i) renderGlyph(*font, face, i, layout, pixels);

    font->device = device;
    font->atlas = device->createStaticTexture(layout.width, layout.height);
    try {
        font->atlas->upload(pixels.data(), layout.width, 0, 0, layout.width, layout.height);
    } catch (...) {
        font->atlas->release();
        throw;
    }
    return font.release();
}

void releaseFont(Font* font) {
    if (!font) return;
    if (font->atlas) font->atlas->release();
    delete font;
}

}  // namespace Paintwell
