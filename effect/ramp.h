// Ramp: the smoother behind every derived setting of the processor. Its value
// glides linearly from where it stood when it was last retargeted to the new
// target. Time runs in ramp units (one unit is 0.1 s); the glide lasts
// 0.95 t + 0.05 units, t being the time elapsed since the previous retarget,
// so a target after a long quiet spell glides for 100 ms and one that follows
// right after another for only 5 ms.
//
// Threads: audio thread only. Plain value type, owns nothing.
#pragma once

#include <algorithm>

namespace ReedDsp {

/// Two values smoothed together (dry and wet gain; the rotation's cosine and sine parts).
struct Pair {
    double first = 0.0;
    double second = 0.0;

    bool operator==(const Pair&) const = default;
};

inline double blend(double lambda, double from, double to) { return (1.0 - lambda) * from + lambda * to; }

inline Pair blend(double lambda, const Pair& from, const Pair& to) {
    return {blend(lambda, from.first, to.first), blend(lambda, from.second, to.second)};
}

template <typename Value>
class Ramp {
public:
    /// The value at in-block time tau (ramp units from the block's start).
    Value valueAt(double tau) const { return blend(std::min((tau + elapsed) * speed, 1.0), start, target_); }

    /// Starts a glide from the value reached so far; a target equal to the
    /// current one changes nothing.
    void retarget(const Value& x) {
        if (x == target_) return;
        const double lambda = std::min(elapsed * speed, 1.0);
        start = blend(lambda, start, target_);
        speed = 1.0 / (0.95 * elapsed + 0.05);
        elapsed = 0.0;
        target_ = x;
    }

    /// Moves the block's start on by step ramp units.
    void advance(double step) { elapsed = std::min(elapsed + step, 1.0); }

    /// True when the glide has ended before the block starts: then valueAt
    /// answers the target for every tau >= 0.
    bool settled() const { return elapsed * speed >= 1.0; }

    const Value& target() const { return target_; }

private:
    Value start{};
    Value target_{};
    double elapsed = 0.0;
    double speed = 1.0;
};

}  // namespace ReedDsp
