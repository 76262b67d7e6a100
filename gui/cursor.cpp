#include "gui/cursor.h"

#include "gui/container.h"

namespace Wispkit {

void setCursor(Control* control, CursorShape shape) {
    if (control == nullptr) return;
    Control* root = control;
    while (root->getParent() != nullptr) root = root->getParent();
    if (auto* owner = dynamic_cast<ICursorOwner*>(root)) owner->setCursor(shape);
}

}  // namespace Wispkit
