// A control that shows when the pointer is over it: the first move over it
// sets the hover state with one redraw, and every leave clears it with one.
//
// Threads: the editor window's thread. Ownership: as Control.
#pragma once

#include "gui/control.h"

namespace Wispkit {

class HoverControl : public Control {
public:
    using Control::Control;

    bool mouseMove(int x, int y, int keys) override;
    void mouseLeave() override;

    bool isHovered() const { return hover; }

protected:
    bool hover = false;
};

}  // namespace Wispkit
