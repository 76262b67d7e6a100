// The drawing side of a device, handed to a scene while it renders.
//
// Threads: the window's thread, only while the device renders (or, for
// getDevice and createFont, whenever the device is alive). Ownership: the
// device owns its context; scenes never delete it.
#pragma once

#include "render/non_copyable.h"
#include "render/quad.h"

namespace Paintwell {

class Device;
class Shader;
class Texture;
struct Font;

class Context : public NonCopyable {
public:
    /// Nothing calls this; the GL device answers null.
    virtual void* reserved(void* unused) = 0;
    /// Makes shader the current render state and returns the previous one.
    /// Touches no GL state: the next drawQuads applies it.
    virtual Shader* setShader(Shader* shader) = 0;
    /// Puts the blend mode, combine mode and textures into GL state. Null
    /// textures mean the device's 4x4 pattern. drawQuads calls this.
    virtual void applyShader(int blend, int combine, Texture* texture0, Texture* texture1) = 0;
    /// Draws count quads with the current shader's state.
    virtual void drawQuads(const Quad* quads, unsigned count) = 0;
    /// The device behind this context.
    virtual Device* getDevice() = 0;
    /// Builds the embedded face (resource "TTF"/name) at pointSize into a new
    /// font owned by the caller (releaseFont), or null when that fails.
    virtual Font* createFont(const char* name, float pointSize) = 0;

    void drawQuad(const Quad& quad) { drawQuads(&quad, 1); }
};

}  // namespace Paintwell
