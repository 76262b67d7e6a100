// The processor's voices: the baseline routine (SSE2, any x86-64 processor),
// the choice between it and the wider one, and the job handed to either.
#include <emmintrin.h>

#include "effect/processor.h"
#include "effect/voice_job.h"
#include "effect/voice_loop.h"

namespace ReedDsp {

namespace {

/// A tick's two 16-tap sums, one frame at a time, in one pass over the row:
/// the step does not depend on what the tick reads, so both share the
/// row's loads and the copying of each tap across the two channels' lanes.
struct BaselineTaps {
    static __m128d interpolateAndInsert(const Frame* in, Frame* out, std::uint64_t at, const InterpolationTable& table,
                                        __m128d delta) {
        in += at >> 12;
        out += at >> 12;
        const double* row = table.row(4095 - (at & 4095));
        __m128d even = _mm_setzero_pd(), odd = _mm_setzero_pd();
        for (int j = 0; j < 16; j += 2) {
            const __m128i taps = _mm_load_si128(reinterpret_cast<const __m128i*>(row + j));
            const __m128d c0 = _mm_castsi128_pd(_mm_shuffle_epi32(taps, 0x44));
            const __m128d c1 = _mm_castsi128_pd(_mm_shuffle_epi32(taps, 0xEE));
            const __m128d read0 = _mm_mul_pd(c0, _mm_load_pd(&in[j].left));
            const __m128d read1 = _mm_mul_pd(c1, _mm_load_pd(&in[j + 1].left));
            even = j == 0 ? read0 : _mm_add_pd(even, read0);
            odd = j == 0 ? read1 : _mm_add_pd(odd, read1);
            _mm_store_pd(&out[j].left, _mm_add_pd(_mm_load_pd(&out[j].left), _mm_mul_pd(c0, delta)));
            _mm_store_pd(&out[j + 1].left, _mm_add_pd(_mm_load_pd(&out[j + 1].left), _mm_mul_pd(c1, delta)));
        }
        return _mm_add_pd(even, odd);
    }
};

// The run-time library's test also asks the system whether it saves the
// wide registers.
VoiceKernels detectVoiceKernels() {
    __builtin_cpu_init();  // may run before the run-time library's own initialisation
    return __builtin_cpu_supports("avx2") ? VoiceKernels::avx2 : VoiceKernels::baseline;
}

// Keeping the step (see ClockHand) costs a few mispredicted branches for
// every change of the exponent entry. Measured against the whole chain on
// every tick: a clear gain up to 0.05 changes a tick (the estimate below),
// even at 0.1, a loss from 0.2 on.
constexpr double kKeepStepsBelow = 0.1;

}  // namespace

VoiceKernels bestVoiceKernels() {
    static const VoiceKernels best = detectVoiceKernels();
    return best;
}

namespace {
// Decided while the module loads, not in the first audio block.
[[maybe_unused]] const VoiceKernels decidedAtLoad = bestVoiceKernels();
}  // namespace

void runVoicesBaseline(const VoiceJob& job) { runVoicesOn<BaselineTaps>(job); }

bool Processor::useKernels(VoiceKernels wanted) {
    if (wanted == VoiceKernels::avx2 && bestVoiceKernels() != VoiceKernels::avx2) return false;
    kernels = wanted;
    return true;
}

// At most how often the exponent entry changes per tick: 4096 z times the
// LFO's steepest slope (4 per cycle for the triangle, 6 for the smooth shape)
// times the cycles per tick, the step being at most twice the delay ramp's.
bool Processor::stepsMayBeKept() const {
    if (!(delayRamp.settled() && depthRamp.settled() && phaseRamp.settled())) return false;
    const double changes =
        4096.0 * depthRamp.target() * (sineShape ? 6.0 : 4.0) * lfoIncrement * 2.0 * delayRamp.target();
    return changes < kKeepStepsBelow;
}

void Processor::runVoices(std::uint32_t n) {
    const VoiceJob job{&delayRamp,
                       &depthRamp,
                       &spreadRamp,
                       &phaseRamp,
                       rampStep,
                       lfoIncrement,
                       lfoPhase,
                       sineShape,
                       stepsMayBeKept(),
                       &interpolation,
                       inputStage.frames(),
                       outputAccumulator.frames(),
                       {delayMemory, delayMemory + lineFrames},
                       stagesPerVoice(),
                       voices,
                       n};
    if (kernels == VoiceKernels::avx2) runVoicesAvx2(job);
    else
        runVoicesBaseline(job);
}

}  // namespace ReedDsp
