// Fonts and images from the module's resources and from PNG bytes, drawn
// through a real device.
#include "gl_harness.h"

#include "png_writer.h"
#include "gui/image.h"
#include "gui/load_image.h"
#include "render/font.h"
#include "render/gl_texture.h"
#include "render/shader.h"

using namespace Paintwell;
using namespace PaintwellTest;

namespace {

using ResourceTest = GLTest;

// Draws the texture one texel per pixel at (x, y) with BlendNone, so the
// frame shows its colour channels unchanged.
void drawTexture(Context* context, Texture* texture, float x, float y, float width, float height) {
    Shader shader(context, BlendNone, CombineModulate, texture);
    context->drawQuad(makeQuad(x, y, width, height, 0, 0, 0xFFFFFFFF));
}

void expectShowsImage(const Frame& frame, const Wispkit::Image& image, int x0, int y0) {
    for (unsigned y = 0; y < image.getHeight(); ++y)
        for (unsigned x = 0; x < image.getWidth(); ++x)
            EXPECT_TRUE(rgbNear(frame.at(x0 + int(x), y0 + int(y)), image.getPixels()[y * image.getWidth() + x], 1))
                << x << "," << y;
}

}  // namespace

TEST_F(ResourceTest, TheEmbeddedFaceBuildsAtBothEditorSizes) {
    for (float size : {8.0f, 10.0f}) {
        Font* font = device()->createFont("Vera", size);
        ASSERT_NE(font, nullptr) << size;
        auto* atlas = dynamic_cast<GLTexture*>(static_cast<Texture*>(font->atlas));
        ASSERT_NE(atlas, nullptr);
        EXPECT_EQ(atlas->width(), 477u);
        EXPECT_EQ(atlas->height(), 431u);
        EXPECT_EQ(font->device, static_cast<Device*>(device()));
        releaseFont(font);
    }
    EXPECT_EQ(device()->createFont("NoSuchFace", 8), nullptr);
    EXPECT_EQ(device()->createFont(nullptr, 8), nullptr);
}

TEST_F(ResourceTest, MissingImageResourcesGiveNull) {
    EXPECT_EQ(Wispkit::loadImage(nullptr), nullptr);
    EXPECT_EQ(Wispkit::loadImage("noSuchSheet"), nullptr);
}

TEST_F(ResourceTest, PngBytesAndImagesMakeTexturesThatShowTheirPixels) {
    PngTest::Bytes png = PngTest::smallPng(7, 5);
    Wispkit::Image image(png.data(), png.size());
    int before = device()->liveTextureCount();
    StaticTexture* direct = device()->createTextureFromPNG(png.data(), png.size());
    ASSERT_NE(direct, nullptr);
    StaticTexture* viaImage = image.createTexture(device());
    ASSERT_NE(viaImage, nullptr);
    Frame frame = render([&](Context* context) {
        drawTexture(context, direct, 4, 4, 7, 5);
        drawTexture(context, viaImage, 20, 4, 7, 5);
    });
    expectShowsImage(frame, image, 4, 4);
    expectShowsImage(frame, image, 20, 4);
    direct->release();
    viaImage->release();
    EXPECT_EQ(device()->liveTextureCount(), before);
}

TEST_F(ResourceTest, BytesThatAreNotAPngGiveNullAndNoTexture) {
    int before = device()->liveTextureCount();
    PngTest::Bytes png = PngTest::smallPng(4, 3);
    EXPECT_EQ(device()->createTextureFromPNG(png.data(), 3), nullptr);
    EXPECT_EQ(device()->createTextureFromPNG(nullptr, 0), nullptr);
    PngTest::Bytes wrongMagic = png;
    wrongMagic[1] = 'Q';
    EXPECT_EQ(device()->createTextureFromPNG(wrongMagic.data(), wrongMagic.size()), nullptr);
    PngTest::Bytes cut(png.begin(), png.begin() + long(png.size()) - 20);
    EXPECT_EQ(device()->createTextureFromPNG(cut.data(), cut.size()), nullptr);
    EXPECT_EQ(device()->liveTextureCount(), before);
}
