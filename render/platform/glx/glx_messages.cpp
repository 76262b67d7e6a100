// The driver message on X11 goes through the module's own prompt, which asks
// the user where a display allows and otherwise writes to the error stream.
#include "render/platform/gl_platform.h"
#include "services/user_prompt.h"

namespace Paintwell::platform {

void showDriverMessage(const char* caption, const char* text) { Services::showError(caption, text); }

}  // namespace Paintwell::platform
