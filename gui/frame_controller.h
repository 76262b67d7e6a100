// What the window wrapper tells its owner (the editor) and whom it calls on
// every tick of its 10 ms timer (the frame).
//
// Threads: the editor window's thread. Ownership: neither is owned by the
// wrapper.
#pragma once

namespace Wispkit {

class IFrameController {
public:
    virtual ~IFrameController() = default;
    /// Asked when the window is asked to close.
    virtual bool allowClose() { return true; }
    /// The window and with it the wrapper and its tree are going away.
    virtual void windowDestroyed() {}
};

class ITimerController {
public:
    virtual ~ITimerController() = default;
    virtual void onTimer() = 0;
};

}  // namespace Wispkit
