// The wrapper's child window under real messages: its class and styles,
// mouse messages into the tree, capture, the timer, close and destruction.
#include "host_window.h"

#include "gui/platform/win32/win32_window.h"
#include "services/user_prompt.h"

#include <gtest/gtest.h>

namespace {

using namespace WispkitTest;

LPARAM at(int x, int y) { return MAKELPARAM(x, y); }

class WrapperWindow : public ::testing::Test {
protected:
    // The wheel message carries screen coordinates.
    LPARAM screenAt(int x, int y) {
        POINT point = onScreen(window.child, x, y);
        return MAKELPARAM(point.x, point.y);
    }

    HostWindow window;
};

TEST_F(WrapperWindow, IsAChildOfTheHostMadeFromTheModulesClassAndHoldsTheWrapper) {
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
    EXPECT_EQ(client.right, 360);
    EXPECT_EQ(client.bottom, 140);

    // Without a parent the window stands alone, from the same class.
    Controller other;
    auto* topLevel = new Wispkit::Winwrapper(&other, 200, 100, nullptr);
    HWND alone = reinterpret_cast<HWND>(topLevel->nativeHandle());
    ASSERT_NE(alone, nullptr);
    EXPECT_EQ(GetClassWord(alone, GCW_ATOM), GetClassWord(window.child, GCW_ATOM));
    EXPECT_EQ(GetWindowLongA(alone, GWL_STYLE) & (WS_CHILD | WS_VISIBLE), WS_VISIBLE);
    EXPECT_EQ(GetParent(alone), nullptr);
    DestroyWindow(alone);
    EXPECT_EQ(lifetime, Strings{"window destroyed"});

    // The manifest that registration and creation run under is the module's own.
    Wispkit::platform::ManifestScope manifest;
    EXPECT_TRUE(manifest.active());
}

TEST_F(WrapperWindow, MouseMessagesReachTheControlUnderThePointerInItsOwnCoordinates) {
    SendMessageA(window.child, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, at(25, 30));
    SendMessageA(window.child, WM_LBUTTONUP, MK_CONTROL, at(25, 30));
    SendMessageA(window.child, WM_RBUTTONUP, MK_SHIFT | MK_CONTROL, at(205, 25));
    SendMessageA(window.child, WM_LBUTTONDBLCLK, MK_LBUTTON, at(339, 119));
    SendMessageA(window.child, WM_RBUTTONDBLCLK, MK_RBUTTON, at(200, 20));
    SendMessageA(window.child, WM_MBUTTONDOWN, MK_MBUTTON, at(205, 25));
    PostMessageA(window.child, WM_MOUSEMOVE, 0, at(30, 30));
    PostMessageA(window.child, WM_MOUSELEAVE, 0, 0);
    PostMessageA(window.child, WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, 120), screenAt(210, 30));
    PostMessageA(window.child, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, -120), screenAt(210, 30));
    PostMessageA(window.child, WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT | MK_CONTROL, 240), screenAt(21, 21));
    PostMessageA(window.child, WM_LBUTTONDOWN, MK_LBUTTON, at(180, 130));
    pumpPending();

    EXPECT_EQ(window.events(), (Strings{
                                   "left down 5,10 b1 k1",
                                   "left up 5,10 b1 k2",
                                   "left lost",
                                   "left leave",
                                   "right up 5,5 b2 k3",
                                   "right double 139,99 b1 k0",
                                   "right double 0,0 b2 k0",
                                   "right leave",
                                   "left move 10,10 b0 k0",
                                   "left leave",
                                   "right wheel 10,10 +1.0 k1",
                                   "right wheel 10,10 -1.0 k2",
                                   "right leave",
                                   "left wheel 1,1 +2.0 k3",
                                   "left leave",
                               }));
}

