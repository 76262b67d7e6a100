// A top-level window of the wrapper's connection that the X11 layer draws
// itself with a GL device of its own and the editor's 10-point face: what a
// popup menu and a question are shown on. It starts 1 x 1 and unmapped; its
// owner places, draws and maps it.
//
// Threads: the editor's thread. Ownership: the surface owns its window,
// colormap, device and font; the connection is the wrapper's and outlives it.
#pragma once

#include "gui/platform/x11/popup_layout.h"

#include <X11/Xlib.h>
// X.h names a constant CursorShape, which is the toolkit's cursor type here.
#undef CursorShape

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace Paintwell {
class Context;
class GLDevice;
struct Font;
}  // namespace Paintwell

namespace Wispkit::platform {

class Surface {
public:
    /// Draws the whole window through the context it is given.
    using Painter = std::function<void(Paintwell::Context*)>;

    /// overrideRedirect: placed and stacked by us alone (a menu); otherwise
    /// the window manager handles it as any top-level window. Null when no
    /// window or device could be made.
    static std::unique_ptr<Surface> create(Display* display, bool overrideRedirect, long eventMask);
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    ::Window id() const { return window; }
    const Paintwell::Font* font() const { return textFont; }
    /// The drawn width of text; an estimate when no font could be made.
    float textWidth(const std::string& text) const;
    /// Moves and sizes the window, then draws it once while it is still
    /// unmapped: the device was made at 1 x 1, and a software GL driver takes
    /// in a new size only at the next swap, so without this unseen frame the
    /// first one after mapping is lost and the window stays blank.
    void place(const PopupRect& rect, const Painter& paint);
    /// Draws the window; one that cannot draw keeps what it showed.
    void render(const Painter& paint);

private:
    explicit Surface(Display* display) : display(display) {}
    bool createWindow(bool overrideRedirect, long eventMask);

    Display* display;
    ::Window window = 0;
    Colormap colormap = 0;
    Paintwell::GLDevice* device = nullptr;
    Paintwell::Font* textFont = nullptr;
};

/// A plain rectangle of colour (0xAARRGGBB), for the surfaces' panels,
/// edges and highlights.
void fillRect(Paintwell::Context* context, float x, float y, float w, float h, std::uint32_t colour);

}  // namespace Wispkit::platform
