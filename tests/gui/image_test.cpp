// Images repack decoder output into pixel words and make textures from them
// for any device. A recording device stands in for the GPU.
#include "gui/image.h"
#include "recording_device.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

namespace {

using namespace RecordingTest;

TEST(Image, RepacksPixelsIntoARGBWords) {
    Bytes file = twoPixels();
    Wispkit::Image image(file.data(), file.size());
    ASSERT_EQ(image.getWidth(), 2u);
    ASSERT_EQ(image.getHeight(), 1u);
    EXPECT_EQ(image.getPixels()[0], 0x44112233u);
    EXPECT_EQ(image.getPixels()[1], 0x01FF0080u);
}

TEST(Image, RejectsWhatIsNotAWholePng) {
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

TEST(Image, MakesTexturesForAnyNumberOfDevices) {
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

TEST(Image, ATextureThatFailsToFillIsReleased) {
    Bytes file = PngTest::smallPng();
    Wispkit::Image image(file.data(), file.size());
    RecordingDevice device;
    device.record.failUpload = true;
    EXPECT_THROW(image.createTexture(&device), Paintwell::Exception);
    EXPECT_EQ(device.record.created, 1);
    EXPECT_EQ(device.record.released, 1);
    EXPECT_EQ(device.record.alive, 0);
}

// Every file of the PNG fuzzer's seed corpus decodes into an image.
TEST(Image, EveryFuzzSeedMakesAnImage) {
    int seeds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TALLOW_SOURCE_DIR "/fuzz/seeds/png")) {
        SCOPED_TRACE(entry.path().filename().string());
        std::ifstream in(entry.path(), std::ios::binary);
        const Bytes bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        EXPECT_NO_THROW(Wispkit::Image(bytes.data(), bytes.size()));
        ++seeds;
    }
    EXPECT_GE(seeds, 40);
}

}  // namespace
