// The glyph atlas and text layout, checked without GL through a recording
// context, against the face file's own metrics.
#include "recording_context.h"
#include "vera_face.h"

#include "render/exception.h"
#include "render/font.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

using namespace Paintwell;
using namespace PaintwellTest;

namespace {

const std::vector<unsigned char>& vera() { return veraFace(); }

unsigned be16(const unsigned char* p) { return unsigned(p[0]) << 8 | p[1]; }

unsigned long be32(const unsigned char* p) { return (unsigned long)be16(p) << 16 | be16(p + 2); }

// A minimal reader of the face file's tables, independent of the font
// library: the em size, character-to-glyph map (format 4) and advances.
class FaceFile {
public:
    explicit FaceFile(const std::vector<unsigned char>& bytes) : data(bytes) {}

    unsigned unitsPerEm() const { return be16(table("head") + 18); }

    unsigned advance(unsigned code) const {
        unsigned glyph = glyphIndex(code);
        unsigned metrics = be16(table("hhea") + 34);
        const unsigned char* hmtx = table("hmtx");
        return be16(hmtx + 4 * (glyph < metrics ? glyph : metrics - 1));
    }

private:
    const unsigned char* table(const char* tag) const {
        unsigned count = be16(&data[4]);
        for (unsigned i = 0; i < count; ++i) {
            const unsigned char* record = &data[12 + 16 * i];
            if (std::string(reinterpret_cast<const char*>(record), 4) == tag) return &data[be32(record + 8)];
        }
        throw std::runtime_error(std::string("no table ") + tag);
    }

    unsigned glyphIndex(unsigned code) const {
        const unsigned char* cmap = table("cmap");
        for (unsigned i = 0; i < be16(cmap + 2); ++i) {
            const unsigned char* sub = cmap + be32(cmap + 4 + 8 * i + 4);
            if (be16(sub) != 4) continue;
            unsigned segments = be16(sub + 6) / 2;
            const unsigned char* ends = sub + 14;
            const unsigned char* starts = ends + 2 * segments + 2;
            const unsigned char* deltas = starts + 2 * segments;
            const unsigned char* offsets = deltas + 2 * segments;
            for (unsigned s = 0; s < segments; ++s) {
                if (code > be16(ends + 2 * s) || code < be16(starts + 2 * s)) continue;
                unsigned offset = be16(offsets + 2 * s);
                if (offset == 0) return (code + be16(deltas + 2 * s)) & 0xFFFF;
                const unsigned char* slot = offsets + 2 * s + offset + 2 * (code - be16(starts + 2 * s));
                unsigned glyph = be16(slot);
                return glyph ? (glyph + be16(deltas + 2 * s)) & 0xFFFF : 0;
            }
        }
        return 0;
    }

    const std::vector<unsigned char>& data;
};

class FontTest : public ::testing::TestWithParam<float> {
protected:
    void SetUp() override {
        ASSERT_FALSE(vera().empty()) << "the Vera face is missing: " << TALLOW_VERA_PATH;
        font = buildFont(&context, vera().data(), vera().size(), GetParam(), 96);
        setTextMode(false, true);
    }
    void TearDown() override {
        releaseFont(font);
        EXPECT_EQ(context.liveTextures, 0);
        setTextMode(false, false);
    }
    float advancePixels(char c) const { return font->glyphs[c - 32].advanceX / 3; }

    RecordingContext context;
    Font* font = nullptr;
};

}  // namespace

TEST(AtlasLayoutTest, TheEmbeddedFacesBoxGives53By39CellsInA477By431Atlas) {
    AtlasLayout layout = layoutAtlas(-375, -483, 2636, 1901);
    EXPECT_EQ(layout.cellWidth, 53u);
    EXPECT_EQ(layout.cellHeight, 39u);
    EXPECT_EQ(layout.columns, 9u);
    EXPECT_EQ(layout.rows, 11u);
    EXPECT_EQ(layout.width, 477u);
    EXPECT_EQ(layout.height, 431u);
}

