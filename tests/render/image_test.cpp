// Images repack decoder output into pixel words and hand it to a device;
// the PNG-to-texture path does the same without throwing. A recording device
// stands in for the GPU.
#include "png_writer.h"
#include "render/device.h"
#include "render/exception.h"
#include "render/image.h"
#include "render/png_texture.h"
#include "render/texture.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using PngTest::Bytes;

struct Record {
    int created = 0, uploads = 0, released = 0, alive = 0;
    bool failCreate = false, failUpload = false;
};

class RecordingTexture : public Paintwell::StaticTexture {
public:
    RecordingTexture(Record& r, unsigned w, unsigned h) : record(r), width(w), height(h) { ++record.alive; }
    ~RecordingTexture() override { --record.alive; }
    void release() override
    {
        ++record.released;
        delete this;
    }
    void upload(const std::uint32_t* pixels, unsigned rowLength, unsigned x, unsigned y, unsigned w,
                unsigned h) override
    {
        if (record.failUpload) throw Paintwell::Exception();
        ++record.uploads;
        EXPECT_EQ(rowLength, width);
        EXPECT_EQ(x, 0u);
        EXPECT_EQ(y, 0u);
        EXPECT_EQ(w, width);
        EXPECT_EQ(h, height);
        texels.assign(pixels, pixels + std::size_t{rowLength} * h);
    }

    Record& record;
    unsigned width, height;
    std::vector<std::uint32_t> texels;
};

class RecordingDevice : public Paintwell::Device {
public:
    void release() override { delete this; }
    Paintwell::StaticTexture* createTextureFromPNG(const void* bytes, std::size_t size) override
    {
        return Paintwell::createTextureFromPNG(*this, bytes, size);
    }
    Paintwell::StaticTexture* createStaticTexture(unsigned width, unsigned height) override
    {
        if (record.failCreate) throw Paintwell::Exception();
        ++record.created;
        return new RecordingTexture(record, width, height);
    }
    void render(Paintwell::Scene*) override {}

    Record record;
};

// Two pixels of known colour in an 8-bit RGBA file.
Bytes twoPixels()
{
    auto image = PngTest::makeSampleImage(2, 1, 6, 8, 0, 1);
    image.samples = {0x11, 0x22, 0x33, 0x44, 0xFF, 0x00, 0x80, 0x01};
    Bytes raw = PngTest::scanlines(image);
    return PngTest::assemblePng(image, PngTest::zlibWrap(PngTest::deflateFixed(raw), raw));
}

TEST(Image, RepacksPixelsIntoARGBWords)
{
    Bytes file = twoPixels();
    Wispkit::Image image(file.data(), file.size());
    ASSERT_EQ(image.getWidth(), 2u);
    ASSERT_EQ(image.getHeight(), 1u);
    EXPECT_EQ(image.getPixels()[0], 0x44112233u);
    EXPECT_EQ(image.getPixels()[1], 0x01FF0080u);
}

TEST(Image, RejectsWhatIsNotAWholePng)
{
    Bytes file = twoPixels();
    EXPECT_THROW(Wispkit::Image(nullptr, 100), Wispkit::Image::Exception);
    EXPECT_THROW(Wispkit::Image(file.data(), 3), Wispkit::Image::Exception);
    Bytes wrong = file;
    wrong[1] = 'p';
    EXPECT_THROW(Wispkit::Image(wrong.data(), wrong.size()), Wispkit::Image::Exception);
    // Right magic, but the decoder fails (cut inside the image data).
    EXPECT_THROW(Wispkit::Image(file.data(), 45), Wispkit::Image::Exception);
    // Right first four bytes, wrong rest of the signature.
    wrong = file;
    wrong[7] = 0;
    EXPECT_THROW(Wispkit::Image(wrong.data(), wrong.size()), Wispkit::Image::Exception);
}

TEST(Image, MakesTexturesForAnyNumberOfDevices)
{
    Bytes file = PngTest::smallPng(7, 5);
    Wispkit::Image image(file.data(), file.size());
    std::unique_ptr<RecordingDevice> a(new RecordingDevice), b(new RecordingDevice);
    auto* ta = static_cast<RecordingTexture*>(image.createTexture(a.get()));
    auto* tb = static_cast<RecordingTexture*>(image.createTexture(b.get()));
    ASSERT_NE(ta, nullptr);
    ASSERT_NE(tb, nullptr);
    EXPECT_EQ(ta->width, 7u);
    EXPECT_EQ(ta->height, 5u);
    EXPECT_EQ(ta->texels, std::vector<std::uint32_t>(image.getPixels(), image.getPixels() + 35));
    EXPECT_EQ(tb->texels, ta->texels);
    EXPECT_EQ(a->record.uploads, 1);
    ta->release();
    tb->release();
    EXPECT_EQ(a->record.alive + b->record.alive, 0);
}

TEST(Image, ATextureThatFailsToFillIsReleased)
{
    Bytes file = PngTest::smallPng();
    Wispkit::Image image(file.data(), file.size());
    RecordingDevice device;
    device.record.failUpload = true;
    EXPECT_THROW(image.createTexture(&device), Paintwell::Exception);
    EXPECT_EQ(device.record.created, 1);
    EXPECT_EQ(device.record.released, 1);
    EXPECT_EQ(device.record.alive, 0);
}

TEST(PngTexture, NullForEveryFailureAndNoException)
{
    Bytes file = twoPixels();
    RecordingDevice device;
    EXPECT_EQ(device.createTextureFromPNG(nullptr, 10), nullptr);
    EXPECT_EQ(device.createTextureFromPNG(file.data(), 3), nullptr);
    Bytes wrong = file;
    wrong[0] = 0x88;
    EXPECT_EQ(device.createTextureFromPNG(wrong.data(), wrong.size()), nullptr);
    EXPECT_EQ(device.createTextureFromPNG(file.data(), file.size() - 14), nullptr);
    EXPECT_EQ(device.record.created, 0);

    device.record.failCreate = true;
    EXPECT_EQ(device.createTextureFromPNG(file.data(), file.size()), nullptr);
    device.record.failCreate = false;
    device.record.failUpload = true;
    EXPECT_EQ(device.createTextureFromPNG(file.data(), file.size()), nullptr);
    EXPECT_EQ(device.record.released, 1);
    EXPECT_EQ(device.record.alive, 0);
}

TEST(PngTexture, HoldsTheSamePixelsAsAnImage)
{
    Bytes file = twoPixels();
    RecordingDevice device;
    auto* texture = static_cast<RecordingTexture*>(device.createTextureFromPNG(file.data(), file.size()));
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->texels, (std::vector<std::uint32_t>{0x44112233u, 0x01FF0080u}));
    texture->release();
}

}  // namespace
