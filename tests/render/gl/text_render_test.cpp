// Text on screen: grey text lights its glyph box only, LCD text writes each
// channel on its own, and fonts follow the desktop's text settings.
#include "gl_harness.h"
#include "vera_face.h"

#include "render/font.h"
#include "render/shader.h"

#include <cmath>

using namespace Paintwell;
using namespace PaintwellTest;

namespace {

class TextRenderTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        font = device()->createFontFromMemory(veraFace().data(), veraFace().size(), 10);
        ASSERT_NE(font, nullptr);
    }
    void TearDown() override {
        releaseFont(font);
        GLTest::TearDown();
    }

    Frame drawOn(std::uint32_t background, const char* text, std::uint32_t colour, float& width) {
        return render([&](Context* context) {
            {
                Shader fill(context, BlendNone, CombineColor);
                context->drawQuad(makeQuad(0, 0, kWidth, kHeight, 0, 0, background));
            }
            width = drawText(font, context, text, -1, 10, 30, colour, false);
        });
    }

    Font* font = nullptr;
};

}  // namespace

TEST_F(TextRenderTest, GreyTextInksOnlyItsOwnBox) {
    setTextMode(false, true);
    float width = 0;
    Frame frame = drawOn(0xFF000000, "Hello", 0xFFFFFFFF, width);
    EXPECT_NEAR(width, measureText(font, "Hello", -1), 1e-4);
    int brightest = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            int value = channel(frame.at(x, y), 1);
            bool inside = x >= 9 && x <= 10 + width + 1 && y >= 30 - 14 && y <= 30 + 4;
            if (!inside) {
                ASSERT_EQ(value, 0) << x << "," << y;
            }
            brightest = std::max(brightest, value);
            // Grey text keeps the three channels together.
            ASSERT_EQ(channel(frame.at(x, y), 0), value);
            ASSERT_EQ(channel(frame.at(x, y), 2), value);
        }
    }
    EXPECT_GT(brightest, 200);
}

TEST_F(TextRenderTest, LcdTextDarkensOnlyTheChannelsTheColourLacks) {
    setTextMode(true, true);
    float width = 0;
    Frame frame = drawOn(0xFFFFFFFF, "Hello", 0xFFFF0000, width);
    int darkestGreen = 255, darkestRed = 255;
    bool channelsDiffer = false;
    for (int y = 10; y < 40; ++y) {
        for (int x = 5; x < 10 + int(width) + 4; ++x) {
            std::uint32_t p = frame.at(x, y);
            darkestRed = std::min(darkestRed, channel(p, 2));
            darkestGreen = std::min(darkestGreen, channel(p, 1));
            channelsDiffer = channelsDiffer || channel(p, 1) != channel(p, 0);
        }
    }
    EXPECT_GE(darkestRed, 254);
    EXPECT_LT(darkestGreen, 80);
    // Each channel samples the atlas a third of a pixel apart.
    EXPECT_TRUE(channelsDiffer);
}

TEST_F(TextRenderTest, UnderlineIsOpaqueAcrossTheText) {
    setTextMode(false, true);
    Frame frame = render([&](Context* context) {
        Shader fill(context, BlendNone, CombineColor);
        context->drawQuad(makeQuad(0, 0, kWidth, kHeight, 0, 0, 0xFF000000));
        drawText(font, context, "__ __", -1, 10, 30, 0x800000FF, true);
    });
    // The pixel row whose centre the one-pixel line covers.
    int row = int(std::floor(30 + font->underlineOffset + 0.5f));
    EXPECT_TRUE(rgbNear(frame.at(12, row), 0xFF0000FF, 1));
    EXPECT_TRUE(rgbNear(frame.at(20, row), 0xFF0000FF, 1));
    EXPECT_TRUE(rgbNear(frame.at(8, row), 0xFF000000, 0));
}
