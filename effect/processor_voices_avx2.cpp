// The voices' routine for processors with AVX2: the same loop and the same
// additions as the baseline, with each tick's sums taken two frames at a
// time. Called only where bestVoiceKernels() found AVX2.
//
// The build compiles this file for baseline x86-64 like every other; only
// what follows the target pragma below uses AVX2. Everything this file
// shares with the baseline routine (the clock, the ramps, the tables, the
// queue) is included before the pragma, so any out-of-line copy of it that
// the compiler emits here is baseline code, which the linker may pick for
// either routine. What comes after the pragma is templates of this file's
// own Taps, which no other file can instantiate. No fused multiply-adds
// (the target does not name FMA, and the build forbids contraction): every
// product is rounded before its sum, as in the baseline.
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

/// Which lanes of the first and of the last pair hold taps of the tick: for
/// a tick at an even frame, then at an odd one (all bits set or clear).
alignas(32) constexpr std::uint64_t kEdgeLanes[16] = {~0ull, ~0ull, ~0ull, ~0ull, 0,     0,     0, 0,  //
                                                      0,     0,     ~0ull, ~0ull, ~0ull, ~0ull, 0, 0};

/// A tick's two 16-tap sums two frames at a time. The pairs always start at
/// an even frame, so that a tick's 32-byte loads of the accumulator meet the
/// previous tick's 32-byte stores of the same pairs exactly (a load that
/// straddled two earlier stores would wait for both to reach the cache).
/// So a tick covers nine pairs from the even frame at or before it, and the
/// taps shift by one frame for a tick at an odd frame; the lanes outside the
/// tick's 16 frames get zero taps, whose products leave each sum's value as
/// it was. Nothing here branches on the frame's parity, which changes from
/// tick to tick without a pattern a processor could predict.
///
/// The low lanes take the even frames and the high lanes the odd ones, so
/// the read's two halves are the baseline's even-tap and odd-tap sums
/// (swapped at an odd frame, which their final addition does not mind).
/// Reaches two frames beyond a tick's 16 in both buffers (BlockBuffer keeps
/// them; they stay zero in the input) and two doubles beyond a table row
/// on either side (the table's padding).
struct Avx2Taps {
    static __m128d interpolateAndInsert(const Frame* in, Frame* out, std::uint64_t at, const InterpolationTable& table,
                                        __m128d delta) {
        // In bytes: the first pair starts at the even frame at or before the
        // tick (frames are 16 bytes), and pair k holds taps 2k - odd and
        // 2k + 1 - odd, lanes 1 and 2 of the four doubles from 2k - 1 - odd on.
        const std::uint64_t odd8 = (at >> 9) & 8;  // 8 for a tick at an odd frame
        const std::uint64_t pairs = (at >> 8) & ~std::uint64_t{31};
        const double* from = reinterpret_cast<const double*>(reinterpret_cast<const char*>(in) + pairs);
        double* to = reinterpret_cast<double*>(reinterpret_cast<char*>(out) + pairs);
        const double* taps = reinterpret_cast<const double*>(reinterpret_cast<const char*>(table.row(0)) +
                                                             ((~at & 4095) << 7) - 8 - odd8);
        const std::uint64_t* edges = kEdgeLanes + odd8;
        const __m256d step = _mm256_set_m128d(delta, delta);
        __m256d sum = pair(from, to, _mm256_and_pd(spread(taps), lanes(edges)), step);
        for (int k = 1; k < 8; ++k)
            sum = _mm256_add_pd(sum, pair(from + 4 * k, to + 4 * k, spread(taps + 2 * k), step));
        sum = _mm256_add_pd(sum, pair(from + 32, to + 32, _mm256_and_pd(spread(taps + 16), lanes(edges + 4)), step));
        return _mm_add_pd(_mm256_castpd256_pd128(sum), _mm256_extractf128_pd(sum, 1));
    }

private:
    static __m256d lanes(const std::uint64_t* bits) {
        return _mm256_castsi256_pd(_mm256_load_si256(reinterpret_cast<const __m256i*>(bits)));
    }

    /// Lanes 1 and 2 of the four doubles at t, each across a frame's two lanes.
    static __m256d spread(const double* t) { return _mm256_permute4x64_pd(_mm256_loadu_pd(t), 0xA5); }

    /// One pair of frames: the step goes into the accumulator, the read's
    /// products are returned.
    static __m256d pair(const double* in, double* out, __m256d taps, __m256d step) {
        _mm256_store_pd(out, _mm256_add_pd(_mm256_load_pd(out), _mm256_mul_pd(taps, step)));
        return _mm256_mul_pd(taps, _mm256_load_pd(in));
    }
};

}  // namespace

void runVoicesAvx2(const VoiceJob& job) { runVoicesOn<Avx2Taps>(job); }

}  // namespace ReedDsp

#pragma GCC pop_options
