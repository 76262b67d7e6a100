// The one conversion from decoder output (bytes R, G, B, A per pixel) to the
// renderer's pixel words 0xAARRGGBB.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Paintwell {

inline void packPixelWords(const unsigned char* rgba, std::size_t count, std::uint32_t* words) {
    for (std::size_t i = 0; i < count; ++i, rgba += 4)
        words[i] =
            (std::uint32_t{rgba[3]} << 24) | (std::uint32_t{rgba[0]} << 16) | (std::uint32_t{rgba[1]} << 8) | rgba[2];
}

}  // namespace Paintwell
