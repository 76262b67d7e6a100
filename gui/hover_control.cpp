#include "gui/hover_control.h"

namespace Wispkit {

bool HoverControl::mouseMove(int x, int y, int keys) {
    if (!hover) {
        hover = true;
        redraw();
    }
    return true;
}

void HoverControl::mouseLeave() {
    hover = false;
    redraw();
}

}  // namespace Wispkit
