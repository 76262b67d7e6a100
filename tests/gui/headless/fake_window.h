// A window system for tests without a display: the window wrapper's seam
// implemented in memory, recording what the toolkit asked of it.
#pragma once

#include "gui/control.h"

#include <string>
#include <vector>

namespace HeadlessTest {

struct MenuItem {
    std::string text;  // "-" for a separator
    unsigned id;
    bool enabled;
};

struct WindowSystem {
    int windowsCreated = 0;
    int windowsAlive = 0;
    int windowsShown = 0;  // alive and not hidden
    int timersRunning = 0;
    int invalidations = 0;
    /// True behaves as X11 (the editor's close ends the window), false as Windows.
    bool closesWithEditor = false;
    bool confirmAnswer = true;
    std::vector<std::string> questions;  // "caption|text"
    std::vector<std::string> openedAddresses;
    // The last menu shown.
    Wispkit::Control* menuOwner = nullptr;
    std::vector<MenuItem> menuItems;
    int menuX = 0, menuY = 0, menuAlign = 0;
    int menusShown = 0;
};

/// The one window system of the test program; tests reset it.
WindowSystem& windowSystem();

}  // namespace HeadlessTest
