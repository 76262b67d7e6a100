// The root of the control tree and the toolkit's one contact with the window
// system: a native child window inside the host's window, its rendering
// device, the 10 ms timer, mouse capture and the popup menus. The portable
// part (winwrapper.cpp) turns window events into tree calls; the window
// system's part sits behind gui/platform/native_window.h.
//
// Threads: everything on the thread that created the wrapper (the editor's
// thread), except redraw, which any thread may call.
// Ownership: the wrapper owns its tree and its device. On Windows it deletes
// itself when the host destroys its window; on X11 the editor's close ends it
// through closeWindow. Nobody else deletes it.
#pragma once

#include "gui/container.h"
#include "gui/cursor.h"

namespace Paintwell {
class Device;
}

namespace Wispkit {

class IFrameController;
class ITimerController;

namespace platform {
struct Window;
}

enum class MouseAction { Move, Down, Up, DoubleClick, Wheel };

class Winwrapper : public Container, public ICursorOwner {
public:
    /// Creates the child window of parentWindow (HWND, or the X11 Window id;
    /// null for a top-level window). A failure is shown to the user and the
    /// wrapper lives on without a window.
    Winwrapper(IFrameController* controller, int width, int height, void* parentWindow);

    /// Starts the timer for target, or stops it for null.
    void setTimerTarget(ITimerController* target);
    bool hasWindow() const { return window != nullptr; }
    /// The native window id (HWND or X11 Window), 0 without a window.
    unsigned long long nativeHandle() const;
    /// The host's idle call: on X11 pumps the window's events, runs the timer
    /// and paints when asked to; on Windows nothing (the system does it).
    void idle();
    /// The editor's close, after releaseResources. X11 ends the window and
    /// deletes this wrapper and its tree now; Windows hides the window and
    /// waits for the host to destroy it.
    void closeWindow();
    /// Takes the window off the screen or puts it back; nothing else changes.
    void setVisible(bool visible);
    /// Where the window's events arrive, for a host to watch; -1 for none.
    int eventFd() const;
    /// The owner no longer hears of the window (its editor closed and may be
    /// deleted before the host destroys the window).
    void detachController() { controller = nullptr; }
    /// The pointer's shape while it is over the window.
    void setCursor(CursorShape shape) override;

    /// Without a window nobody can be asked: Cancel.
    void confirm(const char* caption, const char* text, ConfirmedAction onOk) override;
    /// Any thread: asks for one repaint of the whole window.
    void redraw() override;
    /// Every texture and font of the tree, then the device.
    void releaseResources() override;
    void captureMouse(Control* control) override;
    bool hasMouseCapture(Control* control) override;
    Menu* createMenu(Control* owner) override;
    bool isMenuOpenFor(Control* control) override;

    // ---- called by the window system's layer and by menus ----
    /// A mouse event in window coordinates: to the captured control, relative
    /// to it, or routed through the tree.
    void mouseEvent(MouseAction action, int x, int y, int button, float delta, int keys);
    /// Renders the tree; paints black when no device can be had or drawing fails.
    void paint();
    void timerTick();
    /// A menu item was chosen: the menu's owner hears of it once.
    void command(unsigned id);
    /// The window lost (or gave up) the mouse capture.
    void captureChanged();
    void menuShown(Control* owner);
    /// A menu closed where the system reports no capture change for it.
    void menuClosed();
    /// The controller's answer to a request to close the window; yes without one.
    bool allowClose();
    /// The window is gone: the controller hears of it and the wrapper deletes itself.
    void windowGone();

    Control* capturedControl() const { return captured; }
    Paintwell::Device* currentDevice() const { return device; }
    platform::Window* nativeWindow() const { return window; }

private:
    ~Winwrapper() override;

    IFrameController* controller;
    ITimerController* timerTarget = nullptr;
    platform::Window* window = nullptr;
    Paintwell::Device* device = nullptr;
    Control* captured = nullptr;
    Control* menuOwner = nullptr;
    bool menuOpen = false;
};

}  // namespace Wispkit