TEST_F(WrapperWindow, ADragKeepsEveryButtonAndEndsWithOneCaptureLoss) {
    SendMessageA(window.child, WM_LBUTTONDOWN, MK_LBUTTON, at(25, 30));
    EXPECT_EQ(GetCapture(), window.child);
    EXPECT_TRUE(window.wrapper->hasMouseCapture(window.left));
    EXPECT_FALSE(window.wrapper->hasMouseCapture(window.right));
    SendMessageA(window.child, WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, at(205, 25));
    SendMessageA(window.child, WM_MOUSEMOVE, MK_LBUTTON, at(-30, -5));
    SendMessageA(window.child, WM_LBUTTONUP, 0, at(-30, -5));
    EXPECT_EQ(window.events(), (Strings{"left down 5,10 b1 k0", "left down 185,5 b2 k0", "left move -50,-25 b0 k0",
                                        "left up -50,-25 b1 k0", "left lost"}));
    EXPECT_NE(GetCapture(), window.child);
    EXPECT_EQ(window.wrapper->capturedControl(), nullptr);

    // Another window taking the capture ends the drag as well.
    window.log.events.clear();
    SendMessageA(window.child, WM_LBUTTONDOWN, MK_LBUTTON, at(25, 30));
    SetCapture(window.host);
    SendMessageA(window.child, WM_MOUSEMOVE, 0, at(205, 25));
    ReleaseCapture();
    EXPECT_EQ(window.events(), (Strings{"left down 5,10 b1 k0", "left lost", "left leave", "right move 5,5 b0 k0"}));
    EXPECT_FALSE(window.wrapper->hasMouseCapture(window.left));
}

class TickCounter : public Wispkit::ITimerController {
public:
    void onTimer() override { ++ticks; }
    int ticks = 0;
};

TEST_F(WrapperWindow, TheTimerTicksAboutEveryTenMillisecondsUntilStopped) {
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

TEST_F(WrapperWindow, ACommandWithoutAMenuOwnerDoesNothing) {
    SendMessageA(window.child, WM_COMMAND, WispkitDemo::kReset, 0);
    PostMessageA(window.child, WM_COMMAND, WispkitDemo::kLearn, 0);
    pumpPending();
    EXPECT_TRUE(window.log.events.empty());
}

TEST_F(WrapperWindow, CloseAsksTheControllerAndDestructionDeletesTheTreeLastChildFirst) {
    TickCounter counter;
    window.wrapper->setTimerTarget(&counter);
    window.controller.closable = false;
    SendMessageA(window.child, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window.child));
    EXPECT_TRUE(lifetime.empty());

    window.controller.closable = true;
    SendMessageA(window.child, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window.child));
    EXPECT_EQ(lifetime, (Strings{"window destroyed", "right deleted", "left deleted"}));
    pumpFor(30);
}

TEST(WrapperLifetime, TheHostDestroyingItsWindowEndsTheWrapper) {
    HostWindow window(true);
    DestroyWindow(window.host);
    EXPECT_FALSE(IsWindow(window.child));
    EXPECT_EQ(lifetime, (Strings{"window destroyed", "right deleted", "left deleted"}));
}

struct PromptSeen {
    int kind = -1;
    std::string title, text;
    int answer = 0;
};
PromptSeen prompt;

int answerPrompt(int kind, const char* title, const char* text) {
    prompt.kind = kind;
    prompt.title = title;
    prompt.text = text;
    return prompt.answer;
}

TEST_F(WrapperWindow, ConfirmationsAskOkCancelAndCursorsTakeTheSystemsShapes) {
    Services::setPromptAnswerer(answerPrompt);
    // The modal box has its answer before confirm returns.
    int confirmed = 0;
    prompt.answer = 1;
    window.left->confirm("Reset", "Reset every parameter?", [&confirmed] { ++confirmed; });
    EXPECT_EQ(confirmed, 1);
    EXPECT_EQ(prompt.kind, Services::kPromptOkCancel);
    EXPECT_EQ(prompt.title, "Reset");
    EXPECT_EQ(prompt.text, "Reset every parameter?");
    prompt.answer = 0;
    window.left->confirm("Reset", "Reset every parameter?", [&confirmed] { ++confirmed; });
    EXPECT_EQ(confirmed, 1);
    Services::setPromptAnswerer(nullptr);

    Wispkit::setCursor(window.left, Wispkit::CursorShape::Hand);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_HAND));
    Wispkit::setCursor(window.left, Wispkit::CursorShape::VerticalResize);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_SIZENS));
    Wispkit::setCursor(window.left, Wispkit::CursorShape::Arrow);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));
}

}  // namespace
