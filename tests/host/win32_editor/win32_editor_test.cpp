// The module's editor as a Windows host drives it: effEditOpen with a window
// of the host's, the host's message loop running the editor's timer and
// paints, effEditClose; real input messages sent to the editor's child window
// reaching the host as begin, automate and end.
#include "test_host.h"
#include "win32_test_window.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace {

using HostTest::Effect;
using HostTest::host;
using Gestures = std::vector<std::string>;
using Win32Test::pumpFor;

constexpr int kDepth = 2, kShape = 6, kRange = 8;

// The host's plug-in window: a visible top-level window with a client area
// of the editor's size. One for the whole program: destroying a top-level
// window costs Wine two seconds.
class HostWindow {
public:
    HostWindow() {
        hwnd = Win32Test::openHostWindow("TallowTestHost", WHITE_BRUSH, 60, 300, 480, 110);
        pumpFor(50);
    }

    std::vector<HWND> children() const {
        std::vector<HWND> found;
        EnumChildWindows(
            hwnd,
            [](HWND child, LPARAM list) -> BOOL {
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found;
    }
    // A child window filling the client area, the window the editor is given
    // (as hosts that embed editors in a panel of their own do).
    HWND panel() const {
        return CreateWindowExA(0, "TallowTestHost", "panel", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 480, 110,
                               hwnd, nullptr, GetModuleHandleA(nullptr), nullptr);
    }

    HWND hwnd = nullptr;
};

std::string automate(int index, float value) {
    char text[64];
    std::snprintf(text, sizeof text, "automate %d %.4f", index, value);
    return text;
}

// The host's record of edit gestures since the last call, one line per call.
Gestures takeGestures() {
    Gestures lines;
    for (const auto& call : host().calls) {
        char text[64];
        if (call.opcode == vst::audioMasterBeginEdit) std::snprintf(text, sizeof text, "begin %d", call.index);
        else if (call.opcode == vst::audioMasterEndEdit)
            std::snprintf(text, sizeof text, "end %d", call.index);
        else if (call.opcode == vst::audioMasterAutomate)
            std::snprintf(text, sizeof text, "%s", automate(call.index, call.opt).c_str());
        else
            continue;
        lines.push_back(text);
    }
    host().calls.clear();
    return lines;
}

class Win32Editor : public ::testing::Test {
protected:
    void SetUp() override {
        // A pointer over the windows would add moves and leaves of its own.
        SetCursorPos(1010, 750);
        host().reset();
        effect.start();
    }
    // As a host does: the editor closed, then the window it was given destroyed.
    void TearDown() override {
        effect.dispatch(vst::effEditClose);
        if (panel != nullptr) DestroyWindow(panel);
        pumpFor(20);
    }

    void open() {
        panel = window.panel();
        ASSERT_EQ(effect.dispatch(vst::effEditOpen, 0, 0, panel), 1);
        pumpFor(200);
        editor = FindWindowExA(panel, nullptr, "WispkitWinwrapper", nullptr);
        ASSERT_NE(editor, nullptr);
        host().calls.clear();
    }
    void send(UINT message, WPARAM wParam, int x, int y) {
        SendMessageA(editor, message, wParam, MAKELPARAM(x, y));
        pumpFor(15);
    }
    void drag(int x, int y, int dy, WPARAM keys = 0) {
        send(WM_MOUSEMOVE, keys, x, y);
        send(WM_LBUTTONDOWN, MK_LBUTTON | keys, x, y);
        send(WM_MOUSEMOVE, MK_LBUTTON | keys, x, y + dy);
        send(WM_LBUTTONUP, keys, x, y + dy);
    }
    // One wheel notch (positive: away from the user) at (x, y) of the editor.
    void wheel(int x, int y, int notches, WPARAM keys = 0) {
        POINT point{x, y};
        ClientToScreen(editor, &point);
        SendMessageA(editor, WM_MOUSEWHEEL, MAKEWPARAM(keys, 120 * notches), MAKELPARAM(point.x, point.y));
        pumpFor(15);
    }
    float value(int index) const { return effect->getParameter(effect.get(), index); }
    void setValue(int index, float v) {
        effect->setParameter(effect.get(), index, v);
        pumpFor(40);  // the editor's timer takes the new value
        host().calls.clear();
    }

    static HostWindow& sharedWindow() {
        static HostWindow* shared = new HostWindow;
        return *shared;
    }
    HostWindow& window = sharedWindow();
    Effect effect;
    HWND panel = nullptr;
    HWND editor = nullptr;
};

using Win32Test::Holdings;
using Win32Test::holdings;

// Hosts destroy the window they gave the editor after effEditClose; the
// editor's window goes with it.
TEST_F(Win32Editor, OpensInsideTheHostWindowAndClosesManyTimesWithoutGrowth) {
    const ULONGLONG start = GetTickCount64();
    Holdings after1;
    constexpr int kRounds = 50;
    for (int round = 0; round < kRounds; ++round) {
        HWND holder = window.panel();
        ASSERT_NE(holder, nullptr);
        ASSERT_EQ(effect.dispatch(vst::effEditOpen, 0, 0, holder), 1);
        EXPECT_EQ(effect.dispatch(vst::effEditOpen, 0, 0, holder), 1);  // already open: nothing new
        pumpFor(round == 0 ? 200 : 20);
        HWND editor = FindWindowExA(holder, nullptr, "WispkitWinwrapper", nullptr);
        EXPECT_NE(editor, nullptr);
        EXPECT_EQ(window.children(), (std::vector<HWND>{holder, editor}));
        effect.dispatch(vst::effEditClose);
        DestroyWindow(holder);
        pumpFor(5);
        EXPECT_FALSE(IsWindow(editor));
        // The first round's objects (the window class, fonts, the GL driver's
        // own) stay for the module's life; later rounds add none.
        if (round == 1) after1 = holdings();
    }
    EXPECT_TRUE(window.children().empty());
    const Holdings last = holdings();
    EXPECT_EQ(last, after1);
    EXPECT_GT(last.gdi, 0u);  // the count sees something
    std::printf("%d rounds in %llu ms; ", kRounds, static_cast<unsigned long long>(GetTickCount64() - start));
    PrintTo(last, &std::cout);
    std::printf("\n");
}

TEST_F(Win32Editor, KnobDragsFineModeAndTheWheelReachTheHostAsGestures) {
    open();
    const float depth = value(kDepth);
    drag(206, 60, -40);  // a tenth of the range up
    const float up = std::min(1.0f, depth + 0.1f);
    EXPECT_EQ(takeGestures(), (Gestures{"begin 2", automate(kDepth, up), "end 2"}));

    drag(206, 60, 40, MK_SHIFT);  // fine: a hundredth down
    drag(206, 60, 40, MK_CONTROL);
    EXPECT_EQ(takeGestures(), (Gestures{"begin 2", automate(kDepth, up - 0.01f), "end 2", "begin 2",
                                        automate(kDepth, up - 0.02f), "end 2"}));

    const float before = value(kDepth);
    wheel(206, 60, 1);
    wheel(206, 60, -1, MK_SHIFT);
    EXPECT_EQ(takeGestures(), (Gestures{"begin 2", automate(kDepth, before + 0.05f), "end 2", "begin 2",
                                        automate(kDepth, before + 0.045f), "end 2"}));
}

TEST_F(Win32Editor, DoubleClickRightClickDuringADragTheSwitchAndTheRangeWheel) {
    open();
    setValue(kDepth, 0.9f);
    send(WM_LBUTTONDBLCLK, MK_LBUTTON, 206, 60);
    send(WM_LBUTTONUP, 0, 206, 60);
    EXPECT_EQ(takeGestures(), (Gestures{"begin 2", automate(kDepth, 0.5f), "end 2"}));  // the default

    // The right button during a drag sets the centre and ends the gesture;
    // the left button's release then changes nothing.
    setValue(kDepth, 0.2f);
    send(WM_LBUTTONDOWN, MK_LBUTTON, 206, 60);
    send(WM_MOUSEMOVE, MK_LBUTTON, 206, 20);
    send(WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, 206, 20);
    send(WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON, 206, 0);
    send(WM_RBUTTONUP, MK_LBUTTON, 206, 0);
    send(WM_LBUTTONUP, 0, 206, 0);
    EXPECT_EQ(takeGestures(), (Gestures{"begin 2", automate(kDepth, 0.3f), automate(kDepth, 0.5f), "end 2"}));
    EXPECT_FLOAT_EQ(value(kDepth), 0.5f);

    // The switch turns on from 0.5 and off from just above it.
    setValue(kShape, 0.5f);
    send(WM_LBUTTONDOWN, MK_LBUTTON, 206, 96);
    send(WM_LBUTTONUP, 0, 206, 96);
    EXPECT_EQ(takeGestures(), (Gestures{"begin 6", automate(kShape, 1.0f), "end 6"}));
    setValue(kShape, 0.51f);
    send(WM_LBUTTONDOWN, MK_LBUTTON, 206, 96);
    send(WM_LBUTTONUP, 0, 206, 96);
    EXPECT_EQ(takeGestures(), (Gestures{"begin 6", automate(kShape, 0.0f), "end 6"}));

    // The range button's wheel: one notch towards the user is the next choice.
    setValue(kRange, 0.4f);
    wheel(98, 96, -1);
    EXPECT_EQ(takeGestures(), (Gestures{"begin 8", automate(kRange, 2.0f / 3.0f), "end 8"}));
}

}  // namespace
