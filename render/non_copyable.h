// The renderer's name for the base of its owned objects: devices, contexts,
// textures and shaders are owned by exactly one holder and never copied.
#pragma once

#include "services/no_copy.h"

namespace Paintwell {

using NonCopyable = Services::NoCopy;

}  // namespace Paintwell
