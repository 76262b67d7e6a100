// A host-like stand-in for the toolkit's window tests: a top-level window
// holding a wrapper with the demo's two pads, and a message pump.
#pragma once

#include "demo_controls.h"
#include "gui/frame_controller.h"
#include "gui/winwrapper.h"
#include "win32_test_window.h"

#include <windows.h>

#include <string>
#include <vector>

namespace WispkitTest {

using Strings = std::vector<std::string>;

/// What the window's controller and the pads' destructors report, in order.
extern Strings lifetime;

/// A demo pad that reports its deletion.
class Pad : public WispkitDemo::Pad {
public:
    Pad(Wispkit::Container* parent, const char* name, int x, int y, std::uint32_t colour, WispkitDemo::Log* log);
    ~Pad() override;

private:
    std::string label;
};

class Controller : public Wispkit::IFrameController {
public:
    bool allowClose() override { return closable; }
    void windowDestroyed() override { lifetime.push_back("window destroyed"); }
    bool closable = true;
};

/// A wrapper of 360 by 140 pixels holding the pads "left" (20, 20) and
/// "right" (200, 20), both 140 by 100, inside a visible top-level host
/// window. The host is shared by the tests of the program unless one asks
/// for a window of its own (closing a top-level window costs Wine two
/// seconds). Unless told not to, the new windows' messages (the first paint
/// among them) are dispatched before the test goes on.
class HostWindow {
public:
    explicit HostWindow(bool ownHost = false, bool pump = true);
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    /// The pads' calls as "left down 5,10 b1 k1", "right wheel 1,1 +1.0 k3",
    /// "left command 10".
    Strings events() const;

    /// Null once the window took the wrapper with it.
    Wispkit::Winwrapper* wrapper = nullptr;
    HWND host = nullptr;
    HWND child = nullptr;
    Controller controller;
    WispkitDemo::Log log;
    Pad* left = nullptr;
    Pad* right = nullptr;

private:
    bool ownHost;
};

/// A point of a window on the screen.
POINT onScreen(HWND hwnd, int x, int y);
using Win32Test::pumpFor;
using Win32Test::pumpPending;

}  // namespace WispkitTest
