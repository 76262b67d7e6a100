// Render state as a scoped object: constructing a Shader makes it the
// context's current state, destroying it brings the previous one back. The
// GL calls are deferred to the next drawQuads.
//
// Threads: the window's thread, while the device renders. Ownership: lives on
// the drawer's stack; the textures stay the caller's.
#pragma once

#include "render/non_copyable.h"

namespace Paintwell {

class Context;
class Texture;

enum BlendMode : int {
    BlendNone = 0,
    BlendPremultiplied = 1,
    BlendAdditive = 2,
    BlendAlpha = 3,
    BlendSubpixel = 4,
};

enum CombineMode : int {
    CombineColor = 0,
    CombineModulate = 1,
    CombineMask = 2,
    CombineModulate2 = 3,
    CombineCrossfade = 4,
};

class Shader : public NonCopyable {
public:
    Shader(Context* context, int blend, int combine, Texture* texture0 = nullptr, Texture* texture1 = nullptr);
    ~Shader() override;

    int combine() const { return combineMode; }
    int blend() const { return blendMode; }
    Texture* texture0() const { return firstTexture; }
    Texture* texture1() const { return secondTexture; }

private:
    Context* context;
    Shader* previous;
    int combineMode;
    int blendMode;
    Texture* firstTexture;
    Texture* secondTexture;
};

}  // namespace Paintwell
