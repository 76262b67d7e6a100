// The voices' part of a block. Where a tick lands depends on the tick before
// it, a chain of dependent arithmetic, while what a tick reads and writes
// (its kernels) never feeds back into the clock. So both voices' clocks run
// side by side with both voices' kernels alongside them.
//
// Every accumulator frame must still receive voice 0's steps before voice
// 1's, each voice's in tick order, as a plain tick-by-tick loop adds them.
// A tick writes the 16 frames from its position on, and voice 0's ticks
// never move backwards, so a tick of voice 1 waits in a short queue until
// voice 0's latest tick lies 16 frames or more beyond it.
#include "effect/processor.h"
#include "effect/voice_clock.h"
#include "effect/voice_kernels.h"

namespace ReedDsp {

namespace {

/// Voice 1's tick positions waiting for voice 0 to pass them. Holds more
/// than the ticks of 16 frames at the shortest step and full depth; when it
/// is full, voice 1's clock simply pauses.
class TickQueue {
public:
    bool full() const { return head - tail == kSize; }
    bool empty() const { return head == tail; }
    void push(double p) { slots[head++ % kSize] = p; }
    double front() const { return slots[tail % kSize]; }
    double pop() { return slots[tail++ % kSize]; }

private:
    static constexpr std::uint32_t kSize = 128;
    double slots[kSize];
    std::uint32_t head = 0;
    std::uint32_t tail = 0;
};

}  // namespace

void Processor::runVoices(std::uint32_t n) {
    const bool settled = delayRamp.settled() && depthRamp.settled() && phaseRamp.settled();
    const auto run = [&](const auto& clock) {
        if (spreadRamp.settled()) runVoicesWith<true>(clock, n);
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
    const double reach = BlockBuffer::kReach;
    // A tick is always processed first in a block, unless it lies a whole
    // frame or more past the block's end (runs of blocks shorter than the
    // clock step): its kernels would reach beyond the buffers, so it waits
    // for the next block.
    double p0 = voices[0].position, s0 = voices[0].step;
    double p1 = voices[1].position, s1 = voices[1].step;
    bool done0 = p0 + s0 >= end + 1.0;
    bool done1 = p1 + s1 >= end + 1.0;
    VoiceKernel<kSpreadSettled> first = kernelFor<kSpreadSettled>(0);
    VoiceKernel<kSpreadSettled> second = kernelFor<kSpreadSettled>(1);
    TickQueue waiting;

    while (!done0) {
        p0 += s0;
        s0 = clock.template step<0>(p0);
        done0 = p0 + s0 > end;
        first.tick(p0);
        if (!done1 && !waiting.full()) {
            p1 += s1;
            waiting.push(p1);
            s1 = clock.template step<1>(p1);
            done1 = p1 + s1 > end;
        }
        while (!waiting.empty() && waiting.front() + reach <= p0) second.tick(waiting.pop());
    }
    first.store(voices[0].writeIndex, voices[0].previousOutput);

    // Voice 0 is through: the queue drains two ticks per step of the clock.
    while (!done1) {
        if (!waiting.empty()) second.tick(waiting.pop());  // makes room before the push
        p1 += s1;
        waiting.push(p1);
        s1 = clock.template step<1>(p1);
        done1 = p1 + s1 > end;
        second.tick(waiting.pop());
    }
    while (!waiting.empty()) second.tick(waiting.pop());
    second.store(voices[1].writeIndex, voices[1].previousOutput);

    voices[0].position = p0 - end, voices[0].step = s0;
    voices[1].position = p1 - end, voices[1].step = s1;
}

}  // namespace ReedDsp
