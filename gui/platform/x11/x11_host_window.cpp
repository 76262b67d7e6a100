// The host's top-level window around the editor: what the editor's question
// is transient for, and what the module's dialog programs attach to.
#include "gui/platform/x11/x11_window.h"

#include "services/user_prompt.h"

#include <cstdint>

namespace Wispkit::platform {

namespace {

::Window parentOf(Display* display, ::Window id, ::Window* root) {
    ::Window parent = 0, *children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, id, root, &parent, &children, &count) == 0) return 0;
    if (children != nullptr) XFree(children);
    return parent;
}

bool hasProperty(Display* display, ::Window id, Atom property) {
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, id, property, 0, 0, False, AnyPropertyType, &type, &format, &items, &after,
                           &data) != Success)
        return false;
    if (data != nullptr) XFree(data);
    return type != 0;
}

}  // namespace

// A window manager marks the windows it manages with WM_STATE; with a
// reparenting one, the ancestor just below the root is its frame, not the host's window.
::Window hostTopLevel(Window* window) {
    if (window->destroyed) return 0;
    Display* display = window->display;
    Atom managed = XInternAtom(display, "WM_STATE", True);  // None while no window manager ever ran
    ::Window root = 0;
    ::Window below = 0;
    for (::Window current = parentOf(display, window->id, &root); current != 0 && current != root;
         current = parentOf(display, current, &root)) {
        if (managed != 0 && hasProperty(display, current, managed)) return current;
        below = current;
    }
    return below;
}

void offerPromptParent(Window* window) {
    if (window->promptParentOffered) return;
    window->promptParentOffered = true;
    window->promptParent = hostTopLevel(window);
    if (window->promptParent != 0)
        Services::setPromptParent(reinterpret_cast<void*>(static_cast<std::uintptr_t>(window->promptParent)));
}

}  // namespace Wispkit::platform
