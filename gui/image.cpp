#include "gui/image.h"

#include "render/device.h"
#include "render/pixel_words.h"
#include "render/png/png_decoder.h"
#include "render/texture.h"

#include <cstring>
#include <vector>

namespace Wispkit {

namespace {

bool hasPngMagic(const void* bytes, std::size_t size) {
    static constexpr unsigned char kMagic[4] = {137, 'P', 'N', 'G'};
    return bytes != nullptr && size >= 4 && std::memcmp(bytes, kMagic, 4) == 0;
}

}  // namespace

Image::Image(const void* bytes, std::size_t size) {
    if (!hasPngMagic(bytes, size)) throw Exception();
    std::vector<unsigned char> rgba;
    unsigned w = 0, h = 0;
    if (Paintwell::decodePNG(rgba, w, h, static_cast<const unsigned char*>(bytes), size, true) != 0) throw Exception();
    const std::size_t count = std::size_t{w} * h;
    pixels.reset(new std::uint32_t[count]);
    Paintwell::packPixelWords(rgba.data(), count, pixels.get());
    width = w;
    height = h;
}

Image::~Image() = default;

Paintwell::StaticTexture* Image::createTexture(Paintwell::Device* device) const {
    Paintwell::StaticTexture* texture = device->createStaticTexture(width, height);
    if (texture == nullptr) return nullptr;
    try {
        texture->upload(pixels.get(), width, 0, 0, width, height);
    } catch (...) {
        texture->release();
        throw;
    }
    return texture;
}

}  // namespace Wispkit
