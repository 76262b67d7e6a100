// VoiceClock: where a voice's next tick lands. Each step depends on the
// position of the tick before it through the LFO, the ramps and the
// exponent tables, so this chain, not the kernels, sets the pace: the
// processor runs both voices' chains side by side for a whole block before
// any kernel runs.
//
// kSettled: the delay, depth and phase ramps have reached their targets
// before the block starts, so their values are the targets throughout.
// kSine: the LFO shape.
//
// Threads: audio thread. A value type copied from the processor per block.
#pragma once

#include <cmath>
#include <cstdint>

#include "effect/exp_tables.h"
#include "effect/ramp.h"

namespace ReedDsp {

template <bool kSettled, bool kSine>
class VoiceClock {
public:
    VoiceClock(const Ramp<double>& delay, const Ramp<double>& depth, const Ramp<double>& phase, double rampStep,
               double lfoIncrement, double lfoPhase)
        : delay(delay), depth(depth), phase(phase), rampStep(rampStep), lfoIncrement(lfoIncrement),
          lfoPhase(lfoPhase) {}

    /// The step from the tick at p to the next; phaseSign is -0.5 for voice 0
    /// and +0.5 for voice 1.
    double step(double p, double phaseSign) const {
        const double tau = p * rampStep;
        const double q = kSettled ? phase.target() : phase.valueAt(tau);
        const double u = phaseSign * q + p * lfoIncrement + lfoPhase + 1.0;
        const double f = u - static_cast<double>(static_cast<std::int32_t>(u));
        const double h = std::fabs(2.0 * f - 1.0);
        const double lfo = kSine ? (6.0 - 4.0 * h) * h * h - 1.0 : 2.0 * h - 1.0;
        const double d = kSettled ? delay.target() : delay.valueAt(tau);
        const double z = kSettled ? depth.target() : depth.valueAt(tau);
        const double mu = z * lfo;
        const double scaled = 4096.0 * std::fabs(mu);
        const std::uint32_t e = scaled < 65535.0 ? static_cast<std::uint32_t>(static_cast<std::int32_t>(scaled)) : 65535u;
        const double power = expQuantised(e);
        return d * (mu >= 0.0 ? power : 1.0 / power);
    }

private:
    Ramp<double> delay;
    Ramp<double> depth;
    Ramp<double> phase;
    double rampStep;
    double lfoIncrement;
    double lfoPhase;
};

/// One voice's run of ticks through a block; ticks holds their positions.
struct VoiceChain {
    double position;  // the most recent tick, in frames from the block's start
    double step;
    double phaseSign;
    double* ticks;
    std::uint32_t count = 0;
    bool done = false;
};

template <class Clock>
inline void clockTick(double& p, double& s, bool& done, double* ticks, std::uint32_t& count, const Clock& clock,
                      double phaseSign, double end) {
    p += s;
    ticks[count++] = p;
    s = clock.step(p, phaseSign);
    done = p + s > end;
}

/// Ticks both voices in lockstep until one ends the block or fills its list.
template <class Clock>
void clockTogether(VoiceChain& a, VoiceChain& b, const Clock& shared, double end, std::uint32_t capacity) {
    const Clock clock = shared;  // a local copy stays in registers across the stores
    double pa = a.position, sa = a.step, pb = b.position, sb = b.step;
    std::uint32_t ca = a.count, cb = b.count;
    bool da = a.done, db = b.done;
    while (!da && !db && ca < capacity && cb < capacity) {
        clockTick(pa, sa, da, a.ticks, ca, clock, a.phaseSign, end);
        clockTick(pb, sb, db, b.ticks, cb, clock, b.phaseSign, end);
    }
    a.position = pa, a.step = sa, a.count = ca, a.done = da;
    b.position = pb, b.step = sb, b.count = cb, b.done = db;
}

/// Ticks one voice until it ends the block or fills its list.
template <class Clock>
void clockAlone(VoiceChain& c, const Clock& shared, double end, std::uint32_t capacity) {
    const Clock clock = shared;
    double p = c.position, s = c.step;
    std::uint32_t count = c.count;
    bool done = c.done;
    while (!done && count < capacity) clockTick(p, s, done, c.ticks, count, clock, c.phaseSign, end);
    c.position = p, c.step = s, c.count = count, c.done = done;
}

}  // namespace ReedDsp
