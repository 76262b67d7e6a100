// What the Windows window tests share: host-like top-level windows, message
// pumps and a look for the system's popup menu. Main thread only, as the
// windows' messages are.
#pragma once

#include <windows.h>

namespace Win32Test {

/// A visible top-level window (default procedure, the given stock brush)
/// whose client area is width by height, at x, y on the screen. The class is
/// registered on first use, so child windows may be made of it too.
HWND openHostWindow(const char* className, int stockBrush, int x, int y, int width, int height);

/// Dispatches whatever is queued for this thread.
void pumpPending();
/// Dispatches messages as they come for about milliseconds.
void pumpFor(unsigned milliseconds);

/// The visible popup menu window of the given thread, or null. Any thread
/// may ask.
HWND openMenuOf(DWORD thread);

}  // namespace Win32Test
