#include "effect/aligned_memory.h"

#include <new>

namespace ReedDsp {

namespace {
constexpr std::align_val_t kAlignment{64};
}

Frame* allocateUntouchedFrames(std::uint64_t count) {
    if (count == 0 || count > (std::uint64_t{1} << 40) / sizeof(Frame)) return nullptr;
    return static_cast<Frame*>(::operator new(count * sizeof(Frame), kAlignment, std::nothrow));
}

Frame* allocateFrames(std::uint64_t count) {
    Frame* frames = allocateUntouchedFrames(count);
    if (!frames) return nullptr;
    for (std::uint64_t k = 0; k < count; ++k) frames[k] = Frame{0.0, 0.0};
    return frames;
}

void releaseFrames(Frame* frames) {
    if (frames) ::operator delete(frames, kAlignment);
}

}  // namespace ReedDsp
