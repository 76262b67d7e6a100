#include "formats/clap/editor_host.h"

namespace Clap::platform {

const char* windowApi() { return clap::CLAP_WINDOW_API_WIN32; }

void* nativeParent(const clap::clap_window_t& window) { return window.win32; }

// The editor's window gets its messages and timer through the host's own loop.
bool needsHostLoop() { return false; }

}  // namespace Clap::platform
