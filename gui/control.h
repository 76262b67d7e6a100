// The control tree's leaf: one rectangle of the editor that draws itself and
// answers mouse events. Controls are made with new and hand themselves to
// their parent, which owns and deletes them; nothing else deletes a control.
//
// Threads: the thread that owns the editor window, for every operation.
#pragma once

#include "gui/no_copy.h"
#include "render/scene.h"

#include <functional>

namespace Wispkit {

class Container;

/// Mouse buttons as controls see them.
enum MouseButton : int { kLeftButton = 1, kRightButton = 2 };
/// Modifier bits of the keys argument.
enum ModifierKey : int { kShiftKey = 1, kControlKey = 2 };

/// What a confirmation runs when the user answers OK.
using ConfirmedAction = std::function<void()>;

class Control : public NoCopy, public Paintwell::Scene {
public:
    /// Appends the new control to parent's children when parent is not null.
    Control(Container* parent, int x, int y, unsigned width, unsigned height);

    // Upward requests; the root answers them.
    /// An OK/Cancel question. onOk runs only after OK: before this returns
    /// where the system's box is modal (Windows), from a later idle call
    /// where the question is a window of the editor's own (X11). Cancel, or
    /// the editor closing first, drops it unrun.
    virtual void confirm(const char* caption, const char* text, ConfirmedAction onOk);
    virtual void redraw();
    virtual void releaseResources() {}

    // Mouse events, positions local to this control. The results are true
    // unless a container found no child to route to.
    virtual bool hitTest(int x, int y) { return true; }
    virtual bool mouseMove(int x, int y, int keys) { return true; }
    virtual bool mouseDown(int x, int y, int button, int keys) { return true; }
    virtual bool mouseUp(int x, int y, int button, int keys) { return true; }
    /// A control that has no use for double clicks sees a second press.
    virtual bool doubleClick(int x, int y, int button, int keys) { return mouseDown(x, y, button, keys); }
    virtual bool mouseWheel(int x, int y, float delta, int keys) { return true; }
    virtual void mouseLeave() {}
    virtual void captureLost() {}
    virtual void menuCommand(unsigned id) {}

    void draw(Paintwell::Context* context) override {}

    Container* getParent() const { return parent; }
    int getX() const { return x; }
    int getY() const { return y; }
    unsigned getWidth() const { return width; }
    unsigned getHeight() const { return height; }
    bool isEnabled() const { return enabled; }
    bool isVisible() const { return visible; }

protected:
    friend class Container;

    Container* parent;
    int x;
    int y;
    unsigned width;
    unsigned height;
    bool enabled = true;
    bool visible = true;
};

/// Window coordinates of a control's top-left corner: the sum of the
/// positions of the control and its ancestors; 0 for a missing control.
int absoluteX(const Control* control);
int absoluteY(const Control* control);

}  // namespace Wispkit
