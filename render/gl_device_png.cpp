#include "render/gl_device.h"

namespace Paintwell {

// The PNG decoder is not in this build yet: every input counts as one that
// fails to decode.
StaticTexture* GLDevice::createTextureFromPNG(const void*, std::size_t)
{
    return nullptr;
}

}  // namespace Paintwell
