// PNG images reach the screen: an Image's texture and the device's own
// PNG-to-texture path both draw the decoded pixels one texel per pixel.
#include "gl_harness.h"

#include "png_writer.h"
#include "gui/image.h"
#include "render/quad.h"
#include "render/shader.h"
#include "render/texture.h"

using namespace Paintwell;
using namespace PaintwellTest;

namespace {

// Opaque 3x2 RGB image with six distinct colours, interlaced to take the
// longest decoding path.
PngTest::Bytes sixColours(std::vector<std::uint32_t>& expected) {
    auto image = PngTest::makeSampleImage(3, 2, 2, 8, 1, 1);
    image.samples = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0, 0, 255, 255, 40, 80, 120};
    expected = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00, 0xFF00FFFF, 0xFF285078};
    PngTest::Bytes raw = PngTest::scanlines(image);
    return PngTest::assemblePng(image, PngTest::zlibWrap(PngTest::deflateFixed(raw), raw));
}

void expectDrawn(Device* device, Texture* texture, const std::vector<std::uint32_t>& expected) {
    Frame frame = renderFrame(device, [texture](Context* context) {
        Shader shader(context, BlendNone, CombineModulate, texture);
        context->drawQuad(makeQuad(10, 12, 3, 2, 0, 0, 0xFFFFFFFF));
    });
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_TRUE(rgbNear(frame.at(10 + x, 12 + y), expected[y * 3 + x], 1)) << "at " << x << "," << y;
}

}  // namespace

using PngTextureTest = GLTest;

TEST_F(PngTextureTest, ImageTextureShowsTheDecodedPixels) {
    std::vector<std::uint32_t> expected;
    PngTest::Bytes file = sixColours(expected);
    Wispkit::Image image(file.data(), file.size());
    StaticTexture* texture = image.createTexture(device());
    ASSERT_NE(texture, nullptr);
    expectDrawn(device(), texture, expected);
    texture->release();
}

TEST_F(PngTextureTest, DeviceMakesTexturesFromPngBytesOrNull) {
    std::vector<std::uint32_t> expected;
    PngTest::Bytes file = sixColours(expected);
    StaticTexture* texture = device()->createTextureFromPNG(file.data(), file.size());
    ASSERT_NE(texture, nullptr);
    expectDrawn(device(), texture, expected);
    texture->release();
    EXPECT_EQ(device()->createTextureFromPNG(file.data(), 3), nullptr);
    EXPECT_EQ(device()->createTextureFromPNG(file.data(), file.size() - 20), nullptr);
}
