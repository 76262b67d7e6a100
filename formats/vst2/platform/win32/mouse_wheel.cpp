#include <windows.h>

#include "formats/vst2/platform/mouse_wheel.h"
#include "services/platform/win32/module_handle.h"

namespace Vst2::platform {

// Some hosts swallow wheel messages; they hand the movement over as a vendor
// call instead, and the module posts it to its own window under the cursor.
bool forwardMouseWheel(float notches) {
    POINT cursor;
    if (!GetCursorPos(&cursor)) return false;
    HWND window = WindowFromPoint(cursor);
    if (!window) return false;
    auto owner = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    // Until DllMain has run the handle is null, which would match windows of no module.
    HINSTANCE module = Services::platform::moduleHandle();
    if (!module || owner != module) return false;
    auto delta = static_cast<WORD>(static_cast<short>(static_cast<int>(notches * 120.0f)));
    WPARAM wParam = static_cast<WPARAM>(delta) << 16;
    if (GetAsyncKeyState(VK_SHIFT) & 0x8000) wParam |= MK_SHIFT;
    if (GetAsyncKeyState(VK_CONTROL) & 0x8000) wParam |= MK_CONTROL;
    LPARAM lParam = MAKELPARAM(static_cast<WORD>(cursor.x), static_cast<WORD>(cursor.y));
    PostMessageA(window, WM_MOUSEWHEEL, wParam, lParam);
    return true;
}

}  // namespace Vst2::platform
