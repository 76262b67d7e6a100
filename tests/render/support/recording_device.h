// A device that records what is asked of it, standing in for the GPU in the
// tests of the PNG-to-texture paths, and a small file of known pixels.
//
// Threads: the test's own. Ownership: textures belong to whoever the device
// handed them to and delete themselves on release.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "png_writer.h"
#include "render/device.h"
#include "render/exception.h"
#include "render/png_texture.h"
#include "render/texture.h"

namespace RecordingTest {

using PngTest::Bytes;

struct Record {
    int created = 0, uploads = 0, released = 0, alive = 0;
    bool failCreate = false, failUpload = false;
};

class RecordingTexture : public Paintwell::StaticTexture {
public:
    RecordingTexture(Record& r, unsigned w, unsigned h) : record(r), width(w), height(h) { ++record.alive; }
    ~RecordingTexture() override { --record.alive; }
    void release() override {
        ++record.released;
        delete this;
    }
    void upload(const std::uint32_t* pixels, unsigned rowLength, unsigned x, unsigned y, unsigned w,
                unsigned h) override {
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
    Paintwell::StaticTexture* createTextureFromPNG(const void* bytes, std::size_t size) override {
        return Paintwell::createTextureFromPNG(*this, bytes, size);
    }
    Paintwell::StaticTexture* createStaticTexture(unsigned width, unsigned height) override {
        if (record.failCreate) throw Paintwell::Exception();
        ++record.created;
        return new RecordingTexture(record, width, height);
    }
    void render(Paintwell::Scene*) override {}

    Record record;
};

// Two pixels of known colour in an 8-bit RGBA file.
inline Bytes twoPixels() {
    auto image = PngTest::makeSampleImage(2, 1, 6, 8, 0, 1);
    image.samples = {0x11, 0x22, 0x33, 0x44, 0xFF, 0x00, 0x80, 0x01};
    Bytes raw = PngTest::scanlines(image);
    return PngTest::assemblePng(image, PngTest::zlibWrap(PngTest::deflateFixed(raw), raw));
}

}  // namespace RecordingTest
