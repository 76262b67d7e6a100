#include "tools/render_tool/audio_file.h"

#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <memory>

namespace RenderTool {
namespace {

struct SndfileCloser {
    void operator()(SNDFILE* f) const { sf_close(f); }
};
using SndfilePtr = std::unique_ptr<SNDFILE, SndfileCloser>;

constexpr sf_count_t kChunkFrames = 4096;

}  // namespace

Level measure(const AudioBuffer& audio) {
    Level level;
    double sum = 0;
    std::size_t counted = 0;
    for (const auto* channel : {&audio.left, &audio.right}) {
        for (float x : *channel) {
            if (!std::isfinite(x)) {
                ++level.nonFinite;
                continue;
            }
            level.peak = std::fmax(level.peak, std::fabs(x));
            sum += static_cast<double>(x) * x;
            ++counted;
        }
    }
    level.rms = counted ? std::sqrt(sum / static_cast<double>(counted)) : 0.0;
    return level;
}

bool readAudioFile(const std::string& path, AudioBuffer& audio, std::string& error) {
    SF_INFO info{};
    SndfilePtr file(sf_open(path.c_str(), SFM_READ, &info));
    if (!file) {
        error = "cannot read audio file " + path + ": " + sf_strerror(nullptr);
        return false;
    }
    if (info.channels < 1 || info.channels > 2) {
        error = path + " has " + std::to_string(info.channels) + " channels; only mono and stereo input is supported";
        return false;
    }
    if (info.samplerate <= 0) {
        error = path + " has no valid sample rate";
        return false;
    }
    audio.sampleRate = info.samplerate;
    audio.left.clear();
    audio.right.clear();
    std::vector<float> interleaved(static_cast<std::size_t>(kChunkFrames * info.channels));
    for (;;) {
        const sf_count_t got = sf_readf_float(file.get(), interleaved.data(), kChunkFrames);
        if (got <= 0) break;
        for (sf_count_t i = 0; i < got; ++i) {
            const float l = interleaved[static_cast<std::size_t>(i * info.channels)];
            audio.left.push_back(l);
            audio.right.push_back(info.channels == 2 ? interleaved[static_cast<std::size_t>(i * 2 + 1)] : l);
        }
    }
    if (sf_error(file.get()) != SF_ERR_NO_ERROR) {
        error = "error while reading " + path + ": " + sf_strerror(file.get());
        return false;
    }
    if (audio.frames() == 0) {
        error = path + " holds no audio";
        return false;
    }
    return true;
}

bool writeFloatWav(const std::string& path, const AudioBuffer& audio, std::string& error) {
    SF_INFO info{};
    info.samplerate = static_cast<int>(std::lround(audio.sampleRate));
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SndfilePtr file(sf_open(path.c_str(), SFM_WRITE, &info));
    if (!file) {
        error = "cannot create " + path + ": " + sf_strerror(nullptr);
        return false;
    }
    std::vector<float> interleaved(static_cast<std::size_t>(kChunkFrames * 2));
    bool ok = true;
    for (std::size_t start = 0; start < audio.frames() && ok; start += kChunkFrames) {
        const std::size_t n = std::min<std::size_t>(kChunkFrames, audio.frames() - start);
        for (std::size_t i = 0; i < n; ++i) {
            interleaved[2 * i] = audio.left[start + i];
            interleaved[2 * i + 1] = audio.right[start + i];
        }
        ok = sf_writef_float(file.get(), interleaved.data(), static_cast<sf_count_t>(n)) == static_cast<sf_count_t>(n);
    }
    if (ok) ok = sf_close(file.release()) == 0;
    if (!ok) {
        error = "could not write all of " + path + " (disk full?)";
        file.reset();
        std::remove(path.c_str());
    }
    return ok;
}

}  // namespace RenderTool
