// The one seam between the portable window wrapper and the window system
// (Win32 in platform/win32, X11 in platform/x11). Each platform folder
// implements every function here; nothing else in the toolkit includes a
// system header.
//
// Threads: the editor window's thread, except invalidate (any thread).
// Ownership: a Window belongs to its wrapper; destroyWindow ends it.
#pragma once

#include "gui/winwrapper.h"
#include "render/native_window.h"

namespace Wispkit::platform {

/// Creates the wrapper's child window of parent (null: a top-level window)
/// and ties it to the wrapper; null after telling the user when that fails.
Window* createWindow(Winwrapper* wrapper, int width, int height, void* parent);
/// Ends what the wrapper holds of the window. Windows: the window is already
/// being destroyed; X11: destroys it and closes the connection.
void destroyWindow(Window* window);
/// True where the editor's close must end the window itself (X11).
bool closesWithEditor();
/// Takes the window off the screen; it lives on until it is destroyed.
void hideWindow(Window* window);
/// Puts a hidden window back on the screen.
void showWindow(Window* window);
/// The file descriptor on which the window's events arrive (X11: the
/// connection), for hosts that watch it for the editor; -1 where there is none.
int eventFd(Window* window);

unsigned long long handleOf(Window* window);
Paintwell::NativeWindow drawable(Window* window);
/// Asks for one repaint of the whole window. Any thread.
void invalidate(Window* window);
/// The client area painted black without GL.
void paintBlack(Window* window);
/// Windows: nothing; X11: handles pending events, the timer and a due paint.
void pump(Window* window);

/// The 10 ms timer calling the wrapper's timerTick; false after telling the user.
bool startTimer(Window* window);
void stopTimer(Window* window);

void setCapture(Window* window);
void releaseCapture(Window* window);
bool hasCapture(Window* window);

/// The wrapper's OK/Cancel question (see Control::confirm): Windows asks
/// with its modal box and runs onOk before returning; X11 shows a window of
/// its own and runs onOk from the idle call that sees OK.
void confirm(Window* window, const char* caption, const char* text, ConfirmedAction onOk);
void setCursor(Window* window, CursorShape shape);
/// A new menu for owner shown through the wrapper's window; owned by the caller.
Menu* createMenu(Winwrapper* wrapper, Control* owner);

/// Opens a web address in the user's browser without waiting for it.
void openAddress(const char* address);

}  // namespace Wispkit::platform
