// The driver message on X11 goes to the error stream; there is no
// desktop-neutral message box below the toolkit.
#include "render/platform/gl_platform.h"

#include <cstdio>

namespace Paintwell::platform {

void showDriverMessage(const char* caption, const char* text)
{
    std::fprintf(stderr, "%s: %s", caption, text);
    std::fflush(stderr);
}

}  // namespace Paintwell::platform
