#include "gui/platform/native_window.h"

#include <windows.h>

namespace Wispkit::platform {

// The system's own shapes. The window sets its class's arrow again before
// each move, so a control asks for its shape on every move it cares about.
void setCursor(Window*, CursorShape shape) {
    LPCSTR name = IDC_ARROW;
    if (shape == CursorShape::VerticalResize) name = IDC_SIZENS;
    if (shape == CursorShape::Hand) name = IDC_HAND;
    SetCursor(LoadCursorA(nullptr, name));
}

}  // namespace Wispkit::platform
