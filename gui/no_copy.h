// The toolkit's name for the base of owned, uncopyable objects.
#pragma once

#include "render/no_copy.h"
