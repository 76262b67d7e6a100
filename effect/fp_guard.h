// FpGuard: the floating-point mode of the audio routine. For its lifetime
// results and inputs that are denormal are flushed to zero, every exception
// is masked and rounding is towards zero; the destructor restores the mode
// it found, with the six sticky exception flags cleared, on every exit.
//
// Threads: affects the calling thread only. Scoped; owns nothing.
#pragma once

#include <xmmintrin.h>

namespace ReedDsp {

class FpGuard {
public:
    /// Flush-to-zero, denormals-are-zero, all exceptions masked, round towards zero.
    static constexpr unsigned kAudioMode = 0xFFC0u;
    static constexpr unsigned kStickyFlags = 0x3Fu;

    FpGuard() : saved(_mm_getcsr()) { _mm_setcsr(kAudioMode); }
    ~FpGuard() { _mm_setcsr(saved & ~kStickyFlags); }

    FpGuard(const FpGuard&) = delete;
    FpGuard& operator=(const FpGuard&) = delete;

private:
    unsigned saved;
};

}  // namespace ReedDsp
