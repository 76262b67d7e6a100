#include <strings.h>

#include "core/platform/platform.h"
#include "core/platform/posix/embedded_resources.h"

namespace PlugCore::platform {

// Types and names compare without regard to case, as Windows resources do, so a
// name that works on one platform works on the other.
std::span<const unsigned char> findResource(const char* type, const char* name) {
    if (!type || !name) return {};
    for (const EmbeddedResource* r = kEmbeddedResources; r->type; ++r)
        if (strcasecmp(r->type, type) == 0 && strcasecmp(r->name, name) == 0) return {r->data, r->size};
    return {};
}

}  // namespace PlugCore::platform
