// The GLX surface record, shared by the files of this binding only.
#pragma once

#include <GL/glx.h>

namespace Paintwell::platform {

struct Surface {
    Display* display;
    Window window;
    GLXContext context;
};

}  // namespace Paintwell::platform
