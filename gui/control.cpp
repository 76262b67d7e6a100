#include "gui/control.h"

#include "gui/container.h"

namespace Wispkit {

Control::Control(Container* parent, int x, int y, unsigned width, unsigned height)
    : parent(parent), x(x), y(y), width(width), height(height) {
    if (parent != nullptr) parent->children.push_back(this);
}

void Control::confirm(const char* caption, const char* text, ConfirmedAction onOk) {
    if (parent != nullptr) parent->confirm(caption, text, std::move(onOk));
}

void Control::redraw() {
    if (visible && parent != nullptr) parent->redraw();
}

int absoluteX(const Control* control) {
    int sum = 0;
    for (; control != nullptr; control = control->getParent()) sum += control->getX();
    return sum;
}

int absoluteY(const Control* control) {
    int sum = 0;
    for (; control != nullptr; control = control->getParent()) sum += control->getY();
    return sum;
}

}  // namespace Wispkit
