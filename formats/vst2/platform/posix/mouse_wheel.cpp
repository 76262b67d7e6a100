#include "formats/vst2/platform/mouse_wheel.h"

namespace Vst2::platform {

// X11 delivers wheel events to the editor's own window, so a host never
// needs to forward them; there is nothing under the cursor to hand them to.
bool forwardMouseWheel(float) { return false; }

}  // namespace Vst2::platform
