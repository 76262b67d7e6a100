// The host side of an embedded editor, for the screenshots and the CLAP
// editor test: a window of the editor's size that the editor opens in, the
// host's share of running the editor (its idle calls, timers or descriptors,
// on top of the system's message loop), real input to the editor, and the
// editor's pixels read back from the screen. One implementation per window
// system.
//
// Threads: the program's main thread. Ownership: the host owns its window
// and the parent it hands out; the editor must be closed before the host goes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace EditorShots {

constexpr int kWidth = 480;
constexpr int kHeight = 110;

/// What the host does for the editor while it waits, besides the system's
/// message loop: a VST 2.4 host's idle call, a CLAP host's timers and
/// descriptors. Called every couple of milliseconds; may be empty.
using Pump = std::function<void()>;

/// The editor's windows as the host sees them inside the parent it gave.
struct Embedded {
    int windows = 0;
    bool shown = false;  // the first one is on the screen
};

class ScreenshotHost {
public:
    ScreenshotHost();
    ~ScreenshotHost();
    ScreenshotHost(const ScreenshotHost&) = delete;
    ScreenshotHost& operator=(const ScreenshotHost&) = delete;

    /// Empty when the host window exists, else why it does not.
    std::string problem() const;
    /// The native window the editor is opened in (X11: a Window id).
    void* parent() const;
    /// After the editor's close, the host ends the window it gave, as hosts
    /// do: on Windows a panel filling the host window, which takes the
    /// editor's window with it, and a fresh panel follows. On X11 the editor
    /// ends its own window and the host keeps its one.
    void releaseParent();
    /// Maps or unmaps the host's window, as a host shows its plug-in window
    /// only once the editor is in it.
    void showHost(bool shown);
    Embedded embedded() const;

    /// Lets the editor run for about milliseconds (its timer, paints).
    void settle(const Pump& pump, unsigned milliseconds);
    /// The pointer to (x, y) of the editor.
    void moveTo(const Pump& pump, int x, int y);
    /// The left button pressed or released where the pointer is.
    void leftButton(const Pump& pump, bool down);
    /// A right click at (x, y), then the open context menu's "MIDI Learn"
    /// chosen by its key. False when no menu showed.
    bool chooseLearn(const Pump& pump, int x, int y);
    /// The editor's pixels as 0xRRGGBB, row by row from the top; empty on failure.
    std::vector<std::uint32_t> grab();
    /// The desktop's text smoothing as the module's renderer reads it.
    std::string textMode() const;

private:
    struct State;
    State* state;
};

}  // namespace EditorShots
