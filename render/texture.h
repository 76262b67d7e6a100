// Texture objects. Only a Device creates them and only their own release()
// destroys them (it deletes the object); nothing else deletes a texture.
//
// Threads: the thread that owns the device's window, like the device itself.
#pragma once

#include "render/non_copyable.h"

#include <cstdint>

namespace Paintwell {

class Texture : public NonCopyable {
public:
    /// Frees the GPU object and deletes this texture. Never throws.
    virtual void release() = 0;
};

/// An RGBA texture whose texels the caller fills with upload().
class StaticTexture : public Texture {
public:
    /// Copies a rectangle of 0xAARRGGBB words (rows top to bottom) into the
    /// texture at (x, y); rowLength is the source's row length in pixels.
    /// The caller keeps ownership of pixels.
    virtual void upload(const std::uint32_t* pixels, unsigned rowLength, unsigned x, unsigned y, unsigned width,
                        unsigned height) = 0;
};

}  // namespace Paintwell
