// The module's two texture sheets, loaded from its own resources: their sizes,
// the blending each is drawn with, and where the knob's pointer points.
#include "gui/image.h"
#include "gui/load_image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

namespace {

unsigned channel(std::uint32_t word, int shift) { return (word >> shift) & 255; }

std::unique_ptr<Wispkit::Image> sheet(const char* name) {
    return std::unique_ptr<Wispkit::Image>(Wispkit::loadImage(name));
}

// Alpha-weighted centre of pointer frame k relative to its cell's centre.
void pointerCentre(const Wispkit::Image& common, int k, double& x, double& y) {
    const int left = 40 * (k % 8), top = 40 * (k / 8);
    double sum = 0, sx = 0, sy = 0;
    for (int row = 0; row < 40; ++row)
        for (int col = 0; col < 40; ++col) {
            const auto word = common.getPixels()[(top + row) * common.getWidth() + left + col];
            // Only the light stroke, not its dark shadow.
            const double weight = channel(word, 16) > 128 ? channel(word, 24) : 0;
            sum += weight;
            sx += weight * (col + 0.5 - 20);
            sy += weight * (row + 0.5 - 20);
        }
    ASSERT_GT(sum, 0) << "frame " << k << " is empty";
    x = sx / sum;
    y = sy / sum;
}

}  // namespace

TEST(ArtworkSheets, BackgroundIsAnOpaquePanelOfTheEditorsSize) {
    auto background = sheet("texture");
    ASSERT_NE(background, nullptr);
    ASSERT_EQ(background->getWidth(), 480u);
    ASSERT_EQ(background->getHeight(), 110u);
    for (unsigned i = 0; i < 480 * 110; ++i) ASSERT_EQ(channel(background->getPixels()[i], 24), 255u) << "pixel " << i;
}

TEST(ArtworkSheets, CommonSheetIsPremultipliedAndTheLogoTakesTheTint) {
    auto common = sheet("commonTextures");
    ASSERT_NE(common, nullptr);
    ASSERT_EQ(common->getWidth(), 600u);
    ASSERT_EQ(common->getHeight(), 480u);
    const std::uint32_t* pixels = common->getPixels();
    for (unsigned i = 0; i < 600 * 480; ++i) {
        const unsigned a = channel(pixels[i], 24);
        ASSERT_TRUE(channel(pixels[i], 16) <= a && channel(pixels[i], 8) <= a && channel(pixels[i], 0) <= a)
            << "pixel " << i % 600 << "," << i / 600 << " is not premultiplied";
    }
    EXPECT_EQ(channel(pixels[40 * 600 + 360], 24), 255u) << "the knob body's centre";
    unsigned lettering = 0;
    for (int y = 50; y < 80; ++y)
        for (int x = 422; x < 512; ++x) {
            const std::uint32_t word = pixels[y * 600 + x];
            // Grey only: the frame's accent colour multiplies it into the logo's colour.
            ASSERT_EQ(channel(word, 16), channel(word, 8));
            ASSERT_EQ(channel(word, 8), channel(word, 0));
            lettering += channel(word, 16) > 200;
        }
    EXPECT_GT(lettering, 100u);
}

TEST(ArtworkSheets, PointerTurnsClockwiseThroughTheTopFromLowerLeftToLowerRight) {
    auto common = sheet("commonTextures");
    ASSERT_NE(common, nullptr);
    double x0, y0, xMid, yMid, x95, y95;
    pointerCentre(*common, 0, x0, y0);
    pointerCentre(*common, 48, xMid, yMid);
    pointerCentre(*common, 95, x95, y95);
    EXPECT_LT(x0, -5);
    EXPECT_GT(y0, 5);
    EXPECT_GT(x95, 5);
    EXPECT_GT(y95, 5);
    EXPECT_LT(yMid, -8);
    EXPECT_NEAR(xMid, 0, 1.5);
    // Adjacent frames are close enough to cross-fade: the stroke moves under a pixel.
    for (int k = 0; k + 1 < 96; ++k) {
        double xa, ya, xb, yb;
        pointerCentre(*common, k, xa, ya);
        pointerCentre(*common, k + 1, xb, yb);
        const double step = (xb - xa) * (xb - xa) + (yb - ya) * (yb - ya);
        EXPECT_GT(step, 0.0) << k;
        EXPECT_LT(step, 1.0) << k;
    }
}
