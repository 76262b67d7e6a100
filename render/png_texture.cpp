#include "render/png_texture.h"

#include "render/device.h"
#include "render/pixel_words.h"
#include "render/png/png_decoder.h"
#include "render/texture.h"

#include <cstring>
#include <exception>
#include <vector>

namespace Paintwell {

StaticTexture* createTextureFromPNG(Device& device, const void* bytes, std::size_t size) noexcept {
    static constexpr unsigned char kMagic[4] = {137, 'P', 'N', 'G'};
    if (bytes == nullptr || size < 4 || std::memcmp(bytes, kMagic, 4) != 0) return nullptr;
    StaticTexture* texture = nullptr;
    try {
        std::vector<unsigned char> rgba;
        unsigned width = 0, height = 0;
        if (decodePNG(rgba, width, height, static_cast<const unsigned char*>(bytes), size, true) != 0) return nullptr;
        std::vector<std::uint32_t> words(std::size_t{width} * height);
        packPixelWords(rgba.data(), words.size(), words.data());
        rgba = {};
        texture = device.createStaticTexture(width, height);
        if (texture != nullptr) texture->upload(words.data(), width, 0, 0, width, height);
        return texture;
    } catch (const std::exception&) {
        // Renderer failures and exhausted memory also mean "no texture".
        if (texture != nullptr) texture->release();
        return nullptr;
    }
}

}  // namespace Paintwell
