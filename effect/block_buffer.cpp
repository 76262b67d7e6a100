#include "effect/block_buffer.h"

#include <new>

#include "effect/aligned_memory.h"

namespace ReedDsp {

bool BlockBuffer::allocate(std::uint32_t maxBlock) {
    release();
    const std::uint32_t count = maxBlock + kTail;
    data = allocateFrames(count);
    if (!data) return false;
    size = count;
    return true;
}

void BlockBuffer::release() {
    releaseFrames(data);
    data = nullptr;
    size = 0;
    offset = 0;
    previousLength = 0;
}

void BlockBuffer::stage(std::uint32_t n) {
    offset += previousLength;
    previousLength = n;
    // Forward copy: when the previous block was shorter than 16 frames the
    // ranges overlap with the source ahead of the destination.
    for (std::uint32_t k = 0; k < kReach; ++k) data[k] = data[offset + k];
    for (std::uint32_t k = kReach; k < kReach + offset; ++k) data[k] = Frame{0.0, 0.0};
    offset = 0;
}

void BlockBuffer::clear() {
    for (std::uint32_t k = 0; k < size; ++k) data[k] = Frame{0.0, 0.0};
}

}  // namespace ReedDsp
