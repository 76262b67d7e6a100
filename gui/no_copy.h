// The toolkit's name for the base of its owned objects (images, controls,
// menus): each has one owner, and copying or assigning one is not available.
#pragma once

#include "services/no_copy.h"

namespace Wispkit {

using NoCopy = Services::NoCopy;

}  // namespace Wispkit
