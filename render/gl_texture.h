// The OpenGL texture objects behind Texture and StaticTexture. Only a
// GLDevice creates them; release() deletes them.
//
// Threads: the device's window thread.
#pragma once

#include "render/gl_api.h"
#include "render/texture.h"

namespace Paintwell {

class GLDevice;

class GLTexture : public Texture {
public:
    /// Frees the GL texture, lowers the device's live count and deletes the
    /// object. Never throws.
    void release() override;

    GLuint name() const { return textureName; }
    /// The allocated size: the requested one with rectangle textures, else
    /// the next powers of two.
    unsigned width() const { return allocatedWidth; }
    unsigned height() const { return allocatedHeight; }

protected:
    GLTexture(GLDevice& device, unsigned width, unsigned height);

    GLuint textureName = 0;
    unsigned allocatedWidth;
    unsigned allocatedHeight;
    GLDevice* device;
};

class GLStaticTexture final : public StaticTexture, public GLTexture {
public:
    GLStaticTexture(GLDevice& device, unsigned width, unsigned height);

    void release() override;
    void upload(const std::uint32_t* pixels, unsigned rowLength, unsigned x, unsigned y, unsigned width,
                unsigned height) override;
};

/// The smallest power of two at or above size (1 for 0).
unsigned powerOfTwoAtLeast(unsigned size);

}  // namespace Paintwell
