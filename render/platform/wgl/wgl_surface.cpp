// WGL binding: the device holds the window's DC for its lifetime, sets a
// double-buffered 24-bit RGBA pixel format on it and owns one GL context.
#include "render/diagnostics.h"
#include "render/platform/gl_platform.h"
#include "render/platform/wgl/wgl_surface.h"

namespace Paintwell::platform {

PIXELFORMATDESCRIPTOR windowPixelFormat() {
    PIXELFORMATDESCRIPTOR descriptor{};
    descriptor.nSize = sizeof descriptor;
    descriptor.nVersion = 1;
    descriptor.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    descriptor.iPixelType = PFD_TYPE_RGBA;
    descriptor.cColorBits = 24;
    return descriptor;
}

namespace {

HGLRC createContext(HDC dc) {
    PIXELFORMATDESCRIPTOR descriptor = windowPixelFormat();
    int format = ChoosePixelFormat(dc, &descriptor);
    if (format == 0) checkFailed(__LINE__);
    if (!SetPixelFormat(dc, format, &descriptor)) checkFailed(__LINE__);
    HGLRC context = wglCreateContext(dc);
    if (!context) checkFailed(__LINE__);
    return context;
}

}  // namespace

Surface* openSurface(const NativeWindow& native) {
    HWND window = reinterpret_cast<HWND>(native.handle);
    HDC dc = GetDC(window);
    try {
        HGLRC context = createContext(dc);
        return new Surface{window, dc, context};
    } catch (...) {
        ReleaseDC(window, dc);
        throw;
    }
}

void closeSurface(Surface* surface) {
    if (!wglDeleteContext(surface->context)) {
        try {
            checkFailed(__LINE__);
        } catch (...) {
            // Teardown goes on: the DC still has to be given back.
        }
    }
    ReleaseDC(surface->window, surface->dc);
    delete surface;
}

CurrentContext currentContext() { return CurrentContext{wglGetCurrentDC(), 0, 0, wglGetCurrentContext()}; }

bool makeCurrent(Surface* surface) { return wglMakeCurrent(surface->dc, surface->context); }

bool restoreContext(Surface*, const CurrentContext& saved) {
    return wglMakeCurrent(static_cast<HDC>(saved.display), static_cast<HGLRC>(saved.context));
}

void* procAddress(const char* name) { return reinterpret_cast<void*>(wglGetProcAddress(name)); }

void disableSwapWait(Surface*) {
    // The driver's default interval stands on Windows.
}

void clientSize(Surface* surface, int& width, int& height) {
    RECT rect{};
    GetClientRect(surface->window, &rect);
    width = rect.right - rect.left;
    height = rect.bottom - rect.top;
}

void swapBuffers(Surface* surface) { SwapBuffers(surface->dc); }

void writeDebugText(const char* text) { OutputDebugStringA(text); }

void showDriverMessage(const char* caption, const char* text) {
    MessageBoxA(nullptr, text, caption, MB_TASKMODAL | MB_ICONERROR);
}

}  // namespace Paintwell::platform
