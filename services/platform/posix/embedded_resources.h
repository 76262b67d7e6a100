// The table of files embedded into the module at build time, generated from
// resources/resources.cmake. It ends with an entry whose type is nullptr.
// Constant data, readable from any thread.
#pragma once

#include <cstddef>

namespace Services::platform {

struct EmbeddedResource {
    const char* type;
    const char* name;
    const unsigned char* data;
    std::size_t size;
};

extern const EmbeddedResource kEmbeddedResources[];

}  // namespace Services::platform
