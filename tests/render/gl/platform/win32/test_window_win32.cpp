#include "test_window.h"

#include "render/platform/wgl/wgl_surface.h"

#include <windows.h>

#include <stdexcept>

namespace PaintwellTest {

namespace {

const char* windowClass() {
    static const char* name = [] {
        WNDCLASSEXA info{};
        info.cbSize = sizeof info;
        info.style = CS_OWNDC;
        info.lpfnWndProc = DefWindowProcA;
        info.hInstance = GetModuleHandleA(nullptr);
        info.lpszClassName = "PaintwellTestWindow";
        RegisterClassExA(&info);
        return "PaintwellTestWindow";
    }();
    return name;
}

HWND createWindow(int width, int height) {
    RECT rect{0, 0, width, height};
    AdjustWindowRect(&rect, WS_OVERLAPPEDWINDOW, FALSE);
    HWND window = CreateWindowExA(0, windowClass(), "Paintwell test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    if (!window) throw std::runtime_error("CreateWindowExA failed");
    return window;
}

}  // namespace

struct TestWindow::Impl {
    HWND window;
};

TestWindow::TestWindow(int width, int height) : impl(std::make_unique<Impl>()) {
    impl->window = createWindow(width, height);
}

TestWindow::~TestWindow() { DestroyWindow(impl->window); }

Paintwell::NativeWindow TestWindow::native() const {
    return Paintwell::NativeWindow{nullptr, reinterpret_cast<std::uintptr_t>(impl->window)};
}

struct ForeignContext::Impl {
    HDC dc;
    HGLRC context;
};

namespace {

// The foreign contexts of a process share one small window of their own.
HDC foreignWindowDC() {
    static HDC dc = [] {
        HDC windowDC = GetDC(createWindow(16, 16));
        PIXELFORMATDESCRIPTOR descriptor = Paintwell::platform::windowPixelFormat();
        SetPixelFormat(windowDC, ChoosePixelFormat(windowDC, &descriptor), &descriptor);
        return windowDC;
    }();
    return dc;
}

}  // namespace

ForeignContext::ForeignContext() : impl(std::make_unique<Impl>()) {
    impl->dc = foreignWindowDC();
    impl->context = wglCreateContext(impl->dc);
}

ForeignContext::~ForeignContext() {
    if (wglGetCurrentContext() == impl->context) wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(impl->context);
}

void ForeignContext::makeCurrent() { wglMakeCurrent(impl->dc, impl->context); }

bool ForeignContext::isCurrent() const {
    return wglGetCurrentContext() == impl->context && wglGetCurrentDC() == impl->dc;
}

bool noContextCurrent() { return wglGetCurrentContext() == nullptr; }

void releaseCurrentContext() { wglMakeCurrent(nullptr, nullptr); }

}  // namespace PaintwellTest
