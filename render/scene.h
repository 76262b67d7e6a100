// Something a device can render: the editor's control tree, or a test card.
//
// Threads: the window's thread, inside Device::render. Ownership: the caller
// of render keeps the scene.
#pragma once

namespace Paintwell {

class Context;

class Scene {
public:
    virtual ~Scene() = default;
    /// Draws everything through the context; may throw Paintwell::Exception.
    virtual void draw(Context* context) = 0;
};

}  // namespace Paintwell
