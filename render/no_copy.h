// Base of the toolkit's owned objects (images, controls, menus): each has one
// owner, and copying or assigning one is not available.
#pragma once

namespace Wispkit {

class NoCopy {
public:
    NoCopy() = default;
    virtual ~NoCopy() = default;
    NoCopy(const NoCopy&) = delete;
    NoCopy& operator=(const NoCopy&) = delete;
};

}  // namespace Wispkit
