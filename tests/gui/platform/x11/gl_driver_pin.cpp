// Sanitized builds only. LeakSanitizer looks at the heap at exit, after the
// toolkit has closed its own display connections, and closing the last
// connection that used GLX unloads Mesa's driver: the few blocks the driver
// keeps (reachable from its own data while it is mapped) are then reported
// as leaks from an unknown module, where no suppression can name them. One
// connection that has loaded the driver and is never closed keeps the driver
// mapped to the end, and the leak check still covers everything of ours.
#include <GL/glx.h>
#include <X11/Xlib.h>

namespace {

struct GlDriverPin {
    GlDriverPin() {
        display = XOpenDisplay(nullptr);
        if (display == nullptr) return;
        int attributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, None};
        XVisualInfo* visual = glXChooseVisual(display, DefaultScreen(display), attributes);
        if (visual != nullptr) XFree(visual);
    }
    Display* display = nullptr;  // never closed, on purpose
};

GlDriverPin pin;

}  // namespace
