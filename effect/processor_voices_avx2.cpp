// The voices' routine for processors with AVX2: the same loop and the same
// additions as the baseline, with each tick's sums taken two frames at a
// time. Called only where bestVoiceKernels() found AVX2.
//
// The build compiles this file for baseline x86-64 like every other; only
// what follows the target pragma below uses AVX2. Everything this file shares
// with the baseline routine (the clock, the ramps, the tables) is included
// before the pragma (and holds no templates of Taps), so any out-of-line copy of it that the compiler emits
// here is baseline code, which the linker may pick for either routine. What
// comes after the pragma is templates of this file's own Taps, which no
// other file can instantiate. No fused multiply-adds (the target does not
// name FMA, and the build forbids contraction): every product is rounded
// before its sum, as in the baseline.
#include <emmintrin.h>
#include <immintrin.h>

#include <cmath>
#include <cstdint>
#include <type_traits>

#include "effect/block_buffer.h"
#include "effect/exp_tables.h"
#include "effect/interpolation_table.h"
#include "effect/ramp.h"
#include "effect/tick_queue.h"
#include "effect/voice_clock.h"
#include "effect/voice_job.h"

#pragma GCC push_options
#pragma GCC target("avx2")

#include "effect/voice_kernel.h"
#include "effect/voice_loop.h"

namespace ReedDsp {

namespace {

/// A tick's two 16-tap sums two frames at a time. The pairs always start at
/// an even frame, so that a tick's 32-byte loads of the accumulator meet the
/// previous tick's 32-byte stores of the same pairs exactly (a load that
/// straddled two earlier stores would wait for both to reach the cache).
/// A tick at an odd frame therefore covers nine pairs, the first and last
/// half-filled with zero taps; the zero products leave each sum's value as
/// it was. The low lanes take the even frames and the high lanes the odd
/// ones, so the read's two halves are the baseline's even-tap and odd-tap
/// sums (swapped at an odd frame, which their final addition does not mind).
/// Needs one frame beyond the 16 of a tick's reach in both buffers
/// (BlockBuffer keeps it, always zero in the input).
struct Avx2Taps {
    static __m128d interpolateAndInsert(const Frame* in, Frame* out, std::uint32_t i0, const double* row,
                                        __m128d delta) {
        const __m256d step = _mm256_set_m128d(delta, delta);
        const std::uint32_t base = i0 & ~1u;
        const double* from = &in[base].left;
        double* to = &out[base].left;
        __m256d sum;
        if (base == i0) {
            sum = pair(from, to, taps<0x50>(row), step, nullptr);
            pair(from + 4, to + 4, taps<0xFA>(row), step, &sum);
            pair(from + 8, to + 8, taps<0x50>(row + 4), step, &sum);
            pair(from + 12, to + 12, taps<0xFA>(row + 4), step, &sum);
            pair(from + 16, to + 16, taps<0x50>(row + 8), step, &sum);
            pair(from + 20, to + 20, taps<0xFA>(row + 8), step, &sum);
            pair(from + 24, to + 24, taps<0x50>(row + 12), step, &sum);
            pair(from + 28, to + 28, taps<0xFA>(row + 12), step, &sum);
        } else {
            const __m256d zero = _mm256_setzero_pd();
            // Pair k holds taps 2k - 1 and 2k: lanes (1, 1, 2, 2) of the four
            // taps from 2k - 2 on.
            sum = pair(from, to, _mm256_blend_pd(taps<0x00>(row), zero, 0x3), step, nullptr);
            pair(from + 4, to + 4, taps<0xA5>(row), step, &sum);
            pair(from + 8, to + 8, taps<0xA5>(row + 2), step, &sum);
            pair(from + 12, to + 12, taps<0xA5>(row + 4), step, &sum);
            pair(from + 16, to + 16, taps<0xA5>(row + 6), step, &sum);
            pair(from + 20, to + 20, taps<0xA5>(row + 8), step, &sum);
            pair(from + 24, to + 24, taps<0xA5>(row + 10), step, &sum);
            pair(from + 28, to + 28, taps<0xA5>(row + 12), step, &sum);
            pair(from + 32, to + 32, _mm256_blend_pd(taps<0xFF>(row + 12), zero, 0xC), step, &sum);
        }
        return _mm_add_pd(_mm256_castpd256_pd128(sum), _mm256_extractf128_pd(sum, 1));
    }

private:
    /// Each of two taps copied across a frame's two lanes, chosen by
    /// kLanes from the four taps at t.
    template <int kLanes>
    static __m256d taps(const double* t) {
        return _mm256_permute4x64_pd(_mm256_loadu_pd(t), kLanes);
    }

    /// One pair of frames: the read's products (added to *sum, or the first
    /// ones when sum is null) are returned; the step goes into the accumulator.
    static __m256d pair(const double* in, double* out, __m256d taps, __m256d step, __m256d* sum) {
        const __m256d read = _mm256_mul_pd(taps, _mm256_load_pd(in));
        _mm256_store_pd(out, _mm256_add_pd(_mm256_load_pd(out), _mm256_mul_pd(taps, step)));
        if (sum) *sum = _mm256_add_pd(*sum, read);
        return read;
    }
};

}  // namespace

void runVoicesAvx2(const VoiceJob& job) { runVoicesOn<Avx2Taps>(job); }

}  // namespace ReedDsp

#pragma GCC pop_options
