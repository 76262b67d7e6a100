// For the X11 window layer: the visual a window must be created with so that
// the renderer can draw into it (double-buffered, 24-bit RGB).
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace Paintwell {

/// A matching visual of the screen, or null when the server offers none.
/// The caller frees it with XFree.
XVisualInfo* chooseWindowVisual(Display* display, int screen);

}  // namespace Paintwell
