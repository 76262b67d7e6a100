#include "tools/render_tool/demo_signal.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace RenderTool {
namespace {

// A plucked string: a delay line of one period filled with noise, averaged
// on every pass so the bright attack decays into a warm tone.
class PluckedString {
public:
    PluckedString(double frequency, double sampleRate, std::uint32_t seed)
        : line(static_cast<std::size_t>(std::fmax(2.0, std::round(sampleRate / frequency)))), state(seed) {}

    // The noise's own mean is taken out: the averaging loop keeps whatever
    // sum the line starts with, so any offset would ring on as DC.
    void pluck(float strength) {
        double sum = 0;
        for (float& x : line) sum += x = noise();
        const auto mean = static_cast<float>(sum / static_cast<double>(line.size()));
        for (float& x : line) x = strength * (x - mean);
    }

    float next() {
        const std::size_t following = (position + 1) % line.size();
        const float out = line[position];
        line[position] = 0.4985f * (out + line[following]);
        position = following;
        return out;
    }

private:
    float noise() {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>(state >> 8) / 8388608.0f - 1.0f;
    }

    std::vector<float> line;
    std::size_t position = 0;
    std::uint32_t state;
};

struct Voice {
    double frequency;
    float pan;  // 0 left ... 1 right
};

// An open E minor 9 voicing, low to high, spread across the stereo field.
constexpr Voice kChord[] = {{82.41, 0.35f},  {123.47, 0.45f}, {185.00, 0.55f},
                            {246.94, 0.40f}, {293.66, 0.60f}, {369.99, 0.65f}};
constexpr double kStrumGap = 0.035;    // seconds between strings
constexpr double kSecondStrum = 2.25;  // seconds
constexpr double kLength = 4.5;        // seconds
constexpr double kFadeOut = 0.75;      // seconds of fade to silence at the end

// The second strum still rings at the end: a raised-cosine fade takes it to
// exactly zero at the last frame, so the file ends without a click.
void fadeOut(AudioBuffer& audio) {
    const std::size_t frames = audio.frames();
    const auto length = static_cast<std::size_t>(kFadeOut * audio.sampleRate);
    if (frames < 2 || length < 2 || length > frames) return;
    const std::size_t start = frames - length;
    for (std::size_t i = start; i < frames; ++i) {
        const double x = static_cast<double>(i - start) / static_cast<double>(length - 1);
        const auto gain = static_cast<float>(0.5 * (1.0 + std::cos(3.14159265358979323846 * x)));
        audio.left[i] *= gain;
        audio.right[i] *= gain;
    }
}

}  // namespace

AudioBuffer makeDemoSignal(double sampleRate) {
    AudioBuffer audio;
    audio.sampleRate = sampleRate;
    audio.resize(static_cast<std::size_t>(kLength * sampleRate));
    std::uint32_t seed = 0x7A11u;
    for (std::size_t v = 0; v < std::size(kChord); ++v) {
        PluckedString string(kChord[v].frequency, sampleRate, seed += 7919u);
        const float gainLeft = 0.32f * std::sqrt(1.0f - kChord[v].pan);
        const float gainRight = 0.32f * std::sqrt(kChord[v].pan);
        for (double strum : {0.0, kSecondStrum}) {
            const auto start = static_cast<std::size_t>((strum + kStrumGap * static_cast<double>(v)) * sampleRate);
            string.pluck(strum == 0.0 ? 1.0f : 0.8f);
            const std::size_t end = strum == 0.0 ? static_cast<std::size_t>(kSecondStrum * sampleRate) : audio.frames();
            for (std::size_t i = start; i < end && i < audio.frames(); ++i) {
                const float s = string.next();
                audio.left[i] += gainLeft * s;
                audio.right[i] += gainRight * s;
            }
        }
    }
    fadeOut(audio);
    return audio;
}

}  // namespace RenderTool
