#include "tools/render_tool/render.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

#include "tools/render_tool/hosted_effect.h"
#include "tools/render_tool/midi_feed.h"

namespace RenderTool {
namespace {

constexpr int kLatencyLimit = 1 << 22;  // frames; more than a minute at any rate

vst::VstIntPtr dispatch(vst::AEffect* e, vst::int32 opcode, vst::int32 index, vst::VstIntPtr value, float opt) {
    return e->dispatcher(e, opcode, index, value, nullptr, opt);
}

// Hands one block to whichever process entry the settings ask for.
class BlockProcessor {
public:
    BlockProcessor(vst::AEffect* effect, bool useDouble, std::size_t blockSize) : effect(effect), useDouble(useDouble) {
        for (auto* v : {&inF[0], &inF[1], &outF[0], &outF[1]}) v->resize(blockSize);
        for (auto* v : {&inD[0], &inD[1], &outD[0], &outD[1]}) v->resize(blockSize);
    }

    // Reads frames from input at start (silence past its end), writes them to out.
    void run(const AudioBuffer& input, std::size_t start, std::size_t frames, float* outLeft, float* outRight) {
        for (int c = 0; c < 2; ++c) {
            const std::vector<float>& source = c == 0 ? input.left : input.right;
            for (std::size_t i = 0; i < frames; ++i) {
                const float x = start + i < source.size() ? source[start + i] : 0.0f;
                inF[c][i] = x;
                inD[c][i] = x;
            }
        }
        const auto n = static_cast<vst::int32>(frames);
        if (useDouble) {
            double* in[2] = {inD[0].data(), inD[1].data()};
            double* out[2] = {outD[0].data(), outD[1].data()};
            effect->processDoubleReplacing(effect, in, out, n);
            for (std::size_t i = 0; i < frames; ++i) {
                outLeft[i] = static_cast<float>(outD[0][i]);
                outRight[i] = static_cast<float>(outD[1][i]);
            }
            return;
        }
        float* in[2] = {inF[0].data(), inF[1].data()};
        float* out[2] = {outLeft, outRight};
        if (effect->flags & vst::effFlagsCanReplacing) {
            effect->processReplacing(effect, in, out, n);
        } else {
            // Only the accumulating entry: it adds to what the output holds.
            std::fill(outLeft, outLeft + frames, 0.0f);
            std::fill(outRight, outRight + frames, 0.0f);
            effect->process(effect, in, out, n);
        }
    }

private:
    vst::AEffect* effect;
    bool useDouble;
    std::vector<float> inF[2], outF[2];
    std::vector<double> inD[2], outD[2];
};

}  // namespace

bool renderThrough(vst::AEffect* effect, const AudioBuffer& input, const RenderSettings& settings,
                   const ProgressFunction& progress, RenderResult& result, std::string& error) {
    if (settings.doublePrecision && !(effect->flags & vst::effFlagsCanDoubleReplacing)) {
        error = "the module cannot process double precision (run without --double)";
        return false;
    }
    if (!settings.doublePrecision && !(effect->flags & vst::effFlagsCanReplacing) && !effect->process) {
        error = "the module offers no single-precision process entry";
        return false;
    }
    const auto block = static_cast<std::size_t>(settings.blockSize);
    dispatch(effect, vst::effSetSampleRate, 0, 0, static_cast<float>(input.sampleRate));
    dispatch(effect, vst::effSetBlockSize, 0, settings.blockSize, 0.0f);
    dispatch(effect, vst::effMainsChanged, 0, 1, 0.0f);
    dispatch(effect, vst::effStartProcess, 0, 0, 0.0f);
    result.latency = effect->initialDelay;
    if (result.latency < 0 || result.latency > kLatencyLimit) {
        error = "the module reports an impossible latency of " + std::to_string(result.latency) + " frames";
        return false;
    }

    const auto tail = static_cast<std::size_t>(std::llround(settings.tailSeconds * input.sampleRate));
    std::size_t length = input.frames();
    if (settings.midi) length = std::max(length, static_cast<std::size_t>(settings.midi->endFrame));
    const std::size_t wanted = length + tail;
    const std::size_t total = wanted + static_cast<std::size_t>(result.latency);
    AudioBuffer rendered;
    rendered.sampleRate = input.sampleRate;
    rendered.resize(total);

    hostTransport().start(input.sampleRate);
    hostCallCounts() = {};
    BlockProcessor processor(effect, settings.doublePrecision, block);
    MidiFeed midi(settings.midi ? settings.midi->messages : std::vector<MidiMessage>{});
    const auto begin = std::chrono::steady_clock::now();
    for (std::size_t start = 0; start < total; start += block) {
        const std::size_t n = std::min(block, total - start);
        if (vst::VstEvents* events = midi.block(static_cast<std::int64_t>(start), n))
            effect->dispatcher(effect, vst::effProcessEvents, 0, 0, events, 0.0f);
        processor.run(input, start, n, rendered.left.data() + start, rendered.right.data() + start);
        hostTransport().advance(n);
        if (progress) progress(static_cast<double>(start + n) / static_cast<double>(total));
    }
    result.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    dispatch(effect, vst::effStopProcess, 0, 0, 0.0f);
    dispatch(effect, vst::effMainsChanged, 0, 0, 0.0f);

    // Drop the latency so output frame i belongs to input frame i.
    const auto skip = static_cast<std::ptrdiff_t>(result.latency);
    result.output.sampleRate = input.sampleRate;
    result.output.left.assign(rendered.left.begin() + skip, rendered.left.end());
    result.output.right.assign(rendered.right.begin() + skip, rendered.right.end());
    return true;
}

}  // namespace RenderTool
