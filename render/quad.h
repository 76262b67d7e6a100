// One textured, coloured rectangle, the only thing the renderer draws.
#pragma once

#include <cstdint>

namespace Paintwell {

/// Screen rectangle in pixels (origin top-left, y down), the matching
/// rectangles in texture 0 and texture 1 in texels, and a 0xAARRGGBB colour
/// shared by the four corners.
struct Quad {
    float left, top, right, bottom;
    float texLeft, texTop, texRight, texBottom;
    float tex1Left, tex1Top, tex1Right, tex1Bottom;
    std::uint32_t colour;
};

/// A w by h quad at (x, y) showing the texels from (u, v) of both textures,
/// one texel per screen pixel.
inline Quad makeQuad(float x, float y, float w, float h, float u, float v, std::uint32_t colour) {
    return Quad{x, y, x + w, y + h, u, v, u + w, v + h, u, v, u + w, v + h, colour};
}

}  // namespace Paintwell
