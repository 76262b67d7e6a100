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

#include <algorithm>
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
          depthSettled4096(4096.0 * depth.target()),
          inverseSlope(kSlowerThanSlope / (depthSettled4096 * (kSine ? 1.5 : 1.0) * increment4)) {}

    /// The step from voice v's tick at p to its next tick.
    template <int kVoice>
    double step(double p) const {
        const double tau = p * rampStep;
        const double mu4096 = scaledExponent<kVoice>(p, tau).mu4096;
        const std::uint32_t e = magnitude(mu4096);
        const double d = kSettled ? delaySettled : delay.valueAt(tau);
        return d * (mu4096 >= 0.0 ? ExpTablePowers[2 * e] : ExpTablePowers[2 * e + 1]);
    }

    /// What the clock reads at voice v's tick at p while the ramps are
    /// settled: the exponent table entry (2e, plus 1 when the exponent is
    /// negative), 4096 mu before truncation and 4u.
    struct Reading {
        std::uint32_t entry;
        double mu4096;
        double u4;
    };
    template <int kVoice>
    Reading read(double p) const {
        static_assert(kSettled);
        const Lfo lfo = scaledExponent<kVoice>(p, 0.0);
        return {2 * magnitude(lfo.mu4096) + (lfo.mu4096 >= 0.0 ? 0u : 1u), lfo.mu4096, lfo.u4};
    }

    /// The step that an entry gives while the ramps are settled.
    double settledStep(std::uint32_t entry) const { return delaySettled * ExpTablePowers[entry]; }

    /// How far beyond the tick that gave the reading every later tick of the
    /// block surely reads the same entry (settled ramps only).
    ///
    /// Without rounding, 4096 mu is a continuous function of p whose slope
    /// never exceeds 4096 z times the LFO's steepest slope per frame. The
    /// clock's computation of it stays within err of that function, so
    /// from the reading's value it moves by at most slope x distance + 2 err:
    /// while that stays below the distance to the nearest whole number, the
    /// truncation gives the same e and the sign stays the same. err bounds
    /// the few roundings towards zero of the chain (each below 2^-52 of its
    /// result, all results below |4u| + 17) with a tenfold margin.
    double steadySpan(const Reading& r) const {
        static_assert(kSettled);
        const double size = std::fabs(r.mu4096);
        if (!(size < 65534.0)) return 0.0;
        const double e = static_cast<double>(r.entry >> 1);
        const double err = depthSettled4096 * kRounding * (std::fabs(r.u4) + 32.0);
        const double margin = std::min(size - e, e + 1.0 - size) - 2.0 * err;
        return margin > 0.0 ? margin * inverseSlope : 0.0;
    }

private:
    static constexpr double kTruncate4 = 18014398509481984.0;  // 2^54

    static constexpr double kRounding = 1.0 / 70368744177664.0;  // 2^-46

    struct Lfo {
        double mu4096;  // the exponent in 1/4096 octaves, before truncation
        double u4;
    };

    template <int kVoice>
    Lfo scaledExponent(double p, double tau) const {
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
        return {z4096 * lfo, u4};
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
    // 1 / (the steepest slope of 4096 mu per frame, settled ramps): the LFO
    // moves 4u by increment4 per frame, and the triangle moves lfo by at most
    // 1 per unit of 4u, the smooth shape by 1.5. A little less than that, so
    // that the rounding of a span and of its end stays on the safe side.
    double inverseSlope;
    static constexpr double kSlowerThanSlope = 1.0 - 1.0 / 1048576.0;
};

/// One voice's place on its clock: the latest tick and the step to the next.
///
/// kKeepStep (settled ramps only): the step is a function of the exponent
/// entry alone, and at a slow LFO the entry stays the same for a hundred
/// ticks and more. After reading the entry the hand knows how far it surely
/// holds (VoiceClock::steadySpan) and keeps its step up to there, so a tick
/// needs one addition and one comparison, which the processor predicts,
/// instead of the whole chain. The steps are the same bits either way.
template <int kVoice, class Clock, bool kKeepStep>
class ClockHand {
public:
    static_assert(!kKeepStep || Clock::kRampsSettled);

    ClockHand(double position, double step) : p(position), s(step) {}

    void advance(const Clock& clock) {
        p += s;
        if constexpr (kKeepStep) {
            if (p >= steadyUntil) [[unlikely]] {
                const auto reading = clock.template read<kVoice>(p);
                s = clock.settledStep(reading.entry);
                steadyUntil = p + clock.steadySpan(reading);
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
    double p;
    double s;
    // The step a block starts with came from the block before, which may
    // have had other settings: the first tick reads afresh.
    double steadyUntil = -1.0;
};

}  // namespace ReedDsp
