// Stereo audio held whole in memory, planar, single precision, with its rate.
// Owned by whoever holds it; not shared between threads.
#pragma once

#include <cstddef>
#include <vector>

namespace RenderTool {

struct AudioBuffer {
    double sampleRate = 44100.0;
    std::vector<float> left;
    std::vector<float> right;

    std::size_t frames() const { return left.size(); }
    void resize(std::size_t frames) {
        left.assign(frames, 0.0f);
        right.assign(frames, 0.0f);
    }
};

/// Peak and RMS over both channels together.
struct Level {
    double peak = 0;
    double rms = 0;
    std::size_t nonFinite = 0;  // NaN or infinite samples, left out of peak and RMS
};

Level measure(const AudioBuffer& audio);

}  // namespace RenderTool
