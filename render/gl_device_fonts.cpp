// Fonts for a GL device: the embedded face from the module's resources,
// built at 96 dots per inch, and the text mode settled from the desktop.
#include "render/font.h"
#include "render/gl_device.h"
#include "services/resources.h"

namespace Paintwell {

namespace {
constexpr float kDotsPerInch = 96;
}

Font* GLDevice::createFont(const char* name, float pointSize) {
    if (!name) return nullptr;
    auto bytes = Services::findResource("TTF", name);
    if (bytes.empty()) return nullptr;
    return createFontFromMemory(bytes.data(), bytes.size(), pointSize);
}

Font* GLDevice::createFontFromMemory(const void* bytes, std::size_t size, float pointSize) {
    Font* font = nullptr;
    try {
        font = buildFont(this, bytes, size, pointSize, kDotsPerInch);
    } catch (...) {
        return nullptr;
    }
    platform::TextMode mode = platform::desktopTextMode(surface, platform::TextMode{subpixelText(), subpixelRGB()});
    setTextMode(mode.subpixel, mode.rgb);
    return font;
}

}  // namespace Paintwell
