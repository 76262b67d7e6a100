// X errors on the wrapper's own connection. Xlib's default error handler
// ends the process, and the host's window may vanish (taking ours with it)
// at any moment, so every error on our connection is dropped before any
// handler sees it: Xlib lets a connection convert its errors itself, and a
// converter that declines an error ends its way there. The process-wide
// handler is never touched, so the host's own errors reach whatever handler
// it installed, at any time and on any thread.
//
// Threads: the thread that owns the Display. Ownership: the count of a
// Display lives from catchErrors to forgetErrors.
#pragma once

#include <X11/Xlib.h>
// X.h names a constant CursorShape, which is the toolkit's cursor type here.
#undef CursorShape

namespace Wispkit::platform {

/// From now on, for the connection's life, every error on display is
/// counted and dropped.
void catchErrors(Display* display);
/// Ends the count before the connection closes; errors stay dropped.
void forgetErrors(Display* display);

/// Tells whether a request sent on a caught connection since the trap was
/// made failed.
class ErrorTrap {
public:
    explicit ErrorTrap(Display* display);
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    /// Waits for the server's answers to everything sent, then tells.
    bool failed();

private:
    Display* display;
    unsigned long errorsAtStart;
};

}  // namespace Wispkit::platform