TEST(AtlasLayoutTest, SmallCellsFitTheFirstWidthAndHugeOnesAreRefused) {
    AtlasLayout small = layoutAtlas(0, 0, 64 * 4, 64 * 4);  // 10 by 6 cells
    EXPECT_EQ(small.cellWidth, 10u);
    EXPECT_EQ(small.columns, 6u);
    EXPECT_EQ(small.rows, 16u);
    EXPECT_EQ(small.width, 60u);
    EXPECT_EQ(small.height, 98u);
    EXPECT_THROW(layoutAtlas(0, 0, 64L * 100000, 64), Exception);  // cells wider than any atlas
}

TEST(FontBuildTest, BadBytesThrowAndLeaveNoTexture) {
    RecordingContext context;
    std::vector<unsigned char> junk(1000, 0x41);
    EXPECT_THROW(buildFont(&context, junk.data(), junk.size(), 8, 96), Exception);
    EXPECT_THROW(buildFont(&context, nullptr, 0, 8, 96), Exception);
    EXPECT_EQ(context.liveTextures, 0);
}

TEST_P(FontTest, AtlasHasTheFaceSizeAndEveryGlyphInItsOwnCell) {
    RecordedTexture* atlas = context.lastTexture;
    ASSERT_NE(atlas, nullptr);
    EXPECT_EQ(atlas->width, 477u);
    EXPECT_EQ(atlas->height, 431u);
    EXPECT_EQ(font->columns, 9u);
    std::vector<bool> covered(atlas->pixels.size(), false);
    for (unsigned i = 0; i < 96; ++i) {
        const Glyph& g = font->glyphs[i];
        EXPECT_EQ(g.atlasX, (i % 9) * 53 + 1) << i;
        EXPECT_EQ(g.atlasY, (i / 9) * 39 + 1) << i;
        EXPECT_LE(g.cellWidth, 53 - 2) << "glyph " << i << " spills out of its cell";
        EXPECT_LE(g.cellHeight, 39 - 1) << "glyph " << i << " spills out of its cell";
        for (unsigned y = unsigned(g.atlasY); y < unsigned(g.atlasY + g.cellHeight); ++y)
            for (unsigned x = unsigned(g.atlasX); x < unsigned(g.atlasX + g.cellWidth); ++x)
                covered[y * atlas->width + x] = true;
    }
    for (std::size_t p = 0; p < atlas->pixels.size(); ++p) {
        std::uint32_t texel = atlas->pixels[p];
        ASSERT_EQ(texel, (texel & 0xFF) * 0x01010101u) << "channels differ at texel " << p;
        if (texel) {
            ASSERT_TRUE(covered[p]) << "ink outside every glyph cell at texel " << p;
        }
    }
}

TEST(GlyphFilterTest, SpreadsEachSampleOverFiveTexelsAndKeepsFullCoverageFull) {
    const std::uint8_t dot[1] = {255};
    std::uint8_t out[5];
    filterGlyphRow(dot, 1, out);
    EXPECT_EQ(std::vector<int>(out, out + 5), (std::vector<int>{25, 51, 102, 51, 25}));

    std::vector<std::uint8_t> bar(12, 255), wide(16);
    filterGlyphRow(bar.data(), 12, wide.data());
    EXPECT_EQ(wide[0], 25);
    EXPECT_EQ(wide[1], 76);
    EXPECT_EQ(wide[2], 178);
    EXPECT_EQ(wide[3], 229);
    for (int k = 4; k < 12; ++k) EXPECT_EQ(wide[k], 255) << k;
    EXPECT_EQ(wide[15], 25);
}

TEST_P(FontTest, EveryPrintableGlyphHasInkAndTheSpaceHasNone) {
    RecordedTexture* atlas = context.lastTexture;
    for (unsigned i = 0; i < 95; ++i) {
        const Glyph& g = font->glyphs[i];
        std::uint32_t ink = 0;
        for (unsigned y = unsigned(g.atlasY); y < unsigned(g.atlasY + 39 - 1); ++y)
            for (unsigned x = unsigned(g.atlasX); x < unsigned(g.atlasX + 53 - 2); ++x)
                ink = std::max(ink, atlas->at(x, y) & 0xFF);
        if (i == 0) {
            EXPECT_EQ(ink, 0u);
        } else {
            EXPECT_GT(ink, 100u) << "'" << char(i + 32) << "'";
        }
    }
}

