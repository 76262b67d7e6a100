#include "test_window.h"

#include "render/platform/glx/glx_visual.h"

#include <GL/glx.h>

#include <stdexcept>

namespace PaintwellTest {

namespace {

Display* sharedDisplay() {
    static Display* display = XOpenDisplay(nullptr);
    if (!display) throw std::runtime_error("no X display");
    return display;
}

Window createWindow(Display* display, int width, int height, XVisualInfo* visual) {
    Window root = RootWindow(display, visual->screen);
    XSetWindowAttributes attributes{};
    attributes.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
    attributes.border_pixel = 0;
    Window window = XCreateWindow(display, root, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                                  visual->depth, InputOutput, visual->visual, CWColormap | CWBorderPixel, &attributes);
    XMapWindow(display, window);
    XSync(display, False);
    return window;
}

XVisualInfo* visualOrThrow(Display* display) {
    XVisualInfo* visual = Paintwell::chooseWindowVisual(display, DefaultScreen(display));
    if (!visual) throw std::runtime_error("no GL visual");
    return visual;
}

}  // namespace

struct TestWindow::Impl {
    Display* display;
    Window window;
};

TestWindow::TestWindow(int width, int height) : impl(std::make_unique<Impl>()) {
    impl->display = sharedDisplay();
    XVisualInfo* visual = visualOrThrow(impl->display);
    impl->window = createWindow(impl->display, width, height, visual);
    XFree(visual);
}

TestWindow::~TestWindow() {
    XDestroyWindow(impl->display, impl->window);
    XSync(impl->display, False);
}

Paintwell::NativeWindow TestWindow::native() const { return Paintwell::NativeWindow{impl->display, impl->window}; }

struct ForeignContext::Impl {
    Display* display;
    Window window;
    GLXContext context;
};

ForeignContext::ForeignContext() : impl(std::make_unique<Impl>()) {
    impl->display = sharedDisplay();
    XVisualInfo* visual = visualOrThrow(impl->display);
    impl->window = createWindow(impl->display, 16, 16, visual);
    impl->context = glXCreateContext(impl->display, visual, nullptr, True);
    XFree(visual);
}

ForeignContext::~ForeignContext() {
    if (glXGetCurrentContext() == impl->context) glXMakeCurrent(impl->display, None, nullptr);
    glXDestroyContext(impl->display, impl->context);
    XDestroyWindow(impl->display, impl->window);
}

void ForeignContext::makeCurrent() { glXMakeCurrent(impl->display, impl->window, impl->context); }

bool ForeignContext::isCurrent() const {
    return glXGetCurrentContext() == impl->context && glXGetCurrentDrawable() == impl->window;
}

bool noContextCurrent() { return glXGetCurrentContext() == nullptr; }

void releaseCurrentContext() { glXMakeCurrent(sharedDisplay(), None, nullptr); }

}  // namespace PaintwellTest
