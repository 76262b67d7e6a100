// The wrapper's child window under real messages: its class and styles,
// mouse messages into the tree, capture, the timer, close and destruction.
#include "host_window.h"

#include "gui/platform/win32/win32_window.h"
#include "services/user_prompt.h"

#include <gtest/gtest.h>

namespace {

using namespace WispkitTest;
using Strings = std::vector<std::string>;

class WrapperWindow : public ::testing::Test {
protected:
    WrapperWindow()
        : a(new Recorder(window.wrapper, "A", 10, 10, 100, 50)), b(new Recorder(window.wrapper, "B", 200, 10, 100, 50))
    {
        journal.clear();
    }

    LPARAM at(int x, int y) { return MAKELPARAM(x, y); }

    // The wheel message carries screen coordinates.
    LPARAM screenAt(int x, int y)
    {
        POINT point = onScreen(window.child, x, y);
        return MAKELPARAM(point.x, point.y);
    }

    HostWindow window;
    Recorder* a;
    Recorder* b;
};

TEST_F(WrapperWindow, IsAChildOfTheHostMadeFromTheModulesClassAndHoldsTheWrapper)
{
    ASSERT_NE(window.child, nullptr);
    EXPECT_EQ(GetParent(window.child), window.host);
    char name[64] = {};
    GetClassNameA(window.child, name, sizeof name);
    EXPECT_STREQ(name, "WispkitWinwrapper");
    EXPECT_EQ(GetClassLongPtrA(window.child, GCL_STYLE), CS_DBLCLKS);
    GetWindowTextA(window.child, name, sizeof name);
    EXPECT_STREQ(name, "control");
    EXPECT_EQ(GetWindowLongA(window.child, GWL_STYLE) & (WS_CHILD | WS_VISIBLE | WS_POPUP | WS_CAPTION),
              WS_CHILD | WS_VISIBLE);
    EXPECT_EQ(GetWindowLongPtrA(window.child, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(window.wrapper));
    RECT client{};
    GetClientRect(window.child, &client);
    EXPECT_EQ(client.right, 480);
    EXPECT_EQ(client.bottom, 110);

    // Without a parent the window stands alone, from the same class.
    Controller other;
    auto* topLevel = new Wispkit::Winwrapper(&other, 200, 100, nullptr);
    HWND alone = reinterpret_cast<HWND>(topLevel->nativeHandle());
    ASSERT_NE(alone, nullptr);
    EXPECT_EQ(GetClassWord(alone, GCW_ATOM), GetClassWord(window.child, GCW_ATOM));
    EXPECT_EQ(GetWindowLongA(alone, GWL_STYLE) & (WS_CHILD | WS_VISIBLE), WS_VISIBLE);
    EXPECT_EQ(GetParent(alone), nullptr);
    DestroyWindow(alone);
    EXPECT_EQ(journal, Strings{"window destroyed"});

    // The manifest that registration and creation run under is the module's own.
    Wispkit::platform::ManifestScope manifest;
    EXPECT_TRUE(manifest.active());
}

TEST_F(WrapperWindow, MouseMessagesReachTheControlUnderThePointerInItsOwnCoordinates)
{
    SendMessageA(window.child, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, at(15, 20));
    SendMessageA(window.child, WM_LBUTTONUP, MK_CONTROL, at(15, 20));
    SendMessageA(window.child, WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT | MK_CONTROL, at(205, 15));
    SendMessageA(window.child, WM_RBUTTONUP, 0, at(205, 15));
    SendMessageA(window.child, WM_LBUTTONDBLCLK, MK_LBUTTON, at(299, 59));
    SendMessageA(window.child, WM_RBUTTONDBLCLK, MK_RBUTTON, at(200, 10));
    SendMessageA(window.child, WM_MBUTTONDOWN, MK_MBUTTON, at(205, 15));
    PostMessageA(window.child, WM_MOUSEMOVE, 0, at(20, 20));
    PostMessageA(window.child, WM_MOUSELEAVE, 0, 0);
    PostMessageA(window.child, WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, 120), screenAt(210, 20));
    PostMessageA(window.child, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, -120), screenAt(210, 20));
    PostMessageA(window.child, WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT | MK_CONTROL, 240), screenAt(11, 11));
    PostMessageA(window.child, WM_LBUTTONDOWN, MK_LBUTTON, at(150, 80));
    pumpPending();

    EXPECT_EQ(journal, (Strings{
                           "A down 5,10 b1 k1",
                           "A up 5,10 b1 k2",
                           "A leave",
                           "B down 5,5 b2 k3",
                           "B up 5,5 b2 k0",
                           "B double 99,49 b1 k0",
                           "B double 0,0 b2 k0",
                           "B leave",
                           "A move 10,10 b0 k0",
                           "A leave",
                           "B wheel 10,10 +1.000 k1",
                           "B wheel 10,10 -1.000 k2",
                           "B leave",
                           "A wheel 1,1 +2.000 k3",
                           "A leave",
                       }));
}

