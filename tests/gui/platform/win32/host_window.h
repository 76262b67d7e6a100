// A host-like stand-in for the toolkit's window tests: a top-level window
// holding a wrapper, controls that write what they receive into a journal,
// and a message pump.
#pragma once

#include "gui/container.h"
#include "gui/frame_controller.h"
#include "gui/winwrapper.h"

#include <windows.h>

#include <string>
#include <vector>

namespace WispkitTest {

extern std::vector<std::string> journal;

/// Entries of the journal that begin with prefix, in order.
std::vector<std::string> entries(const std::string& prefix);

/// Writes every event it receives, in its own coordinates, to the journal.
class Recorder : public Wispkit::Control {
public:
    Recorder(Wispkit::Container* parent, const char* name, int x, int y, unsigned w, unsigned h);
    ~Recorder() override;

    bool mouseMove(int x, int y, int keys) override;
    bool mouseDown(int x, int y, int button, int keys) override;
    bool mouseUp(int x, int y, int button, int keys) override;
    bool doubleClick(int x, int y, int button, int keys) override;
    bool mouseWheel(int x, int y, float delta, int keys) override;
    void mouseLeave() override;
    void captureLost() override;
    void menuCommand(unsigned id) override;

    std::string name;
    /// Takes the capture on a left press and gives it up on a left release.
    bool dragOnPress = false;

private:
    bool note(const char* what, int x, int y, int button, int keys);
};

class Controller : public Wispkit::IFrameController {
public:
    bool allowClose() override { return closable; }
    void windowDestroyed() override { journal.push_back("window destroyed"); }
    bool closable = true;
};

/// A wrapper of 480 by 110 pixels inside a visible top-level host window.
/// The host is shared by the tests of the program unless one asks for a
/// window of its own (closing a top-level window costs Wine two seconds).
/// Unless told not to, the messages of the new windows (the first paint
/// among them) are dispatched before the test goes on.
class HostWindow {
public:
    explicit HostWindow(bool ownHost = false, bool pump = true);
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    /// Null once the window took the wrapper with it.
    Wispkit::Winwrapper* wrapper = nullptr;
    HWND host = nullptr;
    HWND child = nullptr;
    Controller controller;

private:
    bool ownHost;
};

/// A point of the wrapper's window on the screen.
POINT onScreen(HWND hwnd, int x, int y);

/// Dispatches whatever is queued for this thread.
void pumpPending();
/// Dispatches messages as they come for about milliseconds.
void pumpFor(unsigned milliseconds);

}  // namespace WispkitTest
