// The pointer's shape over the editor. Controls ask for a shape through
// setCursor, which climbs to the root of their tree; the root (the window
// wrapper, or a test's stand-in) shows it.
//
// Threads: the editor window's thread.
#pragma once

namespace Wispkit {

class Control;

enum class CursorShape { Arrow, VerticalResize, Hand };

/// Implemented by a tree's root that can change the pointer's shape.
class ICursorOwner {
public:
    virtual ~ICursorOwner() = default;
    virtual void setCursor(CursorShape shape) = 0;
};

/// Shows shape while the pointer is over control's window; nothing happens
/// when the root of control's tree cannot change the pointer.
void setCursor(Control* control, CursorShape shape);

}  // namespace Wispkit
