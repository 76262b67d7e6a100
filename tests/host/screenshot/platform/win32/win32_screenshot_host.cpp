// The screenshot host on Windows: a top-level window whose client area is the
// editor's size and a panel filling it that the editor opens in, input
// messages sent to the editor's child window, the message loop (and the
// host's pump) running it, and the editor's pixels read back from its window.
#include "screenshot_host.h"
#include "win32_test_window.h"

#include <windows.h>

#include <GL/gl.h>

#include <thread>

namespace EditorShots {

using Win32Test::openMenuOf;
using Win32Test::pumpFor;

constexpr char kHostClass[] = "TallowScreenshotHost";

struct ScreenshotHost::State {
    HWND host = nullptr;
    HWND panel = nullptr;
    int x = 0, y = 0;  // the pointer, in the editor's coordinates
    WPARAM buttons = 0;

    HWND editor() const { return FindWindowExA(panel, nullptr, "WispkitWinwrapper", nullptr); }
    void send(UINT message) { SendMessageA(editor(), message, buttons, MAKELPARAM(x, y)); }
    // A child window of the host's class: destroying a top-level window
    // costs Wine two seconds, a child nothing.
    void openPanel() {
        panel = CreateWindowExA(0, kHostClass, "panel", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, kWidth, kHeight,
                                host, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
};

ScreenshotHost::ScreenshotHost() : state(new State) {
    // The real pointer stays away: only the messages sent here move it.
    SetCursorPos(1010, 750);
    state->host = Win32Test::openHostWindow(kHostClass, BLACK_BRUSH, 60, 60, kWidth, kHeight);
    if (state->host != nullptr) state->openPanel();
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

void* ScreenshotHost::parent() const { return state->panel; }

void ScreenshotHost::releaseParent() {
    if (state->panel != nullptr) DestroyWindow(state->panel);
    state->openPanel();
    pumpFor(5);
}

void ScreenshotHost::showHost(bool shown) {
    ShowWindow(state->host, shown ? SW_SHOW : SW_HIDE);
    pumpFor(5);
}

Embedded ScreenshotHost::embedded() const {
    Embedded found;
    for (HWND child = FindWindowExA(state->panel, nullptr, nullptr, nullptr); child != nullptr;
         child = FindWindowExA(state->panel, child, nullptr, nullptr))
        ++found.windows;
    found.shown = IsWindowVisible(state->editor()) != FALSE;
    return found;
}

void ScreenshotHost::settle(const Pump& pump, unsigned milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    do {
        pumpFor(2);
        if (pump) pump();
    } while (GetTickCount64() < end);
}

void ScreenshotHost::moveTo(const Pump& pump, int x, int y) {
    state->x = x;
    state->y = y;
    state->send(WM_MOUSEMOVE);
    settle(pump, 40);
}

void ScreenshotHost::leftButton(const Pump& pump, bool down) {
    state->buttons = down ? MK_LBUTTON : 0;
    state->send(down ? WM_LBUTTONDOWN : WM_LBUTTONUP);
    settle(pump, 40);
}

bool ScreenshotHost::chooseLearn(const Pump& pump, int x, int y) {
    moveTo(pump, x, y);
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
    settle(pump, 100);
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
