#include "gl_harness.h"

#include "render/gl_api.h"
#include "render/test_hooks.h"
#include "render/texture.h"

#include <cstdio>
#include <cstdlib>

namespace PaintwellTest {

namespace {

std::vector<Report> collected;

void collect(Paintwell::ReportKind kind, const char* caption, const char* text) {
    collected.push_back(Report{kind, caption ? caption : "", text ? text : ""});
}

void readBack(void* user, int width, int height) {
    auto* frame = static_cast<Frame*>(user);
    frame->width = width;
    frame->height = height;
    std::vector<unsigned char> rgba(static_cast<std::size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    frame->pixels.assign(static_cast<std::size_t>(width) * height, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = &rgba[(static_cast<std::size_t>(height - 1 - y) * width + x) * 4];
            frame->pixels[static_cast<std::size_t>(y) * width + x] =
                0xFF000000u | std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | p[2];
        }
    }
}

}  // namespace

Frame renderFrame(Paintwell::Device* device, const std::function<void(Paintwell::Context*)>& draw) {
    Frame frame;
    LambdaScene scene(draw);
    Paintwell::testing::setFrameProbe(readBack, &frame);
    try {
        device->render(&scene);
    } catch (...) {
        Paintwell::testing::setFrameProbe(nullptr, nullptr);
        throw;
    }
    Paintwell::testing::setFrameProbe(nullptr, nullptr);
    return frame;
}

const std::vector<Report>& reports() { return collected; }

void clearReports() { collected.clear(); }

void collectReports() { Paintwell::setReportObserver(collect); }

// One window serves every test of the process: creating windows is slow
// under Wine, and a device may be created on the same window again.
TestWindow& GLTest::sharedWindow() {
    static TestWindow* shared = new TestWindow(kWidth, kHeight);
    return *shared;
}

void GLTest::SetUp() {
    collectReports();
    clearReports();
    window = &sharedWindow();
    glDevice = new Paintwell::GLDevice(window->native());
}

void GLTest::releaseDevice() {
    if (glDevice) glDevice->release();
    glDevice = nullptr;
}

void GLTest::TearDown() {
    releaseDevice();
    window = nullptr;
    Paintwell::testing::setExtensionOverride(nullptr);
    Paintwell::setReportObserver(nullptr);
}

Paintwell::StaticTexture* GLTest::texture(unsigned width, unsigned height, const std::vector<std::uint32_t>& pixels) {
    Paintwell::StaticTexture* result = glDevice->createStaticTexture(width, height);
    result->upload(pixels.data(), width, 0, 0, width, height);
    return result;
}

Paintwell::StaticTexture* GLTest::solidTexture(std::uint32_t colour) {
    return texture(8, 8, std::vector<std::uint32_t>(64, colour));
}

::testing::AssertionResult rgbNear(std::uint32_t actual, std::uint32_t expected, int tolerance) {
    for (int c = 0; c < 3; ++c) {
        if (std::abs(channel(actual, c) - channel(expected, c)) > tolerance) {
            char text[96];
            std::snprintf(text, sizeof text, "got %08X, expected %08X (tolerance %d)", actual, expected, tolerance);
            return ::testing::AssertionFailure() << text;
        }
    }
    return ::testing::AssertionSuccess();
}

}  // namespace PaintwellTest
