// The X11 side of a window wrapper, shared by the files of this folder only:
// the wrapper's own connection and child window, what the idle pump keeps
// between calls, and the popup menu or question that may be open on it.
//
// Threads: the editor's thread (the one that opened the window), except the
// repaint flag, which any thread may raise. Ownership: created by
// createWindow, ended by destroyWindow; it owns its connection, its cursors
// and the open popup and question.
#pragma once

#include "gui/platform/native_window.h"

#include <X11/Xlib.h>
// X.h names a constant CursorShape, which is the toolkit's cursor type here.
#undef CursorShape

#include <atomic>
#include <chrono>
#include <memory>

namespace Wispkit::platform {

class Popup;
class Question;

using Clock = std::chrono::steady_clock;

/// What is remembered of the last press, to turn a quick second one into a
/// double click.
struct LastPress {
    int button = 0;
    int x = 0;
    int y = 0;
    Time serverTime = 0;
    Clock::time_point localTime{};
    bool wasDoubleClick = false;
};

struct Window {
    Window(Winwrapper* wrapper, Display* display);
    ~Window();

    Winwrapper* wrapper;
    Display* display;
    ::Window id = 0;
    Colormap colormap = 0;
    std::atomic<bool> repaint{true};
    bool mapped = false;
    bool destroyed = false;
    bool grabbed = false;
    bool timerRunning = false;
    Clock::time_point lastTick{};
    Cursor resizeCursor = 0;
    Cursor handCursor = 0;
    CursorShape cursor = CursorShape::Arrow;
    // While a move is handed to the tree, the shape its controls ask for;
    // shown once the move has been handled.
    bool collectingCursor = false;
    CursorShape cursorRequest = CursorShape::Arrow;
    int doubleClickMs = 400;
    LastPress lastPress;
    std::unique_ptr<Popup> popup;
    // While it is open the editor takes no input.
    std::unique_ptr<Question> question;
    // The host's top-level window, offered to the module's other prompts
    // once, when the editor was first on the screen (0 for none).
    bool promptParentOffered = false;
    ::Window promptParent = 0;
};

/// Turns one event for the wrapper's window into tree calls.
void handleWindowEvent(Window* window, XEvent& event);
/// A move to where the pointer is now: after a grab of ours ends the server
/// sends none, and the control under the pointer would show neither its
/// hover nor its cursor until the pointer moved.
void pointerBack(Window* window);
/// The host's top-level window that holds the editor: the nearest ancestor
/// the window manager manages, or without one the ancestor just below the
/// root; 0 when there is none (asks the server).
::Window hostTopLevel(Window* window);
/// Tells the module's prompts which window to stay above, once.
void offerPromptParent(Window* window);
/// Our pointer grab ended without us: the captured control hears of it once.
void grabEnded(Window* window);
/// Whether the window is on the screen: mapped, and its ancestors too (asks
/// the server).
bool viewable(Window* window);
/// Shows shape on the window now, when it differs from the one shown.
void showCursor(Window* window, CursorShape shape);
/// The desktop's double-click time in milliseconds (400 when unset).
int doubleClickTime(Display* display);

}  // namespace Wispkit::platform
