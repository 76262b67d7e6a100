#include "gui/platform/win32/win32_menu.h"

#include "gui/platform/native_window.h"
#include "gui/platform/win32/win32_window.h"

namespace Wispkit {

namespace {

UINT alignmentFlag(int align) {
    if (align == Menu::kAlignLeft) return TPM_LEFTALIGN;
    if (align == Menu::kAlignRight) return TPM_RIGHTALIGN;
    return TPM_CENTERALIGN;
}

}  // namespace

WinMenu::WinMenu(Winwrapper* wrapper, Control* owner) : wrapper(wrapper), owner(owner), menu(CreatePopupMenu()) {}

WinMenu::~WinMenu() { DestroyMenu(menu); }

// A disabled item is listed in normal colours but cannot be chosen.
bool WinMenu::addItem(const char* text, unsigned id, bool enabled) {
    return AppendMenuA(menu, enabled ? MF_STRING : MF_DISABLED, id, text);
}

bool WinMenu::addSeparator() { return AppendMenuA(menu, MF_SEPARATOR, 0, nullptr); }

bool WinMenu::show(int x, int y, int align) {
    int wx = absoluteX(owner->getParent()) + owner->getX() + x;
    int wy = absoluteY(owner->getParent()) + owner->getY() + y;
    wrapper->menuShown(owner);
    HWND hwnd = wrapper->hasWindow() ? wrapper->nativeWindow()->hwnd : nullptr;
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    UINT flags = TPM_RIGHTBUTTON | TPM_VERPOSANIMATION | alignmentFlag(align);
    bool shown = TrackPopupMenu(menu, flags, rect.left + wx, rect.top + wy, 0, hwnd, nullptr);
    // The window's capture change normally ends the open state; where the
    // menu loop reports none, the menu's return does.
    if (wrapper->isMenuOpenFor(owner)) wrapper->menuClosed();
    return shown;
}

namespace platform {

Menu* createMenu(Winwrapper* wrapper, Control* owner) { return new WinMenu(wrapper, owner); }

}  // namespace platform

}  // namespace Wispkit
