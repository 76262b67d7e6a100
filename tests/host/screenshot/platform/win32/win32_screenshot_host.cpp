// The screenshot host on Windows: a top-level window whose client area is the
// editor's size, input messages sent to the editor's child window, the
// message loop as the pump, and the editor's pixels read back from its window.
#include "screenshot_host.h"
#include "win32_test_window.h"

#include <windows.h>

#include <GL/gl.h>

#include <thread>

namespace EditorShots {

using Win32Test::openMenuOf;
using Win32Test::pumpFor;

struct ScreenshotHost::State {
    HWND host = nullptr;
    int x = 0, y = 0;  // the pointer, in the editor's coordinates
    WPARAM buttons = 0;

    HWND editor() const { return FindWindowExA(host, nullptr, "WispkitWinwrapper", nullptr); }
    void send(UINT message) { SendMessageA(editor(), message, buttons, MAKELPARAM(x, y)); }
};

ScreenshotHost::ScreenshotHost() : state(new State) {
    // The real pointer stays away: only the messages sent here move it.
    SetCursorPos(1010, 750);
    state->host = Win32Test::openHostWindow("TallowScreenshotHost", BLACK_BRUSH, 60, 60, kWidth, kHeight);
    SetForegroundWindow(state->host);
    pumpFor(100);
}

ScreenshotHost::~ScreenshotHost() {
    if (state->host != nullptr) DestroyWindow(state->host);
    delete state;
}

std::string ScreenshotHost::problem() const {
    return state->host == nullptr ? "the host window could not be created" : "";
}

void* ScreenshotHost::parent() const { return state->host; }

void ScreenshotHost::settle(const HostTest::Effect&, unsigned milliseconds) { pumpFor(milliseconds); }

void ScreenshotHost::moveTo(const HostTest::Effect& effect, int x, int y) {
    state->x = x;
    state->y = y;
    state->send(WM_MOUSEMOVE);
    settle(effect, 40);
}

void ScreenshotHost::leftButton(const HostTest::Effect& effect, bool down) {
    state->buttons = down ? MK_LBUTTON : 0;
    state->send(down ? WM_LBUTTONDOWN : WM_LBUTTONUP);
    settle(effect, 40);
}

bool ScreenshotHost::chooseLearn(const HostTest::Effect& effect, int x, int y) {
    moveTo(effect, x, y);
    // The menu runs its own loop inside the right click: a second thread
    // waits for it and types the item's key.
    bool shown = false;
    const DWORD thread = GetCurrentThreadId();
    HWND target = state->editor();
    std::thread answer([&] {
        for (int wait = 0; wait < 400 && !shown; ++wait) {
            Sleep(5);
            shown = openMenuOf(thread) != nullptr;
        }
        if (shown) PostMessageA(target, WM_CHAR, 'l', 0);
    });
    state->buttons = MK_RBUTTON;
    state->send(WM_RBUTTONDOWN);
    answer.join();
    state->buttons = 0;
    state->send(WM_RBUTTONUP);
    settle(effect, 100);
    return shown;
}

// Under Wine neither the screen's copy of a GL child window nor its front
// buffer read through another context holds what GL drew (both read black);
// the window's back buffer does, as Wine's Mesa swaps by copying. It is read
// through a context of our own on the editor's window (whose pixel format
// is the editor's); the editor restores its own context whenever it draws.
std::vector<std::uint32_t> ScreenshotHost::grab() {
    HWND editor = state->editor();
    HDC dc = GetDC(editor);
    HGLRC context = wglCreateContext(dc);
    HDC previousDc = wglGetCurrentDC();
    HGLRC previous = wglGetCurrentContext();
    std::vector<std::uint32_t> pixels;
    if (context != nullptr && wglMakeCurrent(dc, context)) {
        std::vector<unsigned char> rgba(std::size_t(kWidth) * kHeight * 4);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        if (glGetError() == GL_NO_ERROR) {
            // GL's rows run from the bottom.
            for (int y = kHeight - 1; y >= 0; --y)
                for (int x = 0; x < kWidth; ++x) {
                    const unsigned char* p = &rgba[(std::size_t(y) * kWidth + x) * 4];
                    pixels.push_back(std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | p[2]);
                }
        }
    }
    wglMakeCurrent(previousDc, previous);
    if (context != nullptr) wglDeleteContext(context);
    ReleaseDC(editor, dc);
    return pixels;
}

std::string ScreenshotHost::textMode() const {
    BOOL smoothing = FALSE;
    UINT type = 0;
    SystemParametersInfoA(SPI_GETFONTSMOOTHING, 0, &smoothing, 0);
    SystemParametersInfoA(SPI_GETFONTSMOOTHINGTYPE, 0, &type, 0);
    return smoothing && type == FE_FONTSMOOTHINGCLEARTYPE ? "LCD" : "grey";
}

}  // namespace EditorShots
