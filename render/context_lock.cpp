#include "render/context_lock.h"

#include "render/diagnostics.h"
#include "render/gl_api.h"
#include "render/gl_device.h"

#include <exception>

namespace Paintwell {

ContextLock::ContextLock(GLDevice& device) : device(device), uncaughtAtStart(std::uncaught_exceptions()) {
    if (device.lockDepth == 0) {
        previous = platform::currentContext();
        if (!platform::makeCurrent(device.surface)) checkFailed(__LINE__);
    }
    ++device.lockDepth;
}

ContextLock::~ContextLock() noexcept(false) {
    if (--device.lockDepth != 0) return;
    glGetError();
    if (!platform::restoreContext(device.surface, previous)) {
        // Throwing while another exception unwinds would end the process.
        if (std::uncaught_exceptions() > uncaughtAtStart) {
            try {
                checkFailed(__LINE__);
            } catch (...) {
            }
            return;
        }
        checkFailed(__LINE__);
    }
}

}  // namespace Paintwell
