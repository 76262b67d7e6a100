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
//
// Only templates of Taps live here (see voice_kernel.h): each instruction
// set's routine instantiates its own copy.
//
// Threads: audio thread, inside the audio routine's floating-point mode.
#pragma once

#include <cstdint>
#include <type_traits>

#include "effect/tick_queue.h"
#include "effect/voice_clock.h"
#include "effect/voice_job.h"
#include "effect/voice_kernel.h"

namespace ReedDsp {

template <class Taps, bool kSpreadSettled, class Clock, bool kKeepStep>
void runVoiceLoop(const VoiceJob& job, const Clock& clock) {
    const double end = job.frames;
    const double reach = BlockBuffer::kReach;
    VoiceState& state0 = job.voices[0];
    VoiceState& state1 = job.voices[1];
    ClockHand<0, Clock, kKeepStep> hand0(state0.position, state0.step);
    ClockHand<1, Clock, kKeepStep> hand1(state1.position, state1.step);
    // A tick is always processed first in a block, unless it lies a whole
    // frame or more past the block's end (runs of blocks shorter than the
    // clock step): its kernels would reach beyond the buffers, so it waits
    // for the next block.
    bool done0 = hand0.position() + hand0.step() >= end + 1.0;
    bool done1 = hand1.position() + hand1.step() >= end + 1.0;
    VoiceKernel<Taps, kSpreadSettled> first(job, 0);
    VoiceKernel<Taps, kSpreadSettled> second(job, 1);
    TickQueue waiting;

    while (!done0) {
        hand0.advance(clock);
        done0 = hand0.passes(end);
        first.tick(hand0.position());
        if (!done1 && !waiting.full()) {
            hand1.advance(clock);
            waiting.push(hand1.position());
            done1 = hand1.passes(end);
        }
        while (!waiting.empty() && waiting.front() + reach <= hand0.position()) second.tick(waiting.pop());
    }
    first.store(state0);

    // Voice 0 is through: the queue drains two ticks per step of the clock.
    while (!done1) {
        if (!waiting.empty()) second.tick(waiting.pop());  // makes room before the push
        hand1.advance(clock);
        waiting.push(hand1.position());
        done1 = hand1.passes(end);
        second.tick(waiting.pop());
    }
    while (!waiting.empty()) second.tick(waiting.pop());
    second.store(state1);

    state0.position = hand0.position() - end, state0.step = hand0.step();
    state1.position = hand1.position() - end, state1.step = hand1.step();
}

template <class Taps, class Clock, bool kKeepStep>
void runVoicesWithClock(const VoiceJob& job, const Clock& shared) {
    const Clock clock = shared;  // a local copy stays in registers across the kernels' stores
    if (job.spread->settled()) runVoiceLoop<Taps, true, Clock, kKeepStep>(job, clock);
    else
        runVoiceLoop<Taps, false, Clock, kKeepStep>(job, clock);
}

/// Both voices through one block, with the kernels of Taps.
template <class Taps>
void runVoicesOn(const VoiceJob& job) {
    const auto run = [&job](const auto& clock) {
        using Clock = std::remove_cvref_t<decltype(clock)>;
        if constexpr (Clock::kRampsSettled) {
            if (job.keepSteps) return runVoicesWithClock<Taps, Clock, true>(job, clock);
        }
        runVoicesWithClock<Taps, Clock, false>(job, clock);
    };
    const bool settled = job.delay->settled() && job.depth->settled() && job.phase->settled();
    const auto clock = [&job](auto settledTag, auto sineTag) {
        return VoiceClock<decltype(settledTag)::value, decltype(sineTag)::value>(
            *job.delay, *job.depth, *job.phase, job.rampStep, job.lfoIncrement, job.lfoPhase);
    };
    using Yes = std::true_type;
    using No = std::false_type;
    if (settled && job.sineShape) run(clock(Yes{}, Yes{}));
    else if (settled)
        run(clock(Yes{}, No{}));
    else if (job.sineShape)
        run(clock(No{}, Yes{}));
    else
        run(clock(No{}, No{}));
}

}  // namespace ReedDsp
