// The per-tick arithmetic of a voice on stereo pairs held as two-lane
// vectors: reading the input through one table row, rotating the emitted
// stage value, and adding a band-limited step into the output accumulator.
// Every sum is added in the same order as a plain scalar loop, so both
// give the same bits.
//
// Threads: any; pure functions over the buffers they are given.
#pragma once

#include <emmintrin.h>

#include <cstdint>

#include "effect/block_buffer.h"
#include "effect/interpolation_table.h"
#include "effect/ramp.h"

namespace ReedDsp {

/// One tick's two 16-tap sums in one pass over the row: the interpolated
/// input (row scaled by 4096, added in tap order, as a plain loop would) is
/// returned, and row[m] times delta is added to output frame m. The step
/// does not depend on what the tick reads, so both share the row's loads
/// and the copying of each tap across the two channels' lanes.
inline __m128d interpolateAndInsert(const Frame* in, Frame* out, const double* row, __m128d delta) {
    __m128d sum = _mm_setzero_pd();
    for (int j = 0; j < 16; j += 2) {
        const __m128d t = _mm_load_pd(row + j);
        const __m128d c0 = _mm_unpacklo_pd(t, t);
        const __m128d c1 = _mm_unpackhi_pd(t, t);
        double* a = &out[j].left;
        double* b = &out[j + 1].left;
        sum = _mm_add_pd(sum, _mm_mul_pd(_mm_load_pd(&in[j].left), c0));
        _mm_store_pd(a, _mm_add_pd(_mm_load_pd(a), _mm_mul_pd(c0, delta)));
        sum = _mm_add_pd(sum, _mm_mul_pd(_mm_load_pd(&in[j + 1].left), c1));
        _mm_store_pd(b, _mm_add_pd(_mm_load_pd(b), _mm_mul_pd(c1, delta)));
    }
    return sum;
}

/// Rotation by (a, b): (a o.left - b o.right, b o.left + a o.right), from
/// straight = (a, a) and crossed = (-b, b); -(b x) is (-b) x exactly.
inline __m128d rotate(__m128d o, __m128d straight, __m128d crossed) {
    return _mm_add_pd(_mm_mul_pd(straight, o), _mm_mul_pd(crossed, _mm_shuffle_pd(o, o, 1)));
}

/// One voice's kernels through a block: each tick reads the input at its
/// position, swaps the value for the one the line held, and writes the step
/// between the previous and the new (rotated) output. The step comes from
/// the value the line held, so it is known before the read. Holds copies of
/// the voice's state in registers; store() writes them back.
template <bool kSpreadSettled>
class VoiceKernel {
public:
    VoiceKernel(const InterpolationTable& table, const Frame* input, Frame* steps, Frame* line, std::uint32_t stages,
                const Ramp<Pair>& spread, double rampStep, bool secondVoice, std::uint32_t writeIndex,
                const Frame& previous)
        : table(table),
          input(input),
          steps(steps),
          line(line),
          stages(stages),
          spread(spread),
          rampStep(rampStep),
          bSign(secondVoice ? -1.0 : 1.0),
          w(writeIndex),
          previous(_mm_load_pd(&previous.left)) {
        const Pair settled = spread.target();
        straight = _mm_set1_pd(settled.first);
        crossed = _mm_set_pd(bSign * settled.second, -(bSign * settled.second));
    }

    void tick(double p) {
        // 4096 p is exact, so its integer part holds both the frame and the
        // row that the separate truncations of p and of (p - frame) 4096 give.
        const auto scaled = static_cast<std::int64_t>(p * 4096.0);
        const auto i0 = static_cast<std::uint32_t>(scaled >> 12);
        const auto row = 4095u - static_cast<std::uint32_t>(scaled & 4095);
        __m128d a = straight, b = crossed;
        if constexpr (!kSpreadSettled) {
            const Pair rotation = spread.valueAt(p * rampStep);
            a = _mm_set1_pd(rotation.first);
            b = _mm_set_pd(bSign * rotation.second, -(bSign * rotation.second));
        }
        w = w + 1;
        if (w >= stages) w = 0;
        const __m128d held = _mm_load_pd(&line[w].left);
        const __m128d y = rotate(held, a, b);
        const __m128d x = interpolateAndInsert(input + i0, steps + i0, table.row(row), _mm_sub_pd(y, previous));
        _mm_store_pd(&line[w].left, x);
        previous = y;
    }

    void store(std::uint32_t& writeIndex, Frame& previousOutput) const {
        writeIndex = w;
        _mm_store_pd(&previousOutput.left, previous);
    }

private:
    const InterpolationTable& table;
    const Frame* input;
    Frame* steps;
    Frame* line;
    std::uint32_t stages;
    Ramp<Pair> spread;
    double rampStep;
    double bSign;
    std::uint32_t w;
    __m128d previous;
    __m128d straight;  // the settled rotation
    __m128d crossed;
};

}  // namespace ReedDsp
