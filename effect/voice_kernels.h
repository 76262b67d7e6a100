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

/// Sum over the 16 taps of input frame j times row[j] (row scaled by 4096),
/// added in tap order, as a plain loop would.
inline __m128d interpolate(const Frame* in, const double* row) {
    __m128d sum = _mm_setzero_pd();
    for (int j = 0; j < 16; j += 2) {
        const __m128d t = _mm_load_pd(row + j);
        sum = _mm_add_pd(sum, _mm_mul_pd(_mm_load_pd(&in[j].left), _mm_unpacklo_pd(t, t)));
        sum = _mm_add_pd(sum, _mm_mul_pd(_mm_load_pd(&in[j + 1].left), _mm_unpackhi_pd(t, t)));
    }
    return sum;
}

/// Adds row[m] times delta to output frame m, m = 0 ... 15.
inline void insertStep(Frame* out, const double* row, __m128d delta) {
    for (int m = 0; m < 16; m += 2) {
        const __m128d t = _mm_load_pd(row + m);
        double* a = &out[m].left;
        double* b = &out[m + 1].left;
        _mm_store_pd(a, _mm_add_pd(_mm_load_pd(a), _mm_mul_pd(_mm_unpacklo_pd(t, t), delta)));
        _mm_store_pd(b, _mm_add_pd(_mm_load_pd(b), _mm_mul_pd(_mm_unpackhi_pd(t, t), delta)));
    }
}

/// (a o.left - b o.right, b o.left + a o.right).
inline __m128d rotate(__m128d o, double a, double b) {
    const __m128d straight = _mm_mul_pd(_mm_set1_pd(a), o);
    const __m128d crossed = _mm_mul_pd(_mm_set1_pd(b), _mm_shuffle_pd(o, o, 1));
    const __m128d negateLeft = _mm_set_pd(0.0, -0.0);
    return _mm_add_pd(straight, _mm_xor_pd(crossed, negateLeft));
}

/// One voice's kernels through a block: each tick reads the input at its
/// position, swaps the value for the one the line held, and writes the step
/// between the previous and the new (rotated) output. Holds copies of the
/// voice's state in registers; store() writes them back.
template <bool kSpreadSettled>
class VoiceKernel {
public:
    VoiceKernel(const InterpolationTable& table, const Frame* input, Frame* steps, Frame* line,
                std::uint32_t stages, const Ramp<Pair>& spread, double rampStep, bool secondVoice,
                std::uint32_t writeIndex, const Frame& previous)
        : table(table), input(input), steps(steps), line(line), stages(stages), spread(spread),
          rampStep(rampStep), bSign(secondVoice ? -1.0 : 1.0), w(writeIndex),
          previous(_mm_load_pd(&previous.left)) {}

    void tick(double p) {
        const auto i0 = static_cast<std::uint32_t>(static_cast<std::int32_t>(p));
        const auto row = 4095u - static_cast<std::uint32_t>(static_cast<std::int32_t>((p - i0) * 4096.0));
        const double* coefficients = table.row(row);
        const Pair rotation = kSpreadSettled ? spread.target() : spread.valueAt(p * rampStep);

        const __m128d x = interpolate(input + i0, coefficients);
        w = w + 1;
        if (w >= stages) w = 0;
        const __m128d held = _mm_load_pd(&line[w].left);
        _mm_store_pd(&line[w].left, x);
        const __m128d y = rotate(held, rotation.first, bSign * rotation.second);
        insertStep(steps + i0, coefficients, _mm_sub_pd(y, previous));
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
};

}  // namespace ReedDsp
