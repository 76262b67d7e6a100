#include "fake_window.h"

#include "gui/menu.h"
#include "gui/platform/native_window.h"

namespace HeadlessTest {

WindowSystem& windowSystem() {
    static WindowSystem system;
    return system;
}

}  // namespace HeadlessTest

namespace Wispkit::platform {

using HeadlessTest::windowSystem;

struct Window {
    Winwrapper* wrapper;
    bool captured = false;
    bool timer = false;
    bool shown = true;
};

namespace {

// Shows itself as the wrapper's windows do: the wrapper hears that the
// owner's menu is open; the test then picks an item through the wrapper.
class FakeMenu : public Menu {
public:
    FakeMenu(Winwrapper* wrapper, Control* owner) : wrapper(wrapper), owner(owner) {}
    bool addItem(const char* text, unsigned id, bool enabled) override {
        items.push_back({text, id, enabled});
        return true;
    }
    bool addSeparator() override {
        items.push_back({"-", 0, false});
        return true;
    }
    bool show(int x, int y, int align) override {
        auto& system = windowSystem();
        system.menuOwner = owner;
        system.menuItems = items;
        system.menuX = x;
        system.menuY = y;
        system.menuAlign = align;
        ++system.menusShown;
        wrapper->menuShown(owner);
        return true;
    }

private:
    Winwrapper* wrapper;
    Control* owner;
    std::vector<HeadlessTest::MenuItem> items;
};

}  // namespace

Window* createWindow(Winwrapper* wrapper, int, int, void*) {
    ++windowSystem().windowsCreated;
    ++windowSystem().windowsAlive;
    ++windowSystem().windowsShown;
    return new Window{wrapper};
}

void destroyWindow(Window* window) {
    if (window->timer) --windowSystem().timersRunning;
    --windowSystem().windowsAlive;
    if (window->shown) --windowSystem().windowsShown;
    delete window;
}

bool closesWithEditor() { return windowSystem().closesWithEditor; }

void hideWindow(Window* window) {
    if (window->shown) --windowSystem().windowsShown;
    window->shown = false;
}

void showWindow(Window* window) {
    if (!window->shown) ++windowSystem().windowsShown;
    window->shown = true;
}

int eventFd(Window*) { return -1; }

unsigned long long handleOf(Window* window) { return reinterpret_cast<unsigned long long>(window); }

Paintwell::NativeWindow drawable(Window*) { return Paintwell::NativeWindow{}; }

void invalidate(Window*) { ++windowSystem().invalidations; }

void paintBlack(Window*) {}

void pump(Window*) {}

bool startTimer(Window* window) {
    if (!window->timer) ++windowSystem().timersRunning;
    window->timer = true;
    return true;
}

void stopTimer(Window* window) {
    if (window->timer) --windowSystem().timersRunning;
    window->timer = false;
}

void setCapture(Window* window) { window->captured = true; }

void releaseCapture(Window* window) { window->captured = false; }

bool hasCapture(Window* window) { return window->captured; }

void confirm(Window*, const char* caption, const char* text, ConfirmedAction onOk) {
    windowSystem().questions.push_back(std::string(caption) + "|" + text);
    if (windowSystem().confirmAnswer) onOk();
}

void setCursor(Window*, CursorShape) {}

Menu* createMenu(Winwrapper* wrapper, Control* owner) { return new FakeMenu(wrapper, owner); }

void openAddress(const char* address) { windowSystem().openedAddresses.push_back(address); }

}  // namespace Wispkit::platform