TEST_F(WrapperWindow, ADragKeepsEveryButtonAndEndsWithOneCaptureLoss)
{
    a->dragOnPress = true;
    SendMessageA(window.child, WM_LBUTTONDOWN, MK_LBUTTON, at(15, 20));
    EXPECT_EQ(GetCapture(), window.child);
    EXPECT_TRUE(window.wrapper->hasMouseCapture(a));
    EXPECT_FALSE(window.wrapper->hasMouseCapture(b));
    SendMessageA(window.child, WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, at(205, 15));
    SendMessageA(window.child, WM_MOUSEMOVE, MK_LBUTTON, at(-30, -5));
    SendMessageA(window.child, WM_LBUTTONUP, 0, at(-30, -5));
    EXPECT_EQ(journal, (Strings{"A down 5,10 b1 k0", "A down 195,5 b2 k0", "A move -40,-15 b0 k0",
                                "A up -40,-15 b1 k0", "A capture lost"}));
    EXPECT_NE(GetCapture(), window.child);
    EXPECT_EQ(window.wrapper->capturedControl(), nullptr);

    // Another window taking the capture ends the drag as well.
    journal.clear();
    SendMessageA(window.child, WM_LBUTTONDOWN, MK_LBUTTON, at(15, 20));
    SetCapture(window.host);
    SendMessageA(window.child, WM_MOUSEMOVE, 0, at(205, 15));
    ReleaseCapture();
    EXPECT_EQ(journal, (Strings{"A down 5,10 b1 k0", "A capture lost", "A leave", "B move 5,5 b0 k0"}));
    EXPECT_FALSE(window.wrapper->hasMouseCapture(a));
}

class TickCounter : public Wispkit::ITimerController {
public:
    void onTimer() override { ++ticks; }
    int ticks = 0;
};

TEST_F(WrapperWindow, TheTimerTicksAboutEveryTenMillisecondsUntilStopped)
{
    TickCounter counter;
    window.wrapper->setTimerTarget(&counter);
    pumpFor(500);
    // 50 ticks when the system keeps time exactly; coarse timers give fewer.
    EXPECT_GE(counter.ticks, 10);
    EXPECT_LE(counter.ticks, 60);

    window.wrapper->setTimerTarget(nullptr);
    int stopped = counter.ticks;
    pumpFor(100);
    EXPECT_EQ(counter.ticks, stopped);
    // Without a target a timer message of any id is ignored; with one, counted.
    SendMessageA(window.child, WM_TIMER, 7, 0);
    EXPECT_EQ(counter.ticks, stopped);
    window.wrapper->setTimerTarget(&counter);
    SendMessageA(window.child, WM_TIMER, 7, 0);
    EXPECT_GT(counter.ticks, stopped);
}

TEST_F(WrapperWindow, ACommandWithoutAMenuOwnerDoesNothing)
{
    SendMessageA(window.child, WM_COMMAND, 11, 0);
    PostMessageA(window.child, WM_COMMAND, 12, 0);
    pumpPending();
    EXPECT_TRUE(journal.empty());
}

TEST_F(WrapperWindow, CloseAsksTheControllerAndDestructionDeletesTheTreeLastChildFirst)
{
    TickCounter counter;
    window.wrapper->setTimerTarget(&counter);
    window.controller.closable = false;
    SendMessageA(window.child, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window.child));
    EXPECT_TRUE(journal.empty());

    window.controller.closable = true;
    SendMessageA(window.child, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window.child));
    EXPECT_EQ(journal, (Strings{"window destroyed", "B deleted", "A deleted"}));
    window.wrapper = nullptr;
    pumpFor(30);
}

TEST(WrapperLifetime, TheHostDestroyingItsWindowEndsTheWrapper)
{
    HostWindow window(true);
    new Recorder(window.wrapper, "A", 10, 10, 100, 50);
    new Recorder(window.wrapper, "B", 200, 10, 100, 50);
    journal.clear();
    DestroyWindow(window.host);
    EXPECT_FALSE(IsWindow(window.child));
    EXPECT_EQ(journal, (Strings{"window destroyed", "B deleted", "A deleted"}));
}

struct PromptSeen {
    int kind = -1;
    std::string title, text;
    int answer = 0;
};
PromptSeen prompt;

int answerPrompt(int kind, const char* title, const char* text)
{
    prompt.kind = kind;
    prompt.title = title;
    prompt.text = text;
    return prompt.answer;
}

TEST_F(WrapperWindow, ConfirmationsAskOkCancelAndCursorsTakeTheSystemsShapes)
{
    Services::setPromptAnswerer(answerPrompt);
    prompt.answer = 1;
    EXPECT_TRUE(a->confirm("Reset", "Reset every parameter?"));
    EXPECT_EQ(prompt.kind, Services::kPromptOkCancel);
    EXPECT_EQ(prompt.title, "Reset");
    EXPECT_EQ(prompt.text, "Reset every parameter?");
    prompt.answer = 0;
    EXPECT_FALSE(a->confirm("Reset", "Reset every parameter?"));
    Services::setPromptAnswerer(nullptr);

    window.wrapper->setCursor(Wispkit::CursorShape::Hand);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_HAND));
    window.wrapper->setCursor(Wispkit::CursorShape::VerticalResize);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_SIZENS));
    window.wrapper->setCursor(Wispkit::CursorShape::Arrow);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));
}

}  // namespace
