// A short-lived popup menu. The owning control asks its parent for one
// (createMenu), fills it, shows it and deletes it right after show returns;
// a chosen item reaches the owner later as menuCommand(id) through the
// window wrapper. Closing without a choice sends nothing.
//
// Threads: the editor window's thread. Ownership: the caller of createMenu.
#pragma once

#include "gui/no_copy.h"

namespace Wispkit {

class Menu : public NoCopy {
public:
    /// Menu positions: the menu's left edge, right edge or centre at the point.
    enum Align : int { kAlignLeft = -1, kAlignCentre = 0, kAlignRight = 1 };

    /// text: up to 111 bytes; '&' marks the next letter as the item's key.
    /// A disabled item is listed but can never be chosen.
    virtual bool addItem(const char* text, unsigned id, bool enabled) = 0;
    virtual bool addSeparator() = 0;
    /// (x, y) relative to the owner's top-left corner; the menu's top lies at
    /// the point. Windows tracks the menu before returning; X11 opens it and
    /// returns at once, keeping its own copy of the items.
    virtual bool show(int x, int y, int align) = 0;
};

}  // namespace Wispkit
