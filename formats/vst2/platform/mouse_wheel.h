// The one platform service the VST 2.4 form needs of its own: the mouse-wheel
// vendor call. Each platform folder (win32, posix) implements it; nothing
// else in this form includes a system header.
#pragma once

namespace Vst2::platform {

/// Forwards a host's mouse-wheel movement (in notches) to this module's
/// window under the cursor. True when a window took it. UI thread.
bool forwardMouseWheel(float notches);

}  // namespace Vst2::platform
