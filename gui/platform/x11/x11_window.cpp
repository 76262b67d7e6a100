// The wrapper's child window: its own connection to the display, a window
// with the renderer's GL visual inside the host's window, and its end.
#include "gui/platform/x11/x11_window.h"

#include "gui/platform/x11/x11_error_trap.h"
#include "gui/platform/x11/x11_palette.h"
#include "gui/platform/x11/x11_popup.h"
#include "gui/platform/x11/x11_question.h"
#include "render/platform/glx/glx_visual.h"
#include "services/user_prompt.h"

#include <X11/Xatom.h>

#include <cstdint>

namespace Wispkit::platform {

namespace {

// No key events: keys typed with the pointer over the editor go on up to the
// host's window (its shortcuts), as on Windows, where they reach the focus.
constexpr long kWindowEvents =
    ExposureMask | StructureNotifyMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | LeaveWindowMask;

void reportFailure() { Services::showError("Error!", "Failed to create a control."); }

// Embedders that speak XEmbed show a child only once it says it is mapped.
void announceEmbedding(Display* display, ::Window id) {
    Atom info = XInternAtom(display, "_XEMBED_INFO", False);
    long data[2] = {0, 1};  // protocol version 0, XEMBED_MAPPED
    XChangeProperty(display, id, info, info, 32, PropModeReplace, reinterpret_cast<unsigned char*>(data), 2);
}

bool createChild(Window* window, XVisualInfo* visual, int width, int height, void* parent) {
    Display* display = window->display;
    ::Window root = RootWindow(display, visual->screen);
    ::Window parentId = parent != nullptr ? static_cast<::Window>(reinterpret_cast<std::uintptr_t>(parent)) : root;
    ErrorTrap trap(display);
    window->colormap = XCreateColormap(display, root, visual->visual, AllocNone);
    XSetWindowAttributes attributes{};
    attributes.colormap = window->colormap;
    attributes.border_pixel = 0;
    // What the server shows on each exposure until our frame arrives: the
    // panel's dark colour rather than a black flash.
    attributes.background_pixel = palette::pixelOf(*visual, palette::kPanel);
    attributes.event_mask = kWindowEvents;
    window->id = XCreateWindow(display, parentId, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                               visual->depth, InputOutput, visual->visual,
                               CWColormap | CWBorderPixel | CWBackPixel | CWEventMask, &attributes);
    announceEmbedding(display, window->id);
    XMapWindow(display, window->id);
    if (!trap.failed()) return true;
    window->destroyed = true;  // the server never made it, or the parent is gone
    return false;
}

}  // namespace

Window::Window(Winwrapper* wrapper, Display* display) : wrapper(wrapper), display(display) {}

Window::~Window() {
    popup.reset();
    question.reset();  // unanswered: Cancel
    if (promptParent != 0)
        Services::clearPromptParent(reinterpret_cast<void*>(static_cast<std::uintptr_t>(promptParent)));
    if (resizeCursor != 0) XFreeCursor(display, resizeCursor);
    if (handCursor != 0) XFreeCursor(display, handCursor);
    // The host may have destroyed its window, and ours with it, already; the
    // error that earns is dropped like every other on this connection.
    if (id != 0 && !destroyed) XDestroyWindow(display, id);
    if (colormap != 0) XFreeColormap(display, colormap);
    forgetErrors(display);
    XCloseDisplay(display);
}

Window* createWindow(Winwrapper* wrapper, int width, int height, void* parent) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        reportFailure();
        return nullptr;
    }
    catchErrors(display);
    auto* window = new Window(wrapper, display);
    XVisualInfo* visual = Paintwell::chooseWindowVisual(display, DefaultScreen(display));
    bool created = visual != nullptr && createChild(window, visual, width, height, parent);
    if (visual != nullptr) XFree(visual);
    if (!created) {
        delete window;
        reportFailure();
        return nullptr;
    }
    window->doubleClickMs = doubleClickTime(display);
    return window;
}

void destroyWindow(Window* window) { delete window; }

bool closesWithEditor() { return true; }

// Calls outside the pump (the window's making, this flush) read what has
// arrived on the connection into the client's queue, where a host that
// watches the connection for us never sees it: the map and expose of a new
// window would wait there for the next input. Showing and hiding, which a
// host asks for outside the pump, handle the queue before returning.
void hideWindow(Window* window) {
    if (window->destroyed) return;
    XUnmapWindow(window->display, window->id);
    XFlush(window->display);
    pump(window);
}

void showWindow(Window* window) {
    if (window->destroyed) return;
    XMapWindow(window->display, window->id);
    XFlush(window->display);
    pump(window);
}

int eventFd(Window* window) { return ConnectionNumber(window->display); }

unsigned long long handleOf(Window* window) { return window->id; }

Paintwell::NativeWindow drawable(Window* window) { return Paintwell::NativeWindow{window->display, window->id}; }

void invalidate(Window* window) { window->repaint.store(true, std::memory_order_release); }

void paintBlack(Window* window) {
    if (window->destroyed) return;
    GC gc = XCreateGC(window->display, window->id, 0, nullptr);
    XSetForeground(window->display, gc, BlackPixel(window->display, DefaultScreen(window->display)));
    XFillRectangle(window->display, window->id, gc, 0, 0, window->wrapper->getWidth(), window->wrapper->getHeight());
    XFreeGC(window->display, gc);
    XFlush(window->display);
}

}  // namespace Wispkit::platform
