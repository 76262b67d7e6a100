// The screenshot host on Windows: a top-level window whose client area is the
// editor's size, input messages sent to the editor's child window, the
// message loop as the pump, and the editor's pixels read back from its window.
#include "screenshot_host.h"

#include <windows.h>

#include <GL/gl.h>

#include <thread>

namespace EditorShots {

namespace {

void pumpFor(unsigned milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

// The visible popup menu window of the given thread, or null.
HWND openMenuOf(DWORD thread) {
    HWND found = nullptr;
    EnumThreadWindows(
        thread,
        [](HWND hwnd, LPARAM result) -> BOOL {
            char name[16] = {};
            GetClassNameA(hwnd, name, sizeof name);
            if (std::string(name) != "#32768" || !IsWindowVisible(hwnd)) return TRUE;
            *reinterpret_cast<HWND*>(result) = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

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
    WNDCLASSEXA info{};
    info.cbSize = sizeof info;
    info.lpfnWndProc = DefWindowProcA;
    info.hInstance = GetModuleHandleA(nullptr);
    info.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    info.lpszClassName = "TallowScreenshotHost";
    RegisterClassExA(&info);
    RECT rect{0, 0, kWidth, kHeight};
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE;
    AdjustWindowRect(&rect, style, FALSE);
    state->host = CreateWindowExA(0, "TallowScreenshotHost", "host", style, 60, 60, rect.right - rect.left,
                                  rect.bottom - rect.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
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
