#include <cstdint>

#include "formats/clap/editor_host.h"

namespace Clap::platform {

const char* windowApi() { return clap::CLAP_WINDOW_API_X11; }

// The editor takes an X11 window id where other systems take a pointer.
void* nativeParent(const clap::clap_window_t& window) {
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(window.x11));
}

// Linux gives a plug-in no thread of its own for its windows: it runs on the
// host's timer and on the host watching its X connection.
bool needsHostLoop() { return true; }

}  // namespace Clap::platform
