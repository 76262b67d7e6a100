// The Menu the toolkit's controls fill on X11: it only collects the items;
// show opens the popup, hands it the items and returns at once.
#include "gui/control.h"
#include "gui/container.h"
#include "gui/menu.h"
#include "gui/platform/x11/x11_popup.h"
#include "gui/platform/x11/x11_window.h"

#include <vector>

namespace Wispkit::platform {

namespace {

class X11Menu final : public Menu {
public:
    X11Menu(Winwrapper* wrapper, Control* owner) : wrapper(wrapper), owner(owner) {}

    bool addItem(const char* text, unsigned id, bool enabled) override {
        items.push_back(parseItem(text, id, enabled));
        return true;
    }

    bool addSeparator() override {
        items.push_back(separatorItem());
        return true;
    }

    bool show(int x, int y, int align) override;

private:
    Winwrapper* wrapper;
    Control* owner;
    std::vector<PopupItem> items;
};

bool X11Menu::show(int x, int y, int align) {
    Window* window = wrapper->nativeWindow();
    // No second menu while a question is open.
    if (window == nullptr || owner == nullptr || window->question) return false;
    int wx = absoluteX(owner->getParent()) + owner->getX() + x;
    int wy = absoluteY(owner->getParent()) + owner->getY() + y;
    // The menu's grab takes the pointer from a drag in progress, as a
    // system menu takes the capture on Windows.
    if (window->grabbed) grabEnded(window);
    window->popup.reset();
    window->popup = Popup::open(window, items, wx, wy, align);
    if (!window->popup) return false;
    wrapper->menuShown(owner);
    return true;
}

}  // namespace

Menu* createMenu(Winwrapper* wrapper, Control* owner) { return new X11Menu(wrapper, owner); }

}  // namespace Wispkit::platform