TEST_P(FontTest, AdvancesFollowTheFacesMetricsAtThreeTimesTheWidth) {
    FaceFile face(vera());
    double pixelsPerEm = GetParam() * 96.0 / 72.0;
    for (char c = 33; c < 127; ++c) {
        double designed = face.advance(static_cast<unsigned char>(c)) * pixelsPerEm / face.unitsPerEm();
        // Each advance is cut to whole atlas units (a third of a pixel).
        EXPECT_NEAR(advancePixels(c), designed, 0.5) << "'" << c << "'";
        EXPECT_EQ(font->glyphs[c - 32].advanceY, 0);
    }
    double text = 0;
    for (char c : std::string("Hello, World"))
        text += face.advance(static_cast<unsigned char>(c)) * pixelsPerEm / face.unitsPerEm();
    EXPECT_NEAR(measureText(font, "Hello, World", -1), text, 12 * 0.34);
    EXPECT_GE(font->underlineThickness, 1.0f);
    EXPECT_GT(font->underlineOffset, 0.0f);
}

TEST_P(FontTest, ControlCharactersAndHighBytesAreSkippedWithoutAdvancing) {
    float plain = measureText(font, "AB", -1);
    EXPECT_GT(plain, 0);
    EXPECT_EQ(measureText(font, "A\tB", -1), plain);
    EXPECT_EQ(measureText(font,
                          "A\x01\x1f"
                          "B",
                          -1),
              plain);
    EXPECT_EQ(measureText(font,
                          "A\xC3\xA9\xFF"
                          "B",
                          -1),
              plain);
    EXPECT_EQ(measureText(font, "AB\0CD", -1), plain);
    EXPECT_EQ(measureText(font, "AB\0CD", 5), measureText(font, "ABCD", -1));
    EXPECT_EQ(measureText(font, "ABCD", 2), plain);
    EXPECT_EQ(measureText(font, "\x7f", 1), advancePixels(127));
    EXPECT_EQ(measureText(font, "", -1), 0);
    EXPECT_EQ(measureText(nullptr, "AB", -1), 0);

    float width = drawText(font, &context,
                           "A\t\xE9"
                           "B",
                           -1, 10, 20, 0xFFFFFFFF, false);
    EXPECT_EQ(width, plain);
    ASSERT_EQ(context.draws.size(), 1u);
    ASSERT_EQ(context.draws[0].quads.size(), 2u);
    const Glyph& a = font->glyphs['A' - 32];
    const Glyph& b = font->glyphs['B' - 32];
    EXPECT_FLOAT_EQ(context.draws[0].quads[0].texLeft, a.atlasX + 1);
    EXPECT_FLOAT_EQ(context.draws[0].quads[1].texLeft, b.atlasX + 1);
    EXPECT_FLOAT_EQ(context.draws[0].quads[1].left, 10 + advancePixels('A') + b.bearingX / 3 - 1);
}

TEST_P(FontTest, GreyTextIsOneQuadPerGlyphOnTheBaseline) {
    float width = drawText(font, &context, "Hi", 2, 10.5f, 30.25f, 0x80FFFFFF, false);
    EXPECT_EQ(width, advancePixels('H') + advancePixels('i'));
    ASSERT_EQ(context.draws.size(), 1u);
    const RecordedDraw& draw = context.draws[0];
    EXPECT_EQ(draw.blend, BlendPremultiplied);
    EXPECT_EQ(draw.combine, CombineModulate);
    EXPECT_EQ(draw.texture0, static_cast<Texture*>(font->atlas));
    EXPECT_EQ(draw.texture1, nullptr);
    ASSERT_EQ(draw.quads.size(), 2u);
    const Glyph& h = font->glyphs['H' - 32];
    const Quad& q = draw.quads[0];
    EXPECT_FLOAT_EQ(q.left, 10.5f + h.bearingX / 3 - 1);
    EXPECT_FLOAT_EQ(q.right - q.left, h.cellWidth / 3);
    EXPECT_FLOAT_EQ(q.top, std::floor(30.25f - h.bearingY - 1));
    EXPECT_FLOAT_EQ(q.bottom - q.top, h.cellHeight);
    EXPECT_FLOAT_EQ(q.texRight - q.texLeft, h.cellWidth);
    EXPECT_FLOAT_EQ(q.texTop, h.atlasY);
    EXPECT_EQ(q.colour, 0x80FFFFFFu);
    // The glyph sits on the baseline: its ink ends where the bitmap ends.
    EXPECT_NEAR(q.top + 1 + h.bearingY, 30.25f, 1.0f);
    EXPECT_EQ(context.current, nullptr);
}

