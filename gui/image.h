// A decoded picture: width × height pixels as 0xAARRGGBB words, rows top to
// bottom. Made once from PNG bytes and immutable afterwards; it can make a
// texture for any number of devices.
//
// Threads: construction on any thread; createTexture on the thread that owns
// the device. Ownership: the image owns its pixels; the caller of
// createTexture owns the texture and releases it before its device goes.
#pragma once

#include "gui/no_copy.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>

namespace Paintwell {
class Device;
class StaticTexture;
}  // namespace Paintwell

namespace Wispkit {

class Image : public NoCopy {
public:
    /// Thrown for bytes that are not a PNG file or do not decode.
    class Exception : public std::exception {};

    /// Decodes PNG bytes (not kept). Throws Image::Exception when they do not
    /// start with 137 'P' 'N' 'G' or the decoder reports any error.
    Image(const void* bytes, std::size_t size);
    ~Image() override;

    unsigned getWidth() const { return width; }
    unsigned getHeight() const { return height; }
    const std::uint32_t* getPixels() const { return pixels.get(); }

    /// A new texture of the image's size holding its pixels, or null if the
    /// device made none. Renderer failures propagate as Paintwell::Exception,
    /// and a texture that failed to fill is released first.
    Paintwell::StaticTexture* createTexture(Paintwell::Device* device) const;

private:
    unsigned width = 0;
    unsigned height = 0;
    std::unique_ptr<std::uint32_t[]> pixels;
};

}  // namespace Wispkit
