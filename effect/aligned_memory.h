// 64-byte aligned frame storage for the processor's buffers, zeroed or left
// untouched. A failed allocation answers null instead of throwing.
//
// Threads: any; called on resume and on destruction only.
#pragma once

#include <cstdint>

#include "effect/block_buffer.h"

namespace ReedDsp {

/// count frames, all zero.
Frame* allocateFrames(std::uint64_t count);
/// count frames of unspecified content, not written to: pages the owner never
/// writes need not become resident. The owner writes a frame before reading it.
Frame* allocateUntouchedFrames(std::uint64_t count);
void releaseFrames(Frame* frames);

}  // namespace ReedDsp
