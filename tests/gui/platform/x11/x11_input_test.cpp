// Real input through the X server reaching the pads as Windows would deliver
// it: clicks, drags that hold the pointer outside the window, the wheel with
// modifiers, double clicks by timing and distance, leaving, and a grab the
// server ends during a drag.
#include <gtest/gtest.h>

#include "x11_test_host.h"

#include <X11/keysym.h>

namespace WispkitTest {
namespace {

using WispkitDemo::Event;

class X11Input : public ::testing::Test {
protected:
    TestHost host;
    Editor editor{host};

    const std::vector<Event>& events() { return editor.log.events; }
    bool arrived(const char* what, int count = 1) {
        return editor.pumpUntil([&] { return editor.log.count(what) >= count; });
    }
};

TEST_F(X11Input, ClickAndDragHoldTheCaptureOutsideTheWindowUntilReleaseThenThePadUnderItIsHovered) {
    host.moveTo(50, 60);  // left pad at (20, 20)
    ASSERT_TRUE(arrived("move"));
    host.button(1, true);
    ASSERT_TRUE(arrived("down"));
    Event down = editor.log.of("down").back();
    EXPECT_EQ(down.pad, "left");
    EXPECT_EQ(down.x, 30);
    EXPECT_EQ(down.y, 40);
    EXPECT_EQ(down.button, 1);
    EXPECT_TRUE(editor.wrapper->hasMouseCapture(editor.left));

    // Out of the wrapper and the host's window, then over the other pad.
    host.moveTo(390, 290);
    host.moveTo(-30, -40);
    host.moveTo(250, 50);
    ASSERT_TRUE(editor.pumpUntil([&] { return editor.log.of("move").back().x == 230; }));
    for (const Event& e : editor.log.of("move")) EXPECT_EQ(e.pad, "left");
    EXPECT_TRUE(editor.pumpUntil([&] {
        for (const Event& e : editor.log.of("move"))
            if (e.x == -50 && e.y == -60) return true;
        return false;
    }));
    EXPECT_EQ(editor.log.count("leave"), 0);

    host.button(1, false);
    ASSERT_TRUE(arrived("up"));
    EXPECT_EQ(editor.log.of("up").back().pad, "left");
    EXPECT_EQ(editor.log.of("up").back().x, 230);
    EXPECT_FALSE(editor.wrapper->hasMouseCapture(editor.left));
    EXPECT_EQ(editor.log.count("lost"), 1);  // the pad's own release ends it, once
    // The pad under the pointer takes the hover at once, with no move.
    ASSERT_TRUE(editor.pumpUntil([&] { return events().back().what == "move"; }));
    EXPECT_EQ(events().back().pad, "right");
    EXPECT_EQ(events().back().x, 50);

    // Without capture the next move goes to the pad under the pointer, and
    // leaving the window is the hovered pad's mouseLeave.
    host.moveTo(260, 60);
    ASSERT_TRUE(editor.pumpUntil([&] { return editor.log.of("move").back().pad == "right"; }));
    host.moveTo(380, 200);  // inside the host's window, outside the wrapper
    ASSERT_TRUE(editor.pumpUntil([&] { return !events().empty() && events().back().what == "leave"; }));
    EXPECT_EQ(events().back().pad, "right");
}

TEST_F(X11Input, AMenuTakingThePointerLeavesThePadUnderIt) {
    host.moveTo(260, 60);  // the right pad
    ASSERT_TRUE(arrived("move"));
    host.click(3);  // its menu opens and grabs the pointer
    ASSERT_TRUE(editor.pumpUntil([&] { return editor.wrapper->isMenuOpenFor(editor.right); }));
    host.moveTo(380, 200);  // outside the wrapper, then the menu is dismissed there
    host.tap(XK_Escape);
    ASSERT_TRUE(editor.pumpUntil([&] { return !editor.wrapper->isMenuOpenFor(editor.right); }));
    ASSERT_TRUE(arrived("leave"));
    EXPECT_EQ(editor.log.of("leave").back().pad, "right");
}

TEST_F(X11Input, ForwardedEventsCountAsRealOnes) {
    XEvent event{};
    event.xbutton.type = ButtonPress;
    event.xbutton.window = editor.wrapper->nativeHandle();
    event.xbutton.x = 210;
    event.xbutton.y = 30;
    event.xbutton.button = Button1;
    event.xbutton.same_screen = True;
    XSendEvent(host.display, event.xbutton.window, False, ButtonPressMask, &event);
    host.flush();
    ASSERT_TRUE(arrived("down"));
    EXPECT_EQ(editor.log.of("down").back().pad, "right");
    EXPECT_EQ(editor.log.of("down").back().button, 1);
    EXPECT_EQ(editor.log.of("down").back().x, 10);
}

TEST_F(X11Input, WheelNotchesCarryShiftAndControlAndOtherButtonsAreIgnored) {
    host.moveTo(70, 70);
    ASSERT_TRUE(arrived("move"));
    host.key(XK_Shift_L, true);
    host.click(4);
    host.key(XK_Shift_L, false);
    host.key(XK_Control_L, true);
    host.click(5);
    host.key(XK_Shift_L, true);
    host.click(4);
    host.key(XK_Shift_L, false);
    host.key(XK_Control_L, false);
    for (unsigned ignored : {2u, 6u, 7u}) host.click(ignored);
    host.click(5);
    ASSERT_TRUE(arrived("wheel", 4));
    editor.settle();
    std::vector<Event> wheel = editor.log.of("wheel");
    ASSERT_EQ(wheel.size(), 4u);
    EXPECT_EQ(wheel[0].delta, 1.0f);
    EXPECT_EQ(wheel[0].keys, 1);
    EXPECT_EQ(wheel[1].delta, -1.0f);
    EXPECT_EQ(wheel[1].keys, 2);
    EXPECT_EQ(wheel[2].keys, 3);
    EXPECT_EQ(wheel[3].keys, 0);
    EXPECT_EQ(wheel[3].x, 50);
    EXPECT_EQ(editor.log.count("down") + editor.log.count("up") + editor.log.count("double"), 0);
}

// The press and release order of each pad, as one string.
std::string clicks(const WispkitDemo::Log& log) {
    std::string order;
    for (const Event& e : log.events)
        if (e.what == "down" || e.what == "up" || e.what == "double") order += e.what + " ";
    return order;
}

TEST_F(X11Input, SecondQuickPressInPlaceIsADoubleClick) {
    host.moveTo(300, 100);
    ASSERT_TRUE(arrived("move"));
    host.click(1);
    host.click(1);
    host.click(1);  // a third press starts again
    ASSERT_TRUE(arrived("up", 3));
    EXPECT_EQ(clicks(editor.log), "down up double up down up ");

    // Late (server time) or moved more than a few pixels: a plain press.
    editor.log.events.clear();
    host.moveTo(240, 100);
    host.click(1);
    host.button(1, true, 450);
    host.button(1, false);
    host.moveTo(246, 100);
    host.click(1);
    ASSERT_TRUE(arrived("up", 3));
    EXPECT_EQ(clicks(editor.log), "down up down up down up ");
}

TEST_F(X11Input, GrabEndedByTheServerDuringADragIsLostOnce) {
    // The host hides its window while the pointer is outside ours, then
    // while it is inside: each time the server ends the grab.
    const int dragTo[2][2] = {{-20, 30}, {60, 60}};
    for (int round = 0; round < 2; ++round) {
        host.moveTo(40 + 30 * round, 40);  // not a double click
        host.button(1, true);
        ASSERT_TRUE(arrived("down", round + 1));
        ASSERT_TRUE(editor.wrapper->hasMouseCapture(editor.left));
        host.moveTo(dragTo[round][0], dragTo[round][1]);
        ASSERT_TRUE(editor.pumpUntil([&] { return editor.log.of("move").back().x == dragTo[round][0] - 20; }));

        XUnmapWindow(host.display, host.parent);
        host.flush();
        ASSERT_TRUE(arrived("lost", round + 1));
        host.button(1, false);
        editor.settle();
        EXPECT_EQ(editor.log.count("lost"), round + 1);
        EXPECT_FALSE(editor.wrapper->hasMouseCapture(editor.left));
        EXPECT_EQ(editor.log.count("up"), 0);
        XMapRaised(host.display, host.parent);
        host.flush();
    }
    // Shown again, it takes input as before.
    host.moveTo(120, 41);
    host.click(1);
    ASSERT_TRUE(arrived("up"));
}

}  // namespace
}  // namespace WispkitTest
