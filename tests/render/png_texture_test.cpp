// The PNG-to-texture path repacks decoder output into pixel words and hands
// it to a device without throwing. A recording device stands in for the GPU.
#include "recording_device.h"

#include <gtest/gtest.h>

namespace {

using namespace RecordingTest;

TEST(PngTexture, NullForEveryFailureAndNoException) {
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

TEST(PngTexture, HoldsTheSamePixelsAsAnImage) {
    Bytes file = twoPixels();
    RecordingDevice device;
    auto* texture = static_cast<RecordingTexture*>(device.createTextureFromPNG(file.data(), file.size()));
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->texels, (std::vector<std::uint32_t>{0x44112233u, 0x01FF0080u}));
    texture->release();
}

}  // namespace
