// Real popup menus tracked by the system (the demo pads' menu: Reset, Learn,
// a separator, a disabled Unlearn, Web), answered with keys that a second
// thread posts once the menu shows.
#include "host_window.h"

#include "gui/menu.h"

#include <gtest/gtest.h>

#include <thread>
#include <utility>

namespace {

using namespace WispkitTest;
using Win32Test::openMenuOf;
using Keys = std::vector<std::pair<UINT, WPARAM>>;

// Sees from the wrapper's timer, which runs inside the menu loop, that the
// owner's menu counts as open; the answering thread waits for that.
class OpenWatch : public Wispkit::ITimerController {
public:
    OpenWatch(Wispkit::Winwrapper* wrapper, Wispkit::Control* owner) : wrapper(wrapper), owner(owner) {}
    ~OpenWatch() override { CloseHandle(seen); }
    void onTimer() override {
        if (wrapper->isMenuOpenFor(owner)) SetEvent(seen);
    }
    bool sawOpen() const { return WaitForSingleObject(seen, 0) == WAIT_OBJECT_0; }

    Wispkit::Winwrapper* wrapper;
    Wispkit::Control* owner;
    HANDLE seen = CreateEventA(nullptr, TRUE, FALSE, nullptr);
};

class PopupMenu : public ::testing::Test {
protected:
    /// Runs open (which shows a menu and returns when it closes) while a
    /// second thread waits for the menu, notes where it is and posts keys.
    /// The menu's screen rectangle comes back.
    template <typename Open>
    RECT answered(Open open, Keys keys, OpenWatch* watch = nullptr) {
        RECT placed{};
        DWORD thread = GetCurrentThreadId();
        HWND target = window.child;
        std::thread answer([&] {
            HWND menu = nullptr;
            for (int wait = 0; wait < 1000 && menu == nullptr; ++wait) {
                Sleep(5);
                menu = openMenuOf(thread);
            }
            if (menu != nullptr) GetWindowRect(menu, &placed);
            if (watch != nullptr) WaitForSingleObject(watch->seen, 5000);
            for (auto [message, key] : keys) PostMessageA(target, message, key, 0);
        });
        open();
        answer.join();
        pumpPending();
        return placed;
    }

    RECT shownAt(WispkitDemo::Pad* pad, int x, int y, int align, Keys keys) {
        return answered([&] { EXPECT_TRUE(pad->openMenu(x, y, align)); }, std::move(keys));
    }

    HostWindow window;
};

TEST_F(PopupMenu, ARightClickOpensTheMenuAndTheChosenItemReachesTheOwnerOnce) {
    OpenWatch watch(window.wrapper, window.left);
    window.wrapper->setTimerTarget(&watch);
    answered([&] { SendMessageA(window.child, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(25, 30)); },
             {{WM_KEYDOWN, VK_DOWN}, {WM_KEYDOWN, VK_RETURN}}, &watch);
    EXPECT_TRUE(watch.sawOpen());
    EXPECT_EQ(window.events(), (Strings{"left down 5,10 b2 k0", "left command 10"}));

    // The owner heard its command: a stray command later finds no owner.
    SendMessageA(window.child, WM_COMMAND, WispkitDemo::kReset, 0);
    shownAt(window.right, 0, 0, Wispkit::Menu::kAlignLeft, {{WM_CHAR, 'l'}});
    EXPECT_EQ(window.events(), (Strings{"left down 5,10 b2 k0", "left command 10", "right command 11"}));
}

TEST_F(PopupMenu, DismissedOrDisabledChoicesSendNothingAndTheMenuCountsAsClosed) {
    shownAt(window.left, 0, 0, Wispkit::Menu::kAlignLeft, {{WM_KEYDOWN, VK_ESCAPE}});
    EXPECT_FALSE(window.wrapper->isMenuOpenFor(window.left));
    // The disabled item's key and Return on it choose nothing; Escape closes.
    shownAt(window.left, 0, 0, Wispkit::Menu::kAlignLeft,
            {{WM_CHAR, 'u'},
             {WM_KEYDOWN, VK_DOWN},
             {WM_KEYDOWN, VK_DOWN},
             {WM_KEYDOWN, VK_DOWN},
             {WM_KEYDOWN, VK_RETURN},
             {WM_KEYDOWN, VK_ESCAPE}});
    EXPECT_FALSE(window.wrapper->isMenuOpenFor(window.left));
    pumpFor(50);
    EXPECT_TRUE(window.log.of("command").empty());
}

TEST_F(PopupMenu, OpensAtTheOwnersPointWithTheRequestedEdge) {
    // The owner sits in a container, so its parents' positions count.
    auto* group = new Wispkit::Container(window.wrapper, 100, 10, 200, 120);
    auto* nested = new Pad(group, "nested", 30, 10, 0xFF808080, &window.log);
    RECT rect{};
    GetWindowRect(window.child, &rect);
    POINT point{rect.left + 100 + 30 + 5, rect.top + 10 + 10 + 40};

    RECT left = shownAt(nested, 5, 40, Wispkit::Menu::kAlignLeft, {{WM_KEYDOWN, VK_ESCAPE}});
    EXPECT_EQ(left.left, point.x);
    EXPECT_EQ(left.top, point.y);
    EXPECT_GT(left.right - left.left, 20);
    RECT right = shownAt(nested, 5, 40, Wispkit::Menu::kAlignRight, {{WM_KEYDOWN, VK_ESCAPE}});
    EXPECT_EQ(right.right, point.x);
    EXPECT_EQ(right.top, point.y);
    RECT centre = shownAt(nested, 5, 40, Wispkit::Menu::kAlignCentre, {{WM_KEYDOWN, VK_ESCAPE}});
    EXPECT_NEAR((centre.left + centre.right) / 2, point.x, 1);
    EXPECT_EQ(centre.top, point.y);
}

}  // namespace
