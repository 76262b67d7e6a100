#include "core/plug.h"

namespace PlugCore {

// Placeholder until the chunk writer and reader land: the effect reports no
// state, and a chunk handed to it changes nothing.
int32 Plug::getChunk(void** data, bool) {
    *data = nullptr;
    return 0;
}

int32 Plug::setChunk(void*, int32, bool) { return 0; }

}  // namespace PlugCore
