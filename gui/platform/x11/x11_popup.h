// The open popup menu on X11, where the system has none: an override-
// redirect surface on the wrapper's connection, holding the pointer and
// keyboard while it is open. It keeps its own
// copy of the items (the owner deletes its Menu right after show) and runs
// on the wrapper's idle pump, which tells the wrapper how it ended.
//
// Threads: the editor's thread. Ownership: the wrapper's platform window
// holds the open popup; ending it closes the window and gives the grabs back.
#pragma once

#include "gui/platform/x11/popup_layout.h"
#include "gui/platform/x11/x11_surface.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
// X.h names a constant CursorShape, which is the toolkit's cursor type here.
#undef CursorShape

#include <memory>
#include <vector>

namespace Paintwell {
class Context;
}  // namespace Paintwell

namespace Wispkit::platform {

struct Window;

class Popup {
public:
    struct Outcome {
        enum Kind { Open, Closed, Chosen } kind = Open;
        unsigned id = 0;
    };

    /// Opens the menu at (x, y) of the wrapper's window; null when no window
    /// or device could be made.
    static std::unique_ptr<Popup> open(Window* window, std::vector<PopupItem> items, int x, int y, int align);
    ~Popup();
    Popup(const Popup&) = delete;
    Popup& operator=(const Popup&) = delete;

    bool owns(::Window id) const { return id == surface->id(); }
    Outcome handleEvent(XEvent& event);
    /// Draws the menu when something changed since it was last drawn.
    void paintIfDue();
    void draw(Paintwell::Context* context);

    PopupRect bounds() const { return rect; }
    int highlighted() const { return highlight; }

private:
    Popup(Display* display, std::vector<PopupItem> items);

    void measure();
    void place();
    void render();
    void grab();
    int itemAt(int x, int y) const;
    int itemTop(int index) const;
    int itemHeight(int index) const;
    void setHighlight(int index);
    int nextEnabled(int from, int step) const;
    Outcome choose(int index) const;
    Outcome pointerMoved(int x, int y);
    Outcome buttonPressed(const XButtonEvent& event);
    Outcome buttonReleased(const XButtonEvent& event);
    Outcome keyPressed(XKeyEvent& event);
    Outcome mnemonic(char key);

    Display* display;
    std::vector<PopupItem> items;
    std::unique_ptr<Surface> surface;
    PopupRect rect{0, 0, 1, 1};
    int highlight = -1;
    bool repaint = true;
    bool pressedInside = false;
    bool pointerGrabbed = false;
    bool keyboardGrabbed = false;
};

}  // namespace Wispkit::platform
