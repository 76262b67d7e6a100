// Zeroed, 64-byte aligned frame storage for the processor's buffers. A
// failed allocation answers null instead of throwing.
//
// Threads: any; called on resume and on destruction only.
#pragma once

#include <cstdint>

#include "effect/block_buffer.h"

namespace ReedDsp {

Frame* allocateFrames(std::uint64_t count);
void releaseFrames(Frame* frames);

}  // namespace ReedDsp
