// The per-tick arithmetic of a voice on stereo pairs held as two-lane
// vectors: reading the input through one table row, swapping the read
// value for the one the line held, rotating that, and adding the step
// between it and the previous output into the output accumulator.
//
// Taps supplies the two 16-tap sums of a tick (the read and the step) for
// one instruction set:
//   static __m128d interpolateAndInsert(const Frame* in, Frame* out,
//       std::uint64_t at, const InterpolationTable& table, __m128d delta);
// where at = trunc(4096 p) names the tick's frame i0 = at / 4096 and its
// row 4095 - at % 4096; returns the sum over j of row[j] in[i0 + j] and
// adds row[m] delta to out[i0 + m]. Every Taps adds in the same order: each output frame gets
// one addition per tick; the read adds the even taps in order, the odd
// taps in order, then the two sums. That split (a plain loop would add all
// sixteen in order) halves the dependent additions, and it is what a
// vector of two frames gives naturally.
//
// Only templates of Taps live here: the header is compiled once per
// instruction set, and nothing of one set may stand in for the other's.
//
// Threads: any; works on the buffers of the job it is given.
#pragma once

#include <emmintrin.h>

#include <cstdint>

#include "effect/voice_job.h"

namespace ReedDsp {

/// One voice's kernels through a block: each tick reads the input at its
/// position, swaps the value for the one the line held, and writes the step
/// between the previous and the new (rotated) output. The step comes from
/// the value the line held, so it is known before the read. Holds copies of
/// the voice's state in registers; store() writes them back.
template <class Taps, bool kSpreadSettled>
class VoiceKernel {
public:
    VoiceKernel(const VoiceJob& job, std::uint32_t v)
        : table(*job.table),
          input(job.input),
          steps(job.steps),
          line(job.lines[v]),
          stages(job.stages),
          spread(*job.spread),
          rampStep(job.rampStep),
          bSign(v == 1 ? -1.0 : 1.0),
          w(job.voices[v].writeIndex),
          previous(_mm_load_pd(&job.voices[v].previousOutput.left)) {
        const Pair settled = spread.target();
        straight = _mm_set1_pd(settled.first);
        crossed = _mm_set_pd(bSign * settled.second, -(bSign * settled.second));
    }

    void tick(double p) {
        // 4096 p is exact, so its integer part holds both the frame and the
        // row that the separate truncations of p and of (p - frame) 4096 give.
        const auto at = static_cast<std::uint64_t>(static_cast<std::int64_t>(p * 4096.0));
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
        const __m128d x = Taps::interpolateAndInsert(input, steps, at, table, _mm_sub_pd(y, previous));
        _mm_store_pd(&line[w].left, x);
        previous = y;
    }

    void store(VoiceState& voice) const {
        voice.writeIndex = w;
        _mm_store_pd(&voice.previousOutput.left, previous);
    }

private:
    /// Rotation by (a, b): (a o.left - b o.right, b o.left + a o.right), from
    /// straight = (a, a) and crossed = (-b, b); -(b x) is (-b) x exactly.
    static __m128d rotate(__m128d o, __m128d straight, __m128d crossed) {
        return _mm_add_pd(_mm_mul_pd(straight, o), _mm_mul_pd(crossed, _mm_shuffle_pd(o, o, 1)));
    }

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
