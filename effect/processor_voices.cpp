// The voices' part of a block. Where a tick lands depends on the tick before
// it, a chain of dependent arithmetic, while what a tick reads and writes
// (its kernels) never feeds back into the clock. So both voices' clocks run
// side by side with voice 0's kernels alongside them, and voice 1's kernels
// follow from the tick positions its clock left behind. Every accumulator
// frame still receives voice 0's steps before voice 1's, each voice's in
// tick order, as a plain tick-by-tick loop would add them.
#include "effect/processor.h"
#include "effect/voice_clock.h"
#include "effect/voice_kernels.h"

namespace ReedDsp {

void Processor::runVoices(std::uint32_t n) {
    const bool settled = delayRamp.settled() && depthRamp.settled() && phaseRamp.settled();
    const auto run = [&](const auto& clock) {
        if (spreadRamp.settled())
            runVoicesWith<true>(clock, n);
        else
            runVoicesWith<false>(clock, n);
    };
    if (settled && sineShape)
        run(VoiceClock<true, true>(delayRamp, depthRamp, phaseRamp, rampStep, lfoIncrement, lfoPhase));
    else if (settled)
        run(VoiceClock<true, false>(delayRamp, depthRamp, phaseRamp, rampStep, lfoIncrement, lfoPhase));
    else if (sineShape)
        run(VoiceClock<false, true>(delayRamp, depthRamp, phaseRamp, rampStep, lfoIncrement, lfoPhase));
    else
        run(VoiceClock<false, false>(delayRamp, depthRamp, phaseRamp, rampStep, lfoIncrement, lfoPhase));
}

template <bool kSpreadSettled>
VoiceKernel<kSpreadSettled> Processor::kernelFor(std::uint32_t v) {
    return VoiceKernel<kSpreadSettled>(interpolation, inputStage.frames(), outputAccumulator.frames(),
                                       delayMemory + std::uint64_t{v} * lineFrames, stagesPerVoice(), spreadRamp,
                                       rampStep, v == 1, voices[v].writeIndex, voices[v].previousOutput);
}

template <bool kSpreadSettled, class Clock>
void Processor::runVoicesWith(const Clock& shared, std::uint32_t n) {
    const Clock clock = shared;  // a local copy stays in registers across the kernels' stores
    const double end = n;
    // A tick is always processed first in a block, unless it lies a whole
    // frame or more past the block's end (runs of blocks shorter than the
    // clock step): its kernels would reach beyond the buffers, so it waits
    // for the next block.
    double p0 = voices[0].position, s0 = voices[0].step;
    double p1 = voices[1].position, s1 = voices[1].step;
    bool done0 = p0 + s0 >= end + 1.0;
    bool done1 = p1 + s1 >= end + 1.0;
    double* ticks1 = tickPositions;
    std::uint32_t count1 = 0;

    VoiceKernel<kSpreadSettled> first = kernelFor<kSpreadSettled>(0);
    while (!done0 && !done1 && count1 < kTickChunk) {
        p0 += s0;
        s0 = clock.step(p0, -0.5);
        done0 = p0 + s0 > end;
        p1 += s1;
        ticks1[count1++] = p1;
        s1 = clock.step(p1, 0.5);
        done1 = p1 + s1 > end;
        first.tick(p0);
    }
    while (!done0) {
        p0 += s0;
        s0 = clock.step(p0, -0.5);
        done0 = p0 + s0 > end;
        first.tick(p0);
    }
    first.store(voices[0].writeIndex, voices[0].previousOutput);

    VoiceKernel<kSpreadSettled> second = kernelFor<kSpreadSettled>(1);
    for (;;) {
        for (std::uint32_t k = 0; k < count1; ++k) second.tick(ticks1[k]);
        if (done1) break;
        for (count1 = 0; !done1 && count1 < kTickChunk;) {
            p1 += s1;
            ticks1[count1++] = p1;
            s1 = clock.step(p1, 0.5);
            done1 = p1 + s1 > end;
        }
    }
    second.store(voices[1].writeIndex, voices[1].previousOutput);

    voices[0].position = p0 - end, voices[0].step = s0;
    voices[1].position = p1 - end, voices[1].step = s1;
}

}  // namespace ReedDsp
