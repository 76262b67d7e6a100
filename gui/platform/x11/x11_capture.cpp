// Mouse capture as an active pointer grab on the wrapper's window. Events
// keep coming in the window's coordinates (owner events), also from outside
// it; a grab the server ends for us (the window unmapped or hidden) tells
// the captured control through grabEnded.
#include "gui/platform/x11/x11_window.h"

namespace Wispkit::platform {

void setCapture(Window* window) {
    if (window->destroyed) return;
    constexpr unsigned kGrabEvents = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
    int result = XGrabPointer(window->display, window->id, True, kGrabEvents, GrabModeAsync, GrabModeAsync, None, None,
                              CurrentTime);
    window->grabbed = result == GrabSuccess;
}

void releaseCapture(Window* window) {
    if (!window->grabbed) return;
    window->grabbed = false;
    XUngrabPointer(window->display, CurrentTime);
    XFlush(window->display);
}

bool hasCapture(Window* window) { return window->grabbed; }

}  // namespace Wispkit::platform
