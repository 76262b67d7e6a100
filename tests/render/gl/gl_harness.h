// Shared pieces of the renderer's GL tests: a window with a device, a scene
// made from a lambda, the finished frame read back before the swap, and the
// renderer's reports collected instead of printed.
#pragma once

#include "render/context.h"
#include "render/diagnostics.h"
#include "render/gl_device.h"
#include "render/scene.h"
#include "test_window.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace PaintwellTest {

/// A read-back frame, 0xAARRGGBB, rows top to bottom.
struct Frame {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

class LambdaScene : public Paintwell::Scene {
public:
    explicit LambdaScene(std::function<void(Paintwell::Context*)> draw) : drawFunction(std::move(draw)) {}
    void draw(Paintwell::Context* context) override { drawFunction(context); }

private:
    std::function<void(Paintwell::Context*)> drawFunction;
};

/// Renders one frame through device and returns what it looked like just
/// before the swap.
Frame renderFrame(Paintwell::Device* device, const std::function<void(Paintwell::Context*)>& draw);

/// Texts the renderer reported since the last clearReports().
struct Report {
    Paintwell::ReportKind kind;
    std::string caption;
    std::string text;
};
const std::vector<Report>& reports();
void clearReports();
void collectReports();

/// A window with a device, released and checked for leaks after each test.
class GLTest : public ::testing::Test {
public:
    static constexpr int kWidth = 128;
    static constexpr int kHeight = 96;

    /// The window every test of the process draws into.
    static TestWindow& sharedWindow();

protected:
    void SetUp() override;
    void TearDown() override;

    Paintwell::GLDevice* device() const { return glDevice; }
    Frame render(const std::function<void(Paintwell::Context*)>& draw) { return renderFrame(glDevice, draw); }
    /// A texture of the given size filled with one pixel word per texel.
    Paintwell::StaticTexture* texture(unsigned width, unsigned height, const std::vector<std::uint32_t>& pixels);
    Paintwell::StaticTexture* solidTexture(std::uint32_t colour);
    void releaseDevice();

    TestWindow* window = nullptr;
    Paintwell::GLDevice* glDevice = nullptr;
};

/// Channel c (0 blue, 1 green, 2 red, 3 alpha) of a pixel word.
inline int channel(std::uint32_t pixel, int c) { return static_cast<int>((pixel >> (8 * c)) & 0xFF); }

/// Whether two pixel words differ by at most tolerance in R, G and B.
::testing::AssertionResult rgbNear(std::uint32_t actual, std::uint32_t expected, int tolerance);

}  // namespace PaintwellTest
