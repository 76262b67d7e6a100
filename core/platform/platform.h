// The narrow seam between the portable core and the operating system. Each
// platform folder (win32, posix) implements every function declared here.
// Resources, prompts and per-user files come from the platform services
// (services/); nothing else in the core includes a system header.
#pragma once

namespace PlugCore::platform {

/// Forwards a host's mouse-wheel movement (in notches) to this module's
/// window under the cursor. True when a window took it. UI thread.
bool forwardMouseWheel(float notches);

}  // namespace PlugCore::platform
