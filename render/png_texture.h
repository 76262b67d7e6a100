// PNG bytes straight to a texture, for Device::createTextureFromPNG: what an
// Image followed by createTexture does, without keeping an Image and without
// exceptions.
//
// Threads: the thread that owns the device. Ownership: the caller owns the
// returned texture; the bytes are not kept.
#pragma once

#include <cstddef>

namespace Paintwell {

class Device;
class StaticTexture;

/// A texture made by `device` holding the decoded image, or null when the
/// bytes are shorter than 4, do not start with 137 'P' 'N' 'G', do not
/// decode, or the device fails; never throws.
StaticTexture* createTextureFromPNG(Device& device, const void* bytes, std::size_t size) noexcept;

}  // namespace Paintwell
