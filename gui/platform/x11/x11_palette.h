// The editor's look for the windows the X11 layer draws itself (popup menus,
// questions) and for the editor window's own background before its first
// paint: the dark panel, light text, the accent colour.
//
// Threads: any. Ownership: constants only.
#pragma once

#include <X11/Xutil.h>
// X.h names a constant CursorShape, which is the toolkit's cursor type here.
#undef CursorShape

#include <cstdint>

namespace Wispkit::platform::palette {

constexpr std::uint32_t kPanel = 0xFF262626;
constexpr std::uint32_t kEdge = 0xFF5C5C5C;
constexpr std::uint32_t kAccent = 0xFFE1804F;
constexpr std::uint32_t kText = 0xFFE6E6E6;
constexpr std::uint32_t kTextOnAccent = 0xFF101010;
constexpr std::uint32_t kDimmed = 0xFF7A7A7A;
constexpr std::uint32_t kRule = 0xFF4A4A4A;
constexpr std::uint32_t kHover = 0xFF3C3C3C;

/// The pixel value of colour (0xAARRGGBB, alpha ignored) in a true-colour
/// visual; black in any other kind, where no value can be worked out alone.
inline unsigned long pixelOf(const XVisualInfo& visual, std::uint32_t colour) {
    if (visual.c_class != TrueColor) return 0;
    auto channel = [](unsigned long mask, unsigned value) {
        if (mask == 0) return 0ul;
        int shift = 0;
        while (((mask >> shift) & 1) == 0) ++shift;
        unsigned long max = mask >> shift;
        return ((value * max + 127) / 255) << shift;
    };
    // A 32-bit visual keeps alpha in the bits the colours leave: opaque.
    const unsigned long rgb = visual.red_mask | visual.green_mask | visual.blue_mask;
    const unsigned long alpha = visual.depth == 32 ? 0xFFFFFFFFul & ~rgb : 0;
    return alpha | channel(visual.red_mask, (colour >> 16) & 0xFF) | channel(visual.green_mask, (colour >> 8) & 0xFF) |
           channel(visual.blue_mask, colour & 0xFF);
}

}  // namespace Wispkit::platform::palette
