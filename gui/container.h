// A control that holds others: it owns its children, routes mouse events to
// the child under the pointer, draws them in order and passes the requests
// of its children (capture, menus) up towards the root.
//
// Threads: the editor window's thread. Ownership: children are deleted by
// their container, last child first.
#pragma once

#include "gui/control.h"

#include <vector>

namespace Wispkit {

class Menu;

class Container : public Control {
public:
    Container(Container* parent, int x, int y, unsigned width, unsigned height);
    ~Container() override;

    void releaseResources() override;
    bool hitTest(int x, int y) override;
    bool mouseMove(int x, int y, int keys) override;
    bool mouseDown(int x, int y, int button, int keys) override;
    bool mouseUp(int x, int y, int button, int keys) override;
    bool doubleClick(int x, int y, int button, int keys) override;
    bool mouseWheel(int x, int y, float delta, int keys) override;
    /// The hovered child leaves.
    void mouseLeave() override;

    /// Mouse capture for control (null ends it); the root holds it.
    virtual void captureMouse(Control* control);
    virtual bool hasMouseCapture(Control* control);
    /// A new popup menu owned by the caller, answering to owner.
    virtual Menu* createMenu(Control* owner);
    virtual bool isMenuOpenFor(Control* control);

    /// Draws the children, first child first, so later children lie on top.
    void draw(Paintwell::Context* context) override;

    /// The first enabled, visible child containing the point (local to this
    /// container), or null. Earlier children win where children overlap.
    Control* childAt(int x, int y);

    const std::vector<Control*>& getChildren() const { return children; }
    Control* getHovered() const { return hovered; }

protected:
    friend class Control;

    /// Deletes every child, last child first. For roots that must end their
    /// children before the rest of their own teardown.
    void deleteChildren();

    std::vector<Control*> children;
    Control* hovered = nullptr;

private:
    /// The child under (x, y) becomes the hovered one, after the previous one
    /// left; null when no child is there.
    Control* retarget(int x, int y);
};

}  // namespace Wispkit
