// What an effect tells its editor about itself: the panel's size, the shared
// data block's size, how many parameters the editor mirrors, the accent
// colour and the background picture.
//
// Threads: filled once in the effect's constructor, read-only afterwards.
// Ownership: the effect owns the record; the editor keeps a pointer to it.
#pragma once

#include <cstdint>

namespace Wispkit {

struct EditorDescriptor {
    int width;
    int height;
    unsigned dataSize;        // bytes of the shared data block; 0 for none
    unsigned numParams;       // parameters the editor caches
    std::uint32_t colour;     // accent colour 0xRRGGBB for captions and the logo
    const char* textureName;  // PNG resource drawn as the background, or null
};

}  // namespace Wispkit
