// The module's own resources: the factory bank, the face and the editor's
// images, built into the module (Linux: arrays compiled in from
// resources/resources.cmake; Windows: the module's resource section).
#pragma once

#include <span>

namespace Services {

/// The bytes of this module's resource `name` of type `type`, e.g. "FXB"/"FactoryBank",
/// "TTF"/"Vera", "PNG"/"commonTextures"; an empty span when the module holds no such
/// resource. Types and names compare without regard to case on every platform. The
/// bytes belong to the module and stay valid while it is loaded; the caller never
/// frees them. Any thread.
std::span<const unsigned char> findResource(const char* type, const char* name);

}  // namespace Services
