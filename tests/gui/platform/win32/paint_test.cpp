// What the wrapper's window shows: the tree drawn through GL (the frame read
// back before it is shown), or black painted with GDI when no usable GL
// device can be had.
#include "host_window.h"

#include "gui/platform/native_window.h"

#include "render/diagnostics.h"
#include "render/gl_api.h"
#include "render/test_hooks.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using namespace WispkitTest;

COLORREF pixel(HWND hwnd, int x, int y) {
    HDC dc = GetDC(hwnd);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
    return colour;
}

void paintNow(HWND hwnd) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    pumpPending();
}

void quiet(Paintwell::ReportKind, const char*, const char*) {}

// Wine cannot read back what GDI draws on a window once GL has given it a
// pixel format, so the black fill is read from a window GL has not touched.
TEST(WrapperPaint, TheFallbackFillsTheWholeClientAreaBlack) {
    HostWindow window(false, false);
    HDC dc = GetDC(window.child);
    RECT all{0, 0, 360, 140};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ReleaseDC(window.child, dc);
    ASSERT_EQ(pixel(window.child, 240, 55), RGB(255, 255, 255));

    Wispkit::platform::paintBlack(window.wrapper->nativeWindow());
    for (POINT at : {POINT{0, 0}, POINT{240, 55}, POINT{359, 139}})
        EXPECT_EQ(pixel(window.child, at.x, at.y), RGB(0, 0, 0)) << at.x << "," << at.y;
}

TEST(WrapperPaint, WithoutUsableGLAPaintLeavesNoDeviceAndTheNextPaintTriesAgain) {
    HostWindow window(false, false);
    Paintwell::setReportObserver(quiet);
    Paintwell::testing::setExtensionOverride("");
    paintNow(window.child);
    EXPECT_EQ(window.wrapper->currentDevice(), nullptr);
    paintNow(window.child);
    EXPECT_EQ(window.wrapper->currentDevice(), nullptr);

    Paintwell::testing::setExtensionOverride(nullptr);
    paintNow(window.child);
    EXPECT_NE(window.wrapper->currentDevice(), nullptr);
    Paintwell::setReportObserver(nullptr);
}

struct Frame {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgba;

    // Rows come bottom up from GL.
    COLORREF at(int x, int y) const {
        const std::uint8_t* p = &rgba[4 * ((height - 1 - y) * width + x)];
        return RGB(p[0], p[1], p[2]);
    }
};

void readFrame(void* user, int width, int height) {
    auto* frame = static_cast<Frame*>(user);
    frame->width = width;
    frame->height = height;
    frame->rgba.assign(4u * width * height, 0);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, frame->rgba.data());
}

TEST(WrapperPaint, ThePadsDrawnByTheTreeShowUpInTheWindow) {
    HostWindow window;
    Frame frame;
    Paintwell::testing::setFrameProbe(readFrame, &frame);
    paintNow(window.child);
    Paintwell::testing::setFrameProbe(nullptr, nullptr);
    ASSERT_NE(window.wrapper->currentDevice(), nullptr);
    ASSERT_EQ(frame.width, 360);
    ASSERT_EQ(frame.height, 140);
    const COLORREF blue = RGB(0x30, 0x70, 0xC0), red = RGB(0xC0, 0x50, 0x30);
    EXPECT_EQ(frame.at(20, 20), blue);
    EXPECT_EQ(frame.at(159, 119), blue);
    EXPECT_NE(frame.at(160, 119), blue);
    EXPECT_NE(frame.at(19, 20), blue);
    EXPECT_NE(frame.at(20, 19), blue);
    EXPECT_EQ(frame.at(200, 20), red);
    EXPECT_EQ(frame.at(339, 119), red);
    EXPECT_NE(frame.at(340, 119), red);
    window.wrapper->releaseResources();
    EXPECT_EQ(window.wrapper->currentDevice(), nullptr);
}

}  // namespace