TEST_P(FontTest, LcdTextIsThreeChannelPassesShiftedByAQuarterPixel) {
    for (bool rgb : {true, false}) {
        context.draws.clear();
        setTextMode(true, rgb);
        drawText(font, &context, "W", -1, 5, 20, 0x40C08020, false);
        ASSERT_EQ(context.draws.size(), 1u);
        const RecordedDraw& draw = context.draws[0];
        EXPECT_EQ(draw.blend, BlendSubpixel);
        EXPECT_EQ(draw.combine, CombineMask);
        ASSERT_EQ(draw.quads.size(), 3u);
        const Quad &red = draw.quads[0], &green = draw.quads[1], &blue = draw.quads[2];
        EXPECT_EQ(red.colour, 0xC0FF0000u);
        EXPECT_EQ(green.colour, 0x8000FF00u);
        EXPECT_EQ(blue.colour, 0x200000FFu);
        float shift = rgb ? 0.25f : -0.25f;
        EXPECT_FLOAT_EQ(red.left - green.left, shift);
        EXPECT_FLOAT_EQ(red.right - green.right, shift);
        EXPECT_FLOAT_EQ(blue.left - green.left, -shift);
        EXPECT_FLOAT_EQ(green.top, red.top);
        EXPECT_FLOAT_EQ(green.texLeft, blue.texLeft);
    }
}

TEST_P(FontTest, UnderlineIsOneOpaqueQuadUnderThePenTravel) {
    float width = drawText(font, &context, "Tx", -1, 3, 40, 0x20102030, true);
    ASSERT_EQ(context.draws.size(), 2u);
    const RecordedDraw& line = context.draws[1];
    EXPECT_EQ(line.blend, BlendPremultiplied);
    EXPECT_EQ(line.combine, CombineColor);
    EXPECT_EQ(line.texture0, nullptr);
    ASSERT_EQ(line.quads.size(), 1u);
    const Quad& q = line.quads[0];
    EXPECT_FLOAT_EQ(q.left, 3);
    EXPECT_FLOAT_EQ(q.right, 3 + width);
    EXPECT_FLOAT_EQ(q.top, 40 + font->underlineOffset);
    EXPECT_FLOAT_EQ(q.bottom - q.top, font->underlineThickness);
    EXPECT_EQ(q.colour, 0xFF102030u);
    EXPECT_EQ(context.current, nullptr);

    context.draws.clear();
    EXPECT_EQ(drawText(font, &context, "", -1, 3, 40, 0xFFFFFFFF, true), 0);
    ASSERT_EQ(context.draws.size(), 2u);
    EXPECT_TRUE(context.draws[0].quads.empty());
    ASSERT_EQ(context.draws[1].quads.size(), 1u);
    EXPECT_FLOAT_EQ(context.draws[1].quads[0].right, context.draws[1].quads[0].left);
}

TEST_P(FontTest, NullFontDrawsNothing) {
    EXPECT_EQ(drawText(nullptr, &context, "abc", -1, 0, 0, 0xFFFFFFFF, true), 0);
    EXPECT_TRUE(context.draws.empty());
}

INSTANTIATE_TEST_SUITE_P(PointSizes, FontTest, ::testing::Values(8.0f, 10.0f));
