// Windows text settings: LCD text when ClearType smoothing is on, in the
// screen's sub-pixel order.
#include "render/platform/gl_platform.h"

#include <windows.h>

namespace Paintwell::platform {

TextMode desktopTextMode(Surface*, TextMode previous) {
    TextMode mode{false, previous.rgb};
    BOOL smoothing = FALSE;
    UINT type = 0;
    if (SystemParametersInfoA(SPI_GETFONTSMOOTHING, 0, &smoothing, 0) && smoothing &&
        SystemParametersInfoA(SPI_GETFONTSMOOTHINGTYPE, 0, &type, 0)) {
        mode.subpixel = type == FE_FONTSMOOTHINGCLEARTYPE;
        UINT orientation = 0;
        if (!mode.subpixel) mode.rgb = true;
        else if (SystemParametersInfoA(SPI_GETFONTSMOOTHINGORIENTATION, 0, &orientation, 0))
            mode.rgb = orientation == FE_FONTSMOOTHINGORIENTATIONRGB;
        else
            mode.rgb = true;
    }
    if (GetKeyState(VK_SHIFT) < 0 && GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) < 0) mode.subpixel = false;
    return mode;
}

}  // namespace Paintwell::platform
