// Real popup menus tracked by the system, answered with keys that a second
// thread posts once the menu shows.
#include "host_window.h"

#include "gui/menu.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using namespace WispkitTest;
using Strings = std::vector<std::string>;

// The visible popup menu window of the given thread, or null.
HWND openMenuOf(DWORD thread)
{
    HWND found = nullptr;
    EnumThreadWindows(
        thread,
        [](HWND hwnd, LPARAM result) -> BOOL {
            char name[16] = {};
            GetClassNameA(hwnd, name, sizeof name);
            if (std::string(name) != "#32768" || !IsWindowVisible(hwnd)) return TRUE;
            *reinterpret_cast<HWND*>(result) = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Records whether the owner's menu counted as open while the menu loop ran.
// The answering thread waits for it before it sends the keys.
class OpenWatch : public Wispkit::ITimerController {
public:
    OpenWatch(Wispkit::Winwrapper* wrapper, Wispkit::Control* owner)
        : wrapper(wrapper), owner(owner), seen(CreateEventA(nullptr, TRUE, FALSE, nullptr))
    {
    }
    ~OpenWatch() override { CloseHandle(seen); }
    void onTimer() override
    {
        if (!wrapper->isMenuOpenFor(owner)) return;
        sawOpen = true;
        SetEvent(seen);
    }
    Wispkit::Winwrapper* wrapper;
    Wispkit::Control* owner;
    HANDLE seen;
    bool sawOpen = false;
};

class PopupMenu : public ::testing::Test {
protected:
    PopupMenu()
        : group(new Wispkit::Container(window.wrapper, 100, 20, 300, 80)),
          owner(new Recorder(group, "owner", 30, 10, 60, 30))
    {
        journal.clear();
    }

    /// Shows a menu of four entries (the second one disabled) at (x, y) of
    /// the owner; a second thread waits for it, notes where it is and posts
    /// the key messages. The menu's screen rectangle comes back.
    RECT showAnswered(int x, int y, int align, std::vector<std::pair<UINT, WPARAM>> keys,
                      OpenWatch* watch = nullptr)
    {
        Wispkit::Menu* menu = owner->getParent()->createMenu(owner);
        menu->addItem("&First", 11, true);
        menu->addItem("&Second", 12, false);
        menu->addSeparator();
        menu->addItem("&Third", 13, true);
        RECT placed{};
        DWORD thread = GetCurrentThreadId();
        HWND target = window.child;
        std::thread answer([&] {
            HWND open = nullptr;
            for (int wait = 0; wait < 1000 && open == nullptr; ++wait) {
                Sleep(5);
                open = openMenuOf(thread);
            }
            if (open != nullptr) GetWindowRect(open, &placed);
            if (watch != nullptr) WaitForSingleObject(watch->seen, 5000);
            for (auto [message, key] : keys) PostMessageA(target, message, key, 0);
        });
        shown = menu->show(x, y, align);
        answer.join();
        delete menu;
        pumpPending();
        return placed;
    }

    /// The screen point of (x, y) of the owner.
    POINT ownerPoint(int x, int y)
    {
        RECT rect{};
        GetWindowRect(window.child, &rect);
        return POINT{rect.left + 100 + 30 + x, rect.top + 20 + 10 + y};
    }

    HostWindow window;
    Wispkit::Container* group;
    Recorder* owner;
    bool shown = false;
};

TEST_F(PopupMenu, AChosenItemReachesTheOwnerOnceAndTheMenuCountsAsOpenWhileItShows)
{
    OpenWatch watch(window.wrapper, owner);
    window.wrapper->setTimerTarget(&watch);
    showAnswered(0, 0, Wispkit::Menu::kAlignLeft, {{WM_KEYDOWN, VK_DOWN}, {WM_KEYDOWN, VK_RETURN}},
                 &watch);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(watch.sawOpen);
    EXPECT_FALSE(window.wrapper->isMenuOpenFor(owner));
    EXPECT_EQ(journal, Strings{"owner command 11"});

    // The owner heard its command: a stray command later finds no owner.
    SendMessageA(window.child, WM_COMMAND, 11, 0);
    showAnswered(0, 0, Wispkit::Menu::kAlignLeft, {{WM_CHAR, 't'}});
    EXPECT_EQ(journal, (Strings{"owner command 11", "owner command 13"}));
}

TEST_F(PopupMenu, DismissedOrDisabledChoicesSendNothing)
{
    showAnswered(0, 0, Wispkit::Menu::kAlignLeft, {{WM_KEYDOWN, VK_ESCAPE}});
    EXPECT_FALSE(window.wrapper->isMenuOpenFor(owner));
    // The disabled item's key and Return on it choose nothing; Escape closes.
    showAnswered(0, 0, Wispkit::Menu::kAlignLeft,
                 {{WM_CHAR, 's'}, {WM_KEYDOWN, VK_DOWN}, {WM_KEYDOWN, VK_DOWN}, {WM_KEYDOWN, VK_RETURN},
                  {WM_KEYDOWN, VK_ESCAPE}});
    EXPECT_FALSE(window.wrapper->isMenuOpenFor(owner));
    pumpFor(50);
    EXPECT_TRUE(journal.empty());
}

TEST_F(PopupMenu, OpensAtTheOwnersPointWithTheRequestedEdge)
{
    POINT point = ownerPoint(5, 40);
    RECT left = showAnswered(5, 40, Wispkit::Menu::kAlignLeft, {{WM_KEYDOWN, VK_ESCAPE}});
    EXPECT_EQ(left.left, point.x);
    EXPECT_EQ(left.top, point.y);
    RECT right = showAnswered(5, 40, Wispkit::Menu::kAlignRight, {{WM_KEYDOWN, VK_ESCAPE}});
    EXPECT_EQ(right.right, point.x);
    EXPECT_EQ(right.top, point.y);
    RECT centre = showAnswered(5, 40, Wispkit::Menu::kAlignCentre, {{WM_KEYDOWN, VK_ESCAPE}});
    EXPECT_NEAR((centre.left + centre.right) / 2, point.x, 1);
    EXPECT_EQ(centre.top, point.y);
    EXPECT_GT(left.right - left.left, 20);
    EXPECT_TRUE(journal.empty());
}

}  // namespace
