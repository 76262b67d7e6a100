// The base of every object that has exactly one owner: renderer devices,
// contexts, textures and shaders, and the toolkit's images, controls and
// menus. Copying or assigning one is not available. The renderer calls it
// Paintwell::NonCopyable and the toolkit Wispkit::NoCopy; both name this class.
#pragma once

namespace Services {

class NoCopy {
public:
    NoCopy() = default;
    virtual ~NoCopy() = default;
    NoCopy(const NoCopy&) = delete;
    NoCopy& operator=(const NoCopy&) = delete;
};

}  // namespace Services
