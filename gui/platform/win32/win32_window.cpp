// The wrapper's child window: creation, the window procedure that turns
// messages into the wrapper's calls, and the window's share of the seam
// (timer, capture, repaint, the black fallback).
#include "gui/platform/win32/win32_window.h"

#include "gui/platform/native_window.h"
#include "services/user_prompt.h"

namespace Wispkit::platform {

namespace {

constexpr UINT_PTR kTimerId = 0;
constexpr UINT kTimerPeriod = 10;
// One notch of 120 wheel units is 1.0.
constexpr float kWheelUnit = 0.008333334f;

Winwrapper* wrapperOf(HWND hwnd) { return reinterpret_cast<Winwrapper*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)); }

int keysOf(WPARAM wParam) { return static_cast<int>((wParam >> 2) & 3); }

// Mouse positions are signed: a captured drag goes on left of or above the window.
int lowWord(LPARAM lParam) { return static_cast<short>(LOWORD(lParam)); }

int highWord(LPARAM lParam) { return static_cast<short>(HIWORD(lParam)); }

void mouse(Winwrapper* wrapper, MouseAction action, int button, WPARAM wParam, LPARAM lParam) {
    wrapper->mouseEvent(action, lowWord(lParam), highWord(lParam), button, 0.0f, keysOf(wParam));
}

// The wheel message carries screen coordinates.
void wheel(Winwrapper* wrapper, HWND hwnd, WPARAM wParam, LPARAM lParam) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    float delta = static_cast<short>(HIWORD(wParam)) * kWheelUnit;
    wrapper->mouseEvent(MouseAction::Wheel, lowWord(lParam) - rect.left, highWord(lParam) - rect.top, 0, delta,
                        keysOf(LOWORD(wParam)));
}

void trackLeave(HWND hwnd) {
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = hwnd;
    track.dwHoverTime = 0;
    TrackMouseEvent(&track);
}

void destroyed(Winwrapper* wrapper, HWND hwnd) {
    // The window forgets the wrapper first: nothing the teardown sends to it
    // may reach a half-deleted tree.
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    wrapper->windowGone();
}

}  // namespace

LRESULT CALLBACK wrapperProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Winwrapper* wrapper = wrapperOf(hwnd);
    if (wrapper == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_PAINT:
        ValidateRect(hwnd, nullptr);
        wrapper->paint();
        return 0;
    case WM_DESTROY:
    case WM_MOVE:
    case WM_SIZE: return 0;
    case WM_CLOSE:
        if (wrapper->allowClose()) DestroyWindow(hwnd);
        return 0;
    case WM_NCDESTROY: destroyed(wrapper, hwnd); return 0;
    case WM_COMMAND: wrapper->command(static_cast<unsigned>(wParam)); return 0;
    case WM_TIMER: wrapper->timerTick(); return 0;
    case WM_MOUSEMOVE:
        mouse(wrapper, MouseAction::Move, 0, wParam, lParam);
        trackLeave(hwnd);
        return 0;
    case WM_LBUTTONDOWN: mouse(wrapper, MouseAction::Down, kLeftButton, wParam, lParam); return 0;
    case WM_RBUTTONDOWN: mouse(wrapper, MouseAction::Down, kRightButton, wParam, lParam); return 0;
    case WM_LBUTTONUP: mouse(wrapper, MouseAction::Up, kLeftButton, wParam, lParam); return 0;
    case WM_RBUTTONUP: mouse(wrapper, MouseAction::Up, kRightButton, wParam, lParam); return 0;
    case WM_LBUTTONDBLCLK: mouse(wrapper, MouseAction::DoubleClick, kLeftButton, wParam, lParam); return 0;
    case WM_RBUTTONDBLCLK: mouse(wrapper, MouseAction::DoubleClick, kRightButton, wParam, lParam); return 0;
    case WM_MOUSEWHEEL: wheel(wrapper, hwnd, wParam, lParam); return 0;
    case WM_CAPTURECHANGED: wrapper->captureChanged(); return 0;
    case WM_MOUSELEAVE: wrapper->mouseLeave(); return 0;
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

Window* createWindow(Winwrapper* wrapper, int width, int height, void* parent) {
    ManifestScope manifest;
    ATOM atom = wrapperClass();
    DWORD style = parent != nullptr ? WS_CHILD | WS_VISIBLE : WS_VISIBLE;
    HWND hwnd = atom == 0 ? nullptr
                          : CreateWindowExA(0, MAKEINTATOM(atom), "control", style, 0, 0, width, height,
                                            static_cast<HWND>(parent), nullptr, moduleInstance(), nullptr);
    if (hwnd == nullptr) {
        MessageBoxA(nullptr, "Failed to create a control.", "Error!", MB_ICONERROR);
        return nullptr;
    }
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(wrapper));
    return new Window{hwnd};
}

void destroyWindow(Window* window) { delete window; }

bool closesWithEditor() { return false; }

void hideWindow(Window* window) { ShowWindow(window->hwnd, SW_HIDE); }

void showWindow(Window* window) { ShowWindow(window->hwnd, SW_SHOWNA); }

// Windows delivers the editor's messages through the host's own message loop.
int eventFd(Window*) { return -1; }

unsigned long long handleOf(Window* window) { return reinterpret_cast<std::uintptr_t>(window->hwnd); }

Paintwell::NativeWindow drawable(Window* window) {
    return Paintwell::NativeWindow{nullptr, reinterpret_cast<std::uintptr_t>(window->hwnd)};
}

void invalidate(Window* window) { RedrawWindow(window->hwnd, nullptr, nullptr, RDW_INVALIDATE); }

void paintBlack(Window* window) {
    HDC dc = GetDC(window->hwnd);
    RECT rect{};
    GetClientRect(window->hwnd, &rect);
    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(window->hwnd, dc);
}

void pump(Window*) {
    // The system delivers the messages, the timer and the paints.
}

bool startTimer(Window* window) {
    if (SetTimer(window->hwnd, kTimerId, kTimerPeriod, nullptr) != 0) return true;
    MessageBoxA(nullptr, "Failed to create timer.", "Error!", MB_ICONERROR);
    return false;
}

void stopTimer(Window* window) { KillTimer(window->hwnd, kTimerId); }

void setCapture(Window* window) { SetCapture(window->hwnd); }

void releaseCapture(Window*) { ReleaseCapture(); }

bool hasCapture(Window* window) { return GetCapture() == window->hwnd; }

// The system's box is modal and pumps the host's messages meanwhile, so the
// answer is known before this returns.
void confirm(Window* window, const char* caption, const char* text, ConfirmedAction onOk) {
    if (Services::askOkCancel(caption, text, window != nullptr ? window->hwnd : nullptr)) onOk();
}

}  // namespace Wispkit::platform
