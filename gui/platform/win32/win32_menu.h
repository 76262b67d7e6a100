// The native popup menu behind Menu: filled by its owner, tracked by the
// system until it closes; a chosen item reaches the wrapper's window as
// WM_COMMAND and from there the owner's menuCommand.
//
// Threads: the editor window's thread. Ownership: the caller of createMenu
// deletes it right after show; the native menu goes with it.
#pragma once

#include "gui/menu.h"

#include <windows.h>

namespace Wispkit {

class Control;
class Winwrapper;

class WinMenu final : public Menu {
public:
    WinMenu(Winwrapper* wrapper, Control* owner);
    ~WinMenu() override;

    bool addItem(const char* text, unsigned id, bool enabled) override;
    bool addSeparator() override;
    /// Blocks in the system's menu loop (timer and paints go on) until the
    /// menu closes.
    bool show(int x, int y, int align) override;

private:
    Winwrapper* wrapper;
    Control* owner;
    HMENU menu;
};

}  // namespace Wispkit
