#include "xlib_thread_guard.h"

#include <GL/glx.h>
#include <X11/Xlib.h>

#include <atomic>
#include <thread>

namespace WispkitTest {
namespace {

std::atomic<bool> armed{false};
std::thread::id owner;
std::atomic<int> strayCalls{0};

void note() {
    if (armed.load() && std::this_thread::get_id() != owner) ++strayCalls;
}

}  // namespace

void armThreadGuard() {
    owner = std::this_thread::get_id();
    armed.store(true);
}

int callsFromOtherThreads() { return strayCalls.load(); }

}  // namespace WispkitTest

// Each wrapped function: note the thread, then call the real one.
#define GUARD(result, name, parameters, arguments)                                      \
    extern "C" result __real_##name parameters;                                         \
    extern "C" __attribute__((visibility("default"))) result __wrap_##name parameters { \
        WispkitTest::note();                                                            \
        return __real_##name arguments;                                                 \
    }

GUARD(int, XPending, (Display * d), (d))
GUARD(int, XNextEvent, (Display * d, XEvent* e), (d, e))
GUARD(int, XFlush, (Display * d), (d))
GUARD(int, XSync, (Display * d, Bool discard), (d, discard))
GUARD(int, XGrabPointer,
      (Display * d, Window w, Bool owner, unsigned mask, int pm, int km, Window confine, Cursor c, Time t),
      (d, w, owner, mask, pm, km, confine, c, t))
GUARD(int, XUngrabPointer, (Display * d, Time t), (d, t))
GUARD(int, XDefineCursor, (Display * d, Window w, Cursor c), (d, w, c))
GUARD(int, XUndefineCursor, (Display * d, Window w), (d, w))
GUARD(Status, XGetWindowAttributes, (Display * d, Window w, XWindowAttributes* a), (d, w, a))
GUARD(int, XFillRectangle, (Display * d, Drawable w, GC gc, int x, int y, unsigned wd, unsigned h),
      (d, w, gc, x, y, wd, h))
GUARD(Bool, glXMakeCurrent, (Display * d, GLXDrawable w, GLXContext c), (d, w, c))
GUARD(void, glXSwapBuffers, (Display * d, GLXDrawable w), (d, w))
GUARD(int, XClearArea, (Display * d, Window w, int x, int y, unsigned wd, unsigned h, Bool exposures),
      (d, w, x, y, wd, h, exposures))
GUARD(Status, XSendEvent, (Display * d, Window w, Bool propagate, long mask, XEvent* e), (d, w, propagate, mask, e))
