// The pointer's shape over the wrapper's window: the desktop's font cursors,
// made once per window on first use and freed with it. Controls set the
// shape on every move; only a change reaches the server. As over a Windows
// window, whose class cursor comes back before each move, a move that no
// control asks a shape for shows the arrow again (not while a control holds
// the capture, which keeps the shape it set).
#include "gui/platform/x11/x11_window.h"

#include <X11/cursorfont.h>

namespace Wispkit::platform {

namespace {

Cursor fontCursor(Window* window, Cursor& cached, unsigned shape) {
    if (cached == 0) cached = XCreateFontCursor(window->display, shape);
    return cached;
}

}  // namespace

void setCursor(Window* window, CursorShape shape) {
    if (window->collectingCursor) {
        window->cursorRequest = shape;
        return;
    }
    showCursor(window, shape);
}

void showCursor(Window* window, CursorShape shape) {
    if (shape == window->cursor || window->destroyed) return;
    window->cursor = shape;
    switch (shape) {
    case CursorShape::Arrow: XUndefineCursor(window->display, window->id); break;
    case CursorShape::VerticalResize:
        XDefineCursor(window->display, window->id, fontCursor(window, window->resizeCursor, XC_sb_v_double_arrow));
        break;
    case CursorShape::Hand:
        XDefineCursor(window->display, window->id, fontCursor(window, window->handCursor, XC_hand2));
        break;
    }
}

}  // namespace Wispkit::platform
