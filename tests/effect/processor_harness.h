// Drives a Processor directly, without a host: prepares it, then renders a
// whole signal in blocks whose sizes repeat from a list, applying settings
// changes at chosen frames (rounded to block starts).
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "effect/processor.h"

namespace ReedTest {

struct Stereo {
    std::vector<double> left;
    std::vector<double> right;

    explicit Stereo(std::size_t n = 0) : left(n, 0.0), right(n, 0.0) {}
    std::size_t size() const { return left.size(); }
};

inline Stereo noise(std::size_t n, double amplitude, unsigned seed = 1) {
    Stereo s(n);
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> u(-amplitude, amplitude);
    for (std::size_t i = 0; i < n; ++i) s.left[i] = u(random), s.right[i] = u(random);
    return s;
}

inline Stereo sine(std::size_t n, double cyclesPerFrame, double amplitude = 1.0) {
    Stereo s(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double x = amplitude * std::sin(2.0 * 3.141592653589793 * cyclesPerFrame * static_cast<double>(i));
        s.left[i] = x, s.right[i] = x;
    }
    return s;
}

inline Stereo impulse(std::size_t n, std::size_t at, double height = 1.0) {
    Stereo s(n);
    if (at < n) s.left[at] = height, s.right[at] = height;
    return s;
}

struct Harness {
    std::unique_ptr<ReedDsp::Processor> processor = std::make_unique<ReedDsp::Processor>();
    ReedDsp::Settings settings;
    /// Called at each block start with the frame it starts at; true when it changed the settings.
    std::function<bool(std::size_t frame, ReedDsp::Settings&)> automation;

    bool prepare(float sampleRate, std::int32_t maxBlock) {
        const bool ok = processor->prepare(sampleRate, maxBlock);
        processor->reset();
        changed = true;
        return ok;
    }

    /// Renders input in blocks of blocks[0], blocks[1], ... (repeating).
    Stereo run(const Stereo& input, const std::vector<std::uint32_t>& blocks) {
        Stereo out(input.size());
        std::size_t at = 0;
        for (std::size_t b = 0; at < input.size(); ++b) {
            const auto n =
                static_cast<std::uint32_t>(std::min<std::size_t>(blocks[b % blocks.size()], input.size() - at));
            if (automation && automation(at, settings)) changed = true;
            const double* in[2] = {input.left.data() + at, input.right.data() + at};
            double* o[2] = {out.left.data() + at, out.right.data() + at};
            processor->render(changed, settings, in, o, n);
            changed = false;
            at += n;
        }
        return out;
    }

    Stereo run(const Stereo& input, std::uint32_t block) { return run(input, std::vector<std::uint32_t>{block}); }

    bool changed = true;
};

/// Settings that hold the clock still: no depth to speak of, the LFO at a
/// zero crossing for both voices and turning as slowly as it can.
inline ReedDsp::Settings restingClock() {
    ReedDsp::Settings s;
    s.depth = 0.0f;
    s.rate = 0.0f;
    s.phase = 0.5f;
    s.spread = 0.0f;
    s.wet = 1.0f;
    return s;
}

}  // namespace ReedTest
