// VoiceClock: where a voice's next tick lands. Each step depends on the
// position of the tick before it through the LFO, the ramps and the
// exponent tables, so this chain, not the kernels, sets the pace: the
// processor runs both voices' chains side by side, and the chain is kept
// as short as the arithmetic allows without changing a single bit.
//
// Every step gives the bits of the plain computation
//   u = (v - 0.5) q + p lfoIncrement + lfoPhase + 1, f = u - trunc(u),
//   h = |2f - 1|, lfo from h, mu = z lfo, e = trunc(4096 |mu|),
// by way of exact rescalings only:
// - u is computed four times over (every term scaled by 4 is exact, so
//   each rounded sum is four times the plain one);
// - 2 (2f - 1) = 4u - (4 trunc(u) + 2), one rounding of the same exact
//   value, and 4 trunc(u) + 2 comes from one addition of 2^54, which
//   truncates to a multiple of 4 in the audio routine's rounding mode
//   (towards zero), and one exact subtraction;
// - 4096 |mu| = |(4096 z) lfo|, and its sign is that of mu.
// So the clock must run inside the audio routine's floating-point mode
// (FpGuard); the tests compare it with the plain computation bit for bit.
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
    static constexpr bool kRampsSettled = kSettled;

    VoiceClock(const Ramp<double>& delay, const Ramp<double>& depth, const Ramp<double>& phase, double rampStep,
               double lfoIncrement, double lfoPhase)
        : delay(delay),
          depth(depth),
          phase(phase),
          rampStep(rampStep),
          increment4(4.0 * lfoIncrement),
          phase4(4.0 * lfoPhase),
          offset4{-2.0 * phase.target(), 2.0 * phase.target()},
          delaySettled(delay.target()),
          depthSettled4096(4096.0 * depth.target()) {}

    /// The step from voice v's tick at p to its next tick.
    template <int kVoice>
    double step(double p) const {
        const double tau = p * rampStep;
        const double mu4096 = scaledExponent<kVoice>(p, tau);
        const std::uint32_t e = magnitude(mu4096);
        const double d = kSettled ? delaySettled : delay.valueAt(tau);
        return d * (mu4096 >= 0.0 ? ExpTablePowers[2 * e] : ExpTablePowers[2 * e + 1]);
    }

    /// The exponent table entry of voice v's tick at p: 2e, plus 1 when the
    /// exponent is negative.
    template <int kVoice>
    std::uint32_t entry(double p) const {
        const double mu4096 = scaledExponent<kVoice>(p, p * rampStep);
        return 2 * magnitude(mu4096) + (mu4096 >= 0.0 ? 0u : 1u);
    }

    /// The step that an entry gives while the ramps are settled.
    double settledStep(std::uint32_t entry) const { return delaySettled * ExpTablePowers[entry]; }

private:
    static constexpr double kTruncate4 = 18014398509481984.0;  // 2^54

    /// 4096 mu: the exponent in 1/4096 octaves, before truncation.
    template <int kVoice>
    double scaledExponent(double p, double tau) const {
        const double offset = kSettled ? offset4[kVoice] : (kVoice ? 2.0 : -2.0) * phase.valueAt(tau);
        const double u4 = offset + p * increment4 + phase4 + 4.0;
        const double truncated4 = (u4 + kTruncate4) - (kTruncate4 - 2.0);  // 4 trunc(u) + 2
        const double h2 = std::fabs(u4 - truncated4);                      // 2h
        double lfo;
        if constexpr (kSine) {
            const double h = 0.5 * h2;
            lfo = (6.0 - (h2 + h2)) * h * h - 1.0;
        } else {
            lfo = h2 - 1.0;
        }
        const double z4096 = kSettled ? depthSettled4096 : 4096.0 * depth.valueAt(tau);
        return z4096 * lfo;
    }

    /// e = trunc(|4096 mu|), capped at 65535.
    static std::uint32_t magnitude(double mu4096) {
        const double scaled = std::fabs(mu4096);
        return scaled < 65535.0 ? static_cast<std::uint32_t>(static_cast<std::int32_t>(scaled)) : 65535u;
    }

    Ramp<double> delay;
    Ramp<double> depth;
    Ramp<double> phase;
    double rampStep;
    double increment4;
    double phase4;
    double offset4[2];
    double delaySettled;
    double depthSettled4096;
};

/// One voice's place on its clock: the latest tick and the step to the next.
///
/// kKeepStep (settled ramps only): the step is a function of the exponent
/// entry alone, and at a slow LFO the entry stays the same for a hundred
/// ticks and more. The hand then keeps its step and only checks the entry:
/// the check is a branch that the processor predicts, so the next position
/// needs one addition instead of the whole chain. The steps are the same
/// bits either way.
template <int kVoice, class Clock, bool kKeepStep>
class ClockHand {
public:
    static_assert(!kKeepStep || Clock::kRampsSettled);

    ClockHand(double position, double step) : p(position), s(step) {}

    void advance(const Clock& clock) {
        p += s;
        if constexpr (kKeepStep) {
            const std::uint32_t now = clock.template entry<kVoice>(p);
            if (now != held) [[unlikely]] {
                held = now;
                s = clock.settledStep(now);
            }
        } else {
            s = clock.template step<kVoice>(p);
        }
    }

    double position() const { return p; }
    double step() const { return s; }
    /// True when the next tick lies past end.
    bool passes(double end) const { return p + s > end; }

private:
    static constexpr std::uint32_t kNoEntry = ~0u;  // the step of a block's start came from elsewhere

    double p;
    double s;
    std::uint32_t held = kNoEntry;
};

}  // namespace ReedDsp
