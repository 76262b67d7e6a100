// VoiceClock: where a voice's next tick lands. Each step depends on the
// position of the tick before it through the LFO, the ramps and the
// exponent tables, so this chain, not the kernels, sets the pace: the
// processor runs both voices' chains side by side.
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
        const ExpPair& power = ExpTableProducts[e];
        return d * (mu >= 0.0 ? power.up : power.down);
    }

private:
    Ramp<double> delay;
    Ramp<double> depth;
    Ramp<double> phase;
    double rampStep;
    double lfoIncrement;
    double lfoPhase;
};

}  // namespace ReedDsp
