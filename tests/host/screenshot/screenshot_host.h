// The host side of the editor screenshots: a window of the editor's size
// that the editor opens in, the host's share of running the editor (idle
// calls or the message loop), real input to the editor, and the editor's
// pixels read back from the screen. One implementation per window system.
//
// Threads: the program's main thread. Ownership: the host owns its window;
// the effect's editor must be closed before the host goes.
#pragma once

#include "test_host.h"

#include <cstdint>
#include <string>
#include <vector>

namespace EditorShots {

constexpr int kWidth = 480;
constexpr int kHeight = 110;

class ScreenshotHost {
public:
    ScreenshotHost();
    ~ScreenshotHost();
    ScreenshotHost(const ScreenshotHost&) = delete;
    ScreenshotHost& operator=(const ScreenshotHost&) = delete;

    /// Empty when the host window exists, else why it does not.
    std::string problem() const;
    /// What effEditOpen takes.
    void* parent() const;

    /// Lets the editor run for about milliseconds (its timer, paints).
    void settle(const HostTest::Effect& effect, unsigned milliseconds);
    /// The pointer to (x, y) of the editor.
    void moveTo(const HostTest::Effect& effect, int x, int y);
    /// The left button pressed or released where the pointer is.
    void leftButton(const HostTest::Effect& effect, bool down);
    /// A right click at (x, y), then the open context menu's "MIDI Learn"
    /// chosen by its key. False when no menu showed.
    bool chooseLearn(const HostTest::Effect& effect, int x, int y);
    /// The editor's pixels as 0xRRGGBB, row by row from the top; empty on failure.
    std::vector<std::uint32_t> grab();
    /// The desktop's text smoothing as the module's renderer reads it.
    std::string textMode() const;

private:
    struct State;
    State* state;
};

}  // namespace EditorShots
