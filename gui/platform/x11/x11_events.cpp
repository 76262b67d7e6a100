// Events of the wrapper's window turned into the tree's mouse calls, with
// Windows' meaning: buttons 1 and 3 are left and right, 4 and 5 wheel
// notches, a quick second press in the same place a double click. Events a
// host forwards with XSendEvent count like real ones. While a question is
// open the editor takes no input: its presses, releases and moves are
// dropped, never kept for later.
#include "gui/platform/x11/x11_question.h"
#include "gui/platform/x11/x11_window.h"

#include "gui/control.h"

#include <X11/Xresource.h>

#include <cstdlib>

namespace Wispkit::platform {

namespace {

constexpr int kDoubleClickSlop = 4;  // pixels either way, as Windows' default box

int keysOf(unsigned state) {
    return ((state & ShiftMask) != 0 ? kShiftKey : 0) | ((state & ControlMask) != 0 ? kControlKey : 0);
}

int buttonOf(unsigned xButton) {
    if (xButton == Button1) return kLeftButton;
    if (xButton == Button3) return kRightButton;
    return 0;
}

// Server times when both events carry one; forwarded events may carry none,
// and then the time they reached us stands in.
long millisecondsBetween(const LastPress& last, Time serverTime, Clock::time_point now) {
    if (last.serverTime != 0 && serverTime != 0) return static_cast<long>(serverTime - last.serverTime);
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(now - last.localTime).count());
}

bool isDoubleClick(Window* window, int button, const XButtonEvent& event, Clock::time_point now) {
    const LastPress& last = window->lastPress;
    if (last.button != button || last.wasDoubleClick) return false;
    if (std::abs(event.x - last.x) > kDoubleClickSlop || std::abs(event.y - last.y) > kDoubleClickSlop) return false;
    long elapsed = millisecondsBetween(last, event.time, now);
    return elapsed >= 0 && elapsed <= window->doubleClickMs;
}

void buttonPress(Window* window, const XButtonEvent& event) {
    int keys = keysOf(event.state);
    if (event.button == Button4 || event.button == Button5) {
        float delta = event.button == Button4 ? 1.0f : -1.0f;
        window->wrapper->mouseEvent(MouseAction::Wheel, event.x, event.y, 0, delta, keys);
        return;
    }
    int button = buttonOf(event.button);
    if (button == 0) return;
    Clock::time_point now = Clock::now();
    bool twice = isDoubleClick(window, button, event, now);
    window->lastPress = LastPress{button, event.x, event.y, event.time, now, twice};
    window->wrapper->mouseEvent(twice ? MouseAction::DoubleClick : MouseAction::Down, event.x, event.y, button, 0,
                                keys);
}

void moved(Window* window, int x, int y, unsigned state) {
    window->cursorRequest = window->wrapper->capturedControl() != nullptr ? window->cursor : CursorShape::Arrow;
    window->collectingCursor = true;
    window->wrapper->mouseEvent(MouseAction::Move, x, y, 0, 0, keysOf(state));
    window->collectingCursor = false;
    showCursor(window, window->cursorRequest);
}

void buttonRelease(Window* window, const XButtonEvent& event) {
    int button = buttonOf(event.button);
    if (button != 0) window->wrapper->mouseEvent(MouseAction::Up, event.x, event.y, button, 0, keysOf(event.state));
}

bool inside(Window* window, int x, int y) {
    return x >= 0 && y >= 0 && x < static_cast<int>(window->wrapper->getWidth()) &&
           y < static_cast<int>(window->wrapper->getHeight());
}

// A press or release that ended a drag: the control under the pointer takes
// the hover and the pointer its shape again at once, as if the pointer had
// moved there.
void afterButton(Window* window, const XButtonEvent& event, bool heldBefore) {
    if (!heldBefore || window->wrapper->capturedControl() != nullptr || window->popup) return;
    if (inside(window, event.x, event.y)) moved(window, event.x, event.y, event.state);
    else
        showCursor(window, CursorShape::Arrow);
}

bool isInput(int type) { return type == ButtonPress || type == ButtonRelease || type == MotionNotify; }

void crossing(Window* window, const XCrossingEvent& event) {
    if (event.mode == NotifyUngrab) {
        if (window->grabbed) grabEnded(window);
        if (event.type == LeaveNotify) window->wrapper->mouseLeave();
        return;
    }
    // Another grab takes the pointer (our popup menu's, or another client's):
    // the control under it is left now, as the grab's end elsewhere brings
    // this window no leave of its own.
    if (event.type == LeaveNotify && event.mode == NotifyGrab) {
        if (!window->grabbed) window->wrapper->mouseLeave();
        return;
    }
    if (event.type != LeaveNotify || event.mode != NotifyNormal) return;
    // While we hold the pointer the captured control keeps it, inside or out,
    // unless the leave came from the host hiding its window with the pointer
    // inside ours: the server then ends the grab without an ungrab crossing.
    if (window->grabbed && viewable(window)) return;
    if (window->grabbed) grabEnded(window);
    window->wrapper->mouseLeave();
}

void unmapped(Window* window) {
    window->mapped = false;
    if (window->grabbed) grabEnded(window);
}

}  // namespace

void grabEnded(Window* window) {
    window->grabbed = false;
    window->wrapper->captureChanged();
}

void pointerBack(Window* window) {
    if (window->destroyed || !window->mapped || window->question) return;
    ::Window root = 0, child = 0;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned state = 0;
    bool sameScreen = XQueryPointer(window->display, window->id, &root, &child, &rootX, &rootY, &x, &y, &state) != 0;
    if (sameScreen && inside(window, x, y) && viewable(window)) moved(window, x, y, state);
    else
        showCursor(window, CursorShape::Arrow);
}

void handleWindowEvent(Window* window, XEvent& event) {
    if (window->question && isInput(event.type)) return;
    const bool held = window->wrapper->capturedControl() != nullptr;
    switch (event.type) {
    case ButtonPress:
        buttonPress(window, event.xbutton);
        afterButton(window, event.xbutton, held);
        break;
    case ButtonRelease:
        buttonRelease(window, event.xbutton);
        afterButton(window, event.xbutton, held);
        break;
    case MotionNotify: moved(window, event.xmotion.x, event.xmotion.y, event.xmotion.state); break;
    case EnterNotify:
    case LeaveNotify: crossing(window, event.xcrossing); break;
    case Expose:
        if (event.xexpose.count == 0) window->repaint.store(true);
        break;
    case MapNotify:
        window->mapped = true;
        window->repaint.store(true);
        break;
    case UnmapNotify: unmapped(window); break;
    case DestroyNotify:
        if (event.xdestroywindow.window == window->id) {
            window->destroyed = true;
            unmapped(window);
            window->question.reset();  // unanswered: Cancel
        }
        break;
    default: break;
    }
}

int doubleClickTime(Display* display) {
    const char* resources = XResourceManagerString(display);
    if (resources == nullptr) return 400;
    XrmInitialize();
    XrmDatabase database = XrmGetStringDatabase(resources);
    char* type = nullptr;
    XrmValue value{};
    int ms = 400;
    if (database != nullptr && XrmGetResource(database, "multiClickTime", "MultiClickTime", &type, &value) &&
        value.addr != nullptr) {
        int set = std::atoi(value.addr);
        if (set > 0) ms = set;
    }
    if (database != nullptr) XrmDestroyDatabase(database);
    return ms;
}

}  // namespace Wispkit::platform
