// The driver message on X11 goes through the module's own prompt, which asks
// the user where a display allows and otherwise writes to the error stream.
#include "core/user_prompt.h"
#include "render/platform/gl_platform.h"

namespace Paintwell::platform {

void showDriverMessage(const char* caption, const char* text)
{
    PlugCore::showError(caption, text);
}

}  // namespace Paintwell::platform
