// What the Windows window tests share: host-like top-level windows, message
// pumps and a look for the system's popup menu. Main thread only, as the
// windows' messages are.
#pragma once

#include <windows.h>

#include <ostream>

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

/// What the process holds that a leaking editor would add to: GDI and USER
/// objects and the thread's top-level windows (hidden helper windows among
/// them). Wine does not count GUI objects; there the GDI handle table is
/// read by probing every index (Wine takes a handle without its upper word).
struct Holdings {
    DWORD gdi = 0, user = 0;
    int windows = 0;
    bool operator==(const Holdings&) const = default;
};
Holdings holdings();
void PrintTo(const Holdings& h, std::ostream* out);

}  // namespace Win32Test
