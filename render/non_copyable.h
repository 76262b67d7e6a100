// Base of every renderer object: devices, contexts, textures and shaders
// are owned by exactly one holder and are never copied or assigned.
#pragma once

namespace Paintwell {

class NonCopyable {
public:
    NonCopyable() = default;
    virtual ~NonCopyable() = default;
    NonCopyable(const NonCopyable&) = delete;
    NonCopyable& operator=(const NonCopyable&) = delete;
};

}  // namespace Paintwell
