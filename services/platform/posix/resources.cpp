#include <strings.h>

#include "services/platform/posix/embedded_resources.h"
#include "services/resources.h"

namespace Services {

// Types and names compare without regard to case, as Windows resources do, so a
// name that works on one platform works on the other.
std::span<const unsigned char> findResource(const char* type, const char* name) {
    if (!type || !name) return {};
    for (const platform::EmbeddedResource* r = platform::kEmbeddedResources; r->type; ++r)
        if (strcasecmp(r->type, type) == 0 && strcasecmp(r->name, name) == 0) return {r->data, r->size};
    return {};
}

}  // namespace Services
