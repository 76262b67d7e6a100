// The voices' part of a block: first where every tick of both voices lands,
// then, voice 0 before voice 1 and each in tick order, what the ticks read
// and write. The kernels never feed back into the clock, so the split leaves
// every result as a tick-by-tick loop would give it.
#include <emmintrin.h>

#include "effect/processor.h"
#include "effect/voice_clock.h"
#include "effect/voice_kernels.h"

namespace ReedDsp {

void Processor::runVoices(std::uint32_t n) {
    const bool settled = delayRamp.settled() && depthRamp.settled() && phaseRamp.settled();
    if (settled && sineShape)
        runVoicesWith(VoiceClock<true, true>(delayRamp, depthRamp, phaseRamp, rampStep, lfoIncrement, lfoPhase), n);
    else if (settled)
        runVoicesWith(VoiceClock<true, false>(delayRamp, depthRamp, phaseRamp, rampStep, lfoIncrement, lfoPhase), n);
    else if (sineShape)
        runVoicesWith(VoiceClock<false, true>(delayRamp, depthRamp, phaseRamp, rampStep, lfoIncrement, lfoPhase), n);
    else
        runVoicesWith(VoiceClock<false, false>(delayRamp, depthRamp, phaseRamp, rampStep, lfoIncrement, lfoPhase), n);
}

template <class Clock>
void Processor::runVoicesWith(const Clock& clock, std::uint32_t n) {
    const double end = n;
    VoiceChain chains[2] = {
        {voices[0].position, voices[0].step, -0.5, tickPositions[0]},
        {voices[1].position, voices[1].step, 0.5, tickPositions[1]},
    };
    // A tick is always processed first in a block, unless it lies a whole
    // frame or more past the block's end (runs of blocks shorter than the
    // clock step): its kernels would reach beyond the buffers, so it waits
    // for the next block.
    for (VoiceChain& chain : chains) chain.done = chain.position + chain.step >= end + 1.0;

    clockTogether(chains[0], chains[1], clock, end, kTickChunk);
    const bool spreadSettled = spreadRamp.settled();
    for (std::uint32_t v = 0; v < 2; ++v) {
        VoiceChain& chain = chains[v];
        for (;;) {
            if (spreadSettled)
                renderTicks<true>(v, chain.ticks, chain.count);
            else
                renderTicks<false>(v, chain.ticks, chain.count);
            if (chain.done) break;
            chain.count = 0;
            clockAlone(chain, clock, end, kTickChunk);
        }
        voices[v].position = chain.position - end;
        voices[v].step = chain.step;
    }
}

template <bool kSettled>
void Processor::renderTicks(std::uint32_t v, const double* positions, std::uint32_t count) {
    const Frame* in = inputStage.frames();
    Frame* steps = outputAccumulator.frames();
    Frame* line = delayMemory + std::uint64_t{v} * lineFrames;
    const std::uint32_t stages = stagesPerVoice();
    const Ramp<Pair> spread = spreadRamp;
    const double step = rampStep;
    std::uint32_t w = voices[v].writeIndex;
    __m128d previous = _mm_load_pd(&voices[v].previousOutput.left);
    for (std::uint32_t k = 0; k < count; ++k) {
        const double p = positions[k];
        const auto i0 = static_cast<std::uint32_t>(static_cast<std::int32_t>(p));
        const auto row = 4095u - static_cast<std::uint32_t>(static_cast<std::int32_t>((p - i0) * 4096.0));
        const double* coefficients = interpolation.row(row);
        const Pair rotation = kSettled ? spread.target() : spread.valueAt(p * step);
        const double b = v == 0 ? rotation.second : -rotation.second;

        const __m128d x = interpolate(in + i0, coefficients);
        w = w + 1;
        if (w >= stages) w = 0;
        const __m128d held = _mm_load_pd(&line[w].left);
        _mm_store_pd(&line[w].left, x);
        const __m128d y = rotate(held, rotation.first, b);
        insertStep(steps + i0, coefficients, _mm_sub_pd(y, previous));
        previous = y;
    }
    voices[v].writeIndex = w;
    _mm_store_pd(&voices[v].previousOutput.left, previous);
}

}  // namespace ReedDsp
