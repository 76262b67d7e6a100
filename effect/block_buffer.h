// BlockBuffer: a block's frames plus the 16 frames that reach into the next
// block; the processor keeps its input stage and its output accumulator in
// one each. Staging a block moves the 16 frames that follow the previous
// block to the front and clears the rest of the previous block's range, so
// every frame from 16 + (block length) onwards is always zero. Two frames more
// than the reach are kept beyond the longest block, for kernels that work on
// nine pairs of frames from the even frame at or before a tick's position.
//
// Threads: audio thread only (allocated and released on resume and in the
// owner's destructor). Owns its frames; copying is not allowed.
#pragma once

#include <cstdint>

namespace ReedDsp {

/// One stereo pair, laid out as a two-lane vector.
struct alignas(16) Frame {
    double left;
    double right;
};

class BlockBuffer {
public:
    static constexpr std::uint32_t kReach = 16;
    /// Frames kept beyond the longest block.
    static constexpr std::uint32_t kTail = kReach + 2;

    BlockBuffer() = default;
    ~BlockBuffer() { release(); }
    BlockBuffer(const BlockBuffer&) = delete;
    BlockBuffer& operator=(const BlockBuffer&) = delete;

    /// Room for blocks of up to maxBlock frames, all zero. False (and no
    /// storage) when the memory is not available.
    bool allocate(std::uint32_t maxBlock);
    void release();
    /// Readies the buffer for a block of n frames (n <= the allocated maximum).
    void stage(std::uint32_t n);
    /// Zeroes every frame, the pending reach included.
    void clear();

    Frame* frames() { return data; }
    const Frame* frames() const { return data; }
    bool allocated() const { return data != nullptr; }

private:
    Frame* data = nullptr;
    std::uint32_t size = 0;  // frames allocated: maximum block + kTail
    std::uint32_t offset = 0;
    std::uint32_t previousLength = 0;
};

}  // namespace ReedDsp
