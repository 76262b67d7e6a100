// A stand-in host for the X11 window tests: a top-level window of its own
// connection that the wrapper lives in, real input through XTest, and the
// demo's pads inside the wrapper.
#pragma once

#include "demo_controls.h"

#include "gui/frame_controller.h"
#include "gui/winwrapper.h"

#include <X11/Xlib.h>
#undef CursorShape

#include <chrono>
#include <functional>

namespace WispkitTest {

/// The host's window and the test's hands on the pointer and keyboard.
class TestHost {
public:
    /// A parent window of width by height at (x, y) of the screen.
    TestHost(int x = 560, int y = 360, int width = 400, int height = 300);
    ~TestHost();
    TestHost(const TestHost&) = delete;
    TestHost& operator=(const TestHost&) = delete;

    Display* display;
    ::Window parent;
    int left, top;

    /// The pointer to (x, y) of the parent window.
    void moveTo(int x, int y);
    /// A button pressed or released after delayMs of server time.
    void button(unsigned button, bool down, unsigned long delayMs = 0);
    void click(unsigned button);
    void key(unsigned long keysym, bool down);
    void tap(unsigned long keysym);
    void moveParent(int x, int y);
    void flush();
};

/// The editor side: a wrapper in the host's window with the demo's pads.
struct Editor : Wispkit::IFrameController, Wispkit::ITimerController {
    explicit Editor(TestHost& host);
    ~Editor() override;

    void windowDestroyed() override { ++destroyed; }
    void onTimer() override;

    /// The editor's close: resources, then the window and the wrapper.
    void close();
    /// Pumps the wrapper until done answers true; false after 10 s.
    bool pumpUntil(const std::function<bool()>& done);
    /// Pumps a few rounds, for things that must not happen.
    void settle(int rounds = 20);

    WispkitDemo::Log log;
    Wispkit::Winwrapper* wrapper = nullptr;
    WispkitDemo::Pad* left = nullptr;
    WispkitDemo::Pad* right = nullptr;
    int destroyed = 0;
    std::vector<std::chrono::steady_clock::time_point> ticks;
};

}  // namespace WispkitTest
