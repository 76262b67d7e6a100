// A rendering device: owns a GPU context bound to one window, creates the
// textures drawn with it and renders whole scenes into that window.
//
// Threads: only the thread that owns the device's window. Ownership: the
// holder ends the device with release(); textures it created belong to their
// creators and must be released before the device goes.
#pragma once

#include "render/non_copyable.h"

#include <cstddef>

namespace Paintwell {

class Scene;
class StaticTexture;

class Device : public NonCopyable {
public:
    /// Deletes the device.
    virtual void release() = 0;
    /// Decodes PNG bytes (not kept) into a new texture of the image's size;
    /// null on any failure, never throws. The caller owns the texture.
    virtual StaticTexture* createTextureFromPNG(const void* bytes, std::size_t size) = 0;
    /// A new RGBA texture with undefined contents, owned by the caller.
    virtual StaticTexture* createStaticTexture(unsigned width, unsigned height) = 0;
    /// Draws one frame of the scene into the device's window.
    virtual void render(Scene* scene) = 0;
};

}  // namespace Paintwell
