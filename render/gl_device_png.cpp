#include "render/gl_device.h"
#include "render/png_texture.h"

namespace Paintwell {

StaticTexture* GLDevice::createTextureFromPNG(const void* bytes, std::size_t size) {
    return Paintwell::createTextureFromPNG(*this, bytes, size);
}

}  // namespace Paintwell
