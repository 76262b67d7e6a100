// GLX binding: the device draws into a window on a Display the caller owns,
// with its own context, and gives back whatever context (the host's, or
// none) was current before.
#include "render/diagnostics.h"
#include "render/platform/glx/glx_surface.h"
#include "render/platform/glx/glx_visual.h"
#include "render/platform/gl_platform.h"

#include <GL/glx.h>

#include <cstdio>
#include <cstring>

namespace Paintwell {

XVisualInfo* chooseWindowVisual(Display* display, int screen) {
    int attributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 8, GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE, 8, None};
    return glXChooseVisual(display, screen, attributes);
}

}  // namespace Paintwell

namespace Paintwell::platform {

namespace {

// The window's own visual decides what GL can draw into it; it has to be a
// double-buffered RGB visual of 24 bits or more.
XVisualInfo* windowVisual(Display* display, Window window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) return nullptr;
    XVisualInfo wanted;
    wanted.visualid = XVisualIDFromVisual(attributes.visual);
    int count = 0;
    XVisualInfo* info = XGetVisualInfo(display, VisualIDMask, &wanted, &count);
    if (!info) return nullptr;
    int useGL = 0, rgba = 0, doubleBuffer = 0, red = 0, green = 0, blue = 0;
    glXGetConfig(display, info, GLX_USE_GL, &useGL);
    glXGetConfig(display, info, GLX_RGBA, &rgba);
    glXGetConfig(display, info, GLX_DOUBLEBUFFER, &doubleBuffer);
    glXGetConfig(display, info, GLX_RED_SIZE, &red);
    glXGetConfig(display, info, GLX_GREEN_SIZE, &green);
    glXGetConfig(display, info, GLX_BLUE_SIZE, &blue);
    if (!useGL || !rgba || !doubleBuffer || red + green + blue < 24) {
        XFree(info);
        return nullptr;
    }
    return info;
}

}  // namespace

Surface* openSurface(const NativeWindow& native) {
    auto* display = static_cast<Display*>(native.display);
    auto window = static_cast<Window>(native.handle);
    if (!display || !window) checkFailed(__LINE__);
    XVisualInfo* visual = windowVisual(display, window);
    if (!visual) checkFailed(__LINE__);
    GLXContext context = glXCreateContext(display, visual, nullptr, True);
    XFree(visual);
    if (!context) checkFailed(__LINE__);
    return new Surface{display, window, context};
}

void closeSurface(Surface* surface) {
    if (glXGetCurrentContext() == surface->context) glXMakeCurrent(surface->display, None, nullptr);
    glXDestroyContext(surface->display, surface->context);
    delete surface;
}

CurrentContext currentContext() {
    return CurrentContext{glXGetCurrentDisplay(), glXGetCurrentDrawable(), glXGetCurrentReadDrawable(),
                          glXGetCurrentContext()};
}

bool makeCurrent(Surface* surface) { return glXMakeCurrent(surface->display, surface->window, surface->context); }

bool restoreContext(Surface* surface, const CurrentContext& saved) {
    if (!saved.context) return glXMakeCurrent(surface->display, None, nullptr);
    auto* display = static_cast<Display*>(saved.display);
    const auto draw = static_cast<GLXDrawable>(saved.drawable);
    const auto read = static_cast<GLXDrawable>(saved.readDrawable);
    const auto context = static_cast<GLXContext>(saved.context);
    // A host may read from another drawable than it draws to: give it both back.
    if (read && read != draw) return glXMakeContextCurrent(display, draw, read, context);
    return glXMakeCurrent(display, draw, context);
}

void* procAddress(const char* name) {
    return reinterpret_cast<void*>(glXGetProcAddress(reinterpret_cast<const GLubyte*>(name)));
}

void disableSwapWait(Surface* surface) {
    const char* extensions = glXQueryExtensionsString(surface->display, DefaultScreen(surface->display));
    if (!extensions) return;
    if (std::strstr(extensions, "GLX_EXT_swap_control")) {
        using SwapIntervalEXT = void (*)(Display*, GLXDrawable, int);
        if (auto f = reinterpret_cast<SwapIntervalEXT>(procAddress("glXSwapIntervalEXT")))
            f(surface->display, surface->window, 0);
    } else if (std::strstr(extensions, "GLX_MESA_swap_control")) {
        using SwapIntervalMESA = int (*)(unsigned);
        if (auto f = reinterpret_cast<SwapIntervalMESA>(procAddress("glXSwapIntervalMESA"))) f(0);
    }
}

void clientSize(Surface* surface, int& width, int& height) {
    Window root;
    int x, y;
    unsigned w = 0, h = 0, border, depth;
    if (!XGetGeometry(surface->display, surface->window, &root, &x, &y, &w, &h, &border, &depth)) w = h = 0;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
}

void swapBuffers(Surface* surface) { glXSwapBuffers(surface->display, surface->window); }

void writeDebugText(const char* text) {
    std::fputs(text, stderr);
    std::fflush(stderr);
}

}  // namespace Paintwell::platform
