#include "gui/container.h"

namespace Wispkit {

Container::Container(Container* parent, int x, int y, unsigned width, unsigned height)
    : Control(parent, x, y, width, height) {}

Container::~Container() { deleteChildren(); }

void Container::deleteChildren() {
    // A child's destructor may still ask its parent things (a knob ends its
    // gesture), so each child leaves the list only after it is gone.
    while (!children.empty()) {
        Control* last = children.back();
        if (hovered == last) hovered = nullptr;
        delete last;
        children.pop_back();
    }
}

void Container::releaseResources() {
    for (Control* child : children) child->releaseResources();
}

Control* Container::childAt(int x, int y) {
    for (Control* child : children) {
        // Unsigned comparison: a point left of or above the child is far
        // outside it rather than wrapping around into it.
        const unsigned lx = static_cast<unsigned>(x - child->x);
        const unsigned ly = static_cast<unsigned>(y - child->y);
        if (child->enabled && child->visible && lx < child->width && ly < child->height &&
            child->hitTest(static_cast<int>(lx), static_cast<int>(ly)))
            return child;
    }
    return nullptr;
}

bool Container::hitTest(int x, int y) { return childAt(x, y) != nullptr; }

Control* Container::retarget(int x, int y) {
    Control* target = childAt(x, y);
    if (hovered != nullptr && hovered != target) hovered->mouseLeave();
    hovered = target;
    return target;
}

bool Container::mouseMove(int x, int y, int keys) {
    Control* target = retarget(x, y);
    return target != nullptr && target->mouseMove(x - target->x, y - target->y, keys);
}

bool Container::mouseDown(int x, int y, int button, int keys) {
    Control* target = retarget(x, y);
    return target != nullptr && target->mouseDown(x - target->x, y - target->y, button, keys);
}

bool Container::mouseUp(int x, int y, int button, int keys) {
    Control* target = retarget(x, y);
    return target != nullptr && target->mouseUp(x - target->x, y - target->y, button, keys);
}

bool Container::doubleClick(int x, int y, int button, int keys) {
    Control* target = retarget(x, y);
    return target != nullptr && target->doubleClick(x - target->x, y - target->y, button, keys);
}

bool Container::mouseWheel(int x, int y, float delta, int keys) {
    Control* target = retarget(x, y);
    return target != nullptr && target->mouseWheel(x - target->x, y - target->y, delta, keys);
}

void Container::mouseLeave() {
    if (hovered == nullptr) return;
    hovered->mouseLeave();
    hovered = nullptr;
}

void Container::captureMouse(Control* control) {
    if (parent != nullptr) parent->captureMouse(control);
}

bool Container::hasMouseCapture(Control* control) { return parent != nullptr && parent->hasMouseCapture(control); }

Menu* Container::createMenu(Control* owner) { return parent != nullptr ? parent->createMenu(owner) : nullptr; }

bool Container::isMenuOpenFor(Control* control) { return parent != nullptr && parent->isMenuOpenFor(control); }

void Container::draw(Paintwell::Context* context) {
    for (Control* child : children) child->draw(context);
}

}  // namespace Wispkit
