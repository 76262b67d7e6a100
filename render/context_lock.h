// Scoped ownership of the GL context: every operation that touches GL runs
// inside one. Only the outermost lock switches contexts, and it gives back
// whatever was current on the thread before (a host's own context, or none).
//
// Threads: the device's window thread; not thread-safe.
#pragma once

#include "render/platform/gl_platform.h"

namespace Paintwell {

class GLDevice;

class ContextLock {
public:
    /// Throws Exception (after a check message) when the context cannot be
    /// made current; the depth is then unchanged.
    explicit ContextLock(GLDevice& device);
    /// Restores the previous context. A failure to do so is a check failure,
    /// thrown only when no other exception is already on its way out.
    ~ContextLock() noexcept(false);
    ContextLock(const ContextLock&) = delete;
    ContextLock& operator=(const ContextLock&) = delete;

private:
    GLDevice& device;
    platform::CurrentContext previous;
    int uncaughtAtStart;
};

}  // namespace Paintwell
