#include "gui/platform/x11/x11_question.h"

#include "gui/platform/x11/x11_error_trap.h"
#include "gui/platform/x11/x11_window.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace Wispkit::platform {

namespace {

constexpr long kQuestionEvents = ExposureMask | StructureNotifyMask | ButtonPressMask | ButtonReleaseMask |
                                 PointerMotionMask | LeaveWindowMask | KeyPressMask;

// The editor's window on the screen.
PopupRect editorRect(Window* owner) {
    int x = 0, y = 0;
    ::Window child = 0;
    XTranslateCoordinates(owner->display, owner->id, DefaultRootWindow(owner->display), 0, 0, &x, &y, &child);
    return PopupRect{x, y, static_cast<int>(owner->wrapper->getWidth()), static_cast<int>(owner->wrapper->getHeight())};
}

void setAtomProperty(Display* display, ::Window id, const char* name, const char* value) {
    Atom atom = XInternAtom(display, value, False);
    XChangeProperty(display, id, XInternAtom(display, name, False), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&atom), 1);
}

}  // namespace

Question::Question(Display* display, std::string caption, ConfirmedAction onOk)
    : display(display), caption(std::move(caption)), onOk(std::move(onOk)) {}

Question::~Question() {
    if (host != 0) XSelectInput(display, host, NoEventMask);
    surface.reset();
}

std::unique_ptr<Question> Question::open(Window* owner, const std::string& caption, const std::string& text,
                                         ConfirmedAction onOk) {
    if (owner->destroyed) return nullptr;
    Display* display = owner->display;
    ErrorTrap trap(display);
    std::unique_ptr<Question> question(new Question(display, caption, std::move(onOk)));
    question->surface = Surface::create(display, false, kQuestionEvents);
    if (!question->surface) return nullptr;
    const Surface& surface = *question->surface;
    question->shape = layOutQuestion(caption, text, [&surface](const std::string& t) { return surface.textWidth(t); });
    question->rect =
        placeOver(editorRect(owner), question->shape.width, question->shape.height,
                  DisplayWidth(display, DefaultScreen(display)), DisplayHeight(display, DefaultScreen(display)));
    question->host = hostTopLevel(owner);
    question->describe();
    question->follow();
    question->surface->place(question->rect, [&question](Paintwell::Context* context) { question->draw(context); });
    XMapRaised(display, question->surface->id());
    if (trap.failed()) return nullptr;
    return question;
}

// What the window manager needs: the title, a dialog of fixed size where we
// put it, transient for the host's window, closed through the protocol.
void Question::describe() {
    ::Window id = surface->id();
    XStoreName(display, id, caption.c_str());
    XChangeProperty(display, id, XInternAtom(display, "_NET_WM_NAME", False),
                    XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(caption.data()), static_cast<int>(caption.size()));
    setAtomProperty(display, id, "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_DIALOG");
    if (host != 0) XSetTransientForHint(display, id, host);
    XSizeHints size{};
    size.flags = USPosition | PPosition | PSize | PMinSize | PMaxSize;
    size.x = rect.x;
    size.y = rect.y;
    size.width = size.min_width = size.max_width = rect.width;
    size.height = size.min_height = size.max_height = rect.height;
    XSetWMNormalHints(display, id, &size);
    XWMHints hints{};
    hints.flags = InputHint;
    hints.input = True;
    XSetWMHints(display, id, &hints);
    protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, id, &deleteWindow, 1);
}

// The host's window is another client's; this connection's interest in it
// ends with the question.
void Question::follow() {
    if (host != 0) XSelectInput(display, host, StructureNotifyMask);
}

Question::Answer Question::hostEvent(const XEvent& event) {
    switch (event.type) {
    case UnmapNotify:
        XUnmapWindow(display, surface->id());
        focusTaken = false;  // asked for again when it shows
        return Answer::Pending;
    case MapNotify: XMapRaised(display, surface->id()); return Answer::Pending;
    case DestroyNotify: return Answer::Cancel;
    default: return Answer::Pending;
    }
}

void Question::setHover(int button) {
    if (button == hover) return;
    hover = button;
    repaint = true;
}

Question::Answer Question::pointerMoved(int x, int y) {
    setHover(buttonAt(shape, x, y));
    return Answer::Pending;
}

Question::Answer Question::buttonPressed(const XButtonEvent& event) {
    if (event.button != Button1) return Answer::Pending;
    pressed = buttonAt(shape, event.x, event.y);
    repaint = true;
    return Answer::Pending;
}

// A button answers when the press and the release were both on it.
Question::Answer Question::buttonReleased(const XButtonEvent& event) {
    if (event.button != Button1) return Answer::Pending;
    int was = pressed;
    pressed = -1;
    repaint = true;
    if (was < 0 || buttonAt(shape, event.x, event.y) != was) return Answer::Pending;
    return was == kOk ? Answer::Ok : Answer::Cancel;
}

Question::Answer Question::keyPressed(XKeyEvent& event) {
    KeySym sym = NoSymbol;
    char typed[8] = {};
    XLookupString(&event, typed, sizeof typed, &sym, nullptr);
    switch (sym) {
    case XK_Return:
    case XK_KP_Enter:
    case XK_space: return focus == kOk ? Answer::Ok : Answer::Cancel;
    case XK_Escape: return Answer::Cancel;
    case XK_Tab:
    case XK_ISO_Left_Tab:
    case XK_Left:
    case XK_Right:
        focus = focus == kOk ? kCancel : kOk;
        repaint = true;
        return Answer::Pending;
    default: return Answer::Pending;
    }
}

Question::Answer Question::clientMessage(const XClientMessageEvent& event) const {
    bool closing =
        event.message_type == protocols && event.format == 32 && static_cast<Atom>(event.data.l[0]) == deleteWindow;
    return closing ? Answer::Cancel : Answer::Pending;
}

// Keys reach the question without a click on it. Asked for once it is on
// the screen (its first exposure), where the server accepts the request.
void Question::takeFocus() {
    if (focusTaken) return;
    focusTaken = true;
    XSetInputFocus(display, surface->id(), RevertToPointerRoot, CurrentTime);
}

Question::Answer Question::handleEvent(XEvent& event) {
    if (event.xany.window == host) return hostEvent(event);
    switch (event.type) {
    case Expose:
        takeFocus();
        repaint = true;
        return Answer::Pending;
    case MotionNotify: return pointerMoved(event.xmotion.x, event.xmotion.y);
    case LeaveNotify: setHover(-1); return Answer::Pending;
    case ButtonPress: return buttonPressed(event.xbutton);
    case ButtonRelease: return buttonReleased(event.xbutton);
    case KeyPress: return keyPressed(event.xkey);
    case ClientMessage: return clientMessage(event.xclient);
    case DestroyNotify: return Answer::Cancel;
    default: return Answer::Pending;
    }
}

}  // namespace Wispkit::platform
