#include "tools/render_tool/session.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "tools/render_tool/audio_file.h"
#include "tools/render_tool/demo_signal.h"
#include "tools/render_tool/hosted_effect.h"
#include "tools/render_tool/midi_file.h"
#include "tools/render_tool/options.h"
#include "tools/render_tool/preset_file.h"
#include "tools/render_tool/progress_bar.h"
#include "tools/render_tool/prompt_answer.h"
#include "tools/render_tool/render.h"

namespace RenderTool {
namespace {

constexpr std::size_t kPresetFileLimit = 64u << 20;

// Thrown for anything that ends the run with a message; caught once, in runRenderTool.
struct Failure {
    std::string reason;
};

void require(bool ok, const std::string& reason) {
    if (!ok) throw Failure{reason};
}

Bytes readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    require(in.good(), "cannot open " + path);
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    require(size >= 0, "cannot read " + path);
    require(static_cast<std::uint64_t>(size) <= kPresetFileLimit, path + " is too large to be a preset");
    in.seekg(0);
    Bytes bytes(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), size);
    require(in.good() || bytes.empty(), "cannot read " + path);
    return bytes;
}

void writeWholeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    require(out.good(), "cannot create " + path);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out.good()) {
        std::remove(path.c_str());
        throw Failure{"could not write all of " + path};
    }
}

AudioBuffer gatherInput(const RenderOptions& options) {
    if (options.inputPath.empty()) return makeDemoSignal(options.sampleRate.value_or(44100.0));
    AudioBuffer audio;
    std::string error;
    require(readAudioFile(options.inputPath, audio, error), error);
    return audio;
}

constexpr double kMidiSecondsLimit = 6 * 3600.0;  // the render is held in memory

MidiSequence gatherMidi(const std::string& path, double sampleRate) {
    MidiSequence midi;
    try {
        midi = readMidiFile(path, sampleRate);
    } catch (const MidiFileError& e) {
        throw Failure{"MIDI file " + path + ": " + e.what()};
    }
    const double seconds = static_cast<double>(midi.endFrame) / sampleRate;
    require(seconds <= kMidiSecondsLimit, "MIDI file " + path + " lasts " + std::to_string(std::lround(seconds)) +
                                              " s; tallow-render renders at most 6 hours");
    std::printf("MIDI %s: %zu channel messages over %.3f s\n", path.c_str(), midi.messages.size(), seconds);
    return midi;
}

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

bool isBankPath(const std::string& path) { return lower(path.substr(path.size() - 4)) == ".fxb"; }

void checkLayout(const vst::AEffect* e) {
    require(e->numInputs >= 0 && e->numInputs <= 2 && e->numOutputs == 2,
            "the module has " + std::to_string(e->numInputs) + " inputs and " + std::to_string(e->numOutputs) +
                " outputs; tallow-render renders stereo effects with 2 outputs");
}

void loadPreset(const HostedEffect& effect, const std::string& path) {
    PresetFile preset;
    std::string error;
    const bool parsed = parsePreset(readWholeFile(path), preset, error);
    require(parsed, path + ": " + error);
    require(effect.record()->flags & vst::effFlagsProgramChunks,
            "the module does not take state chunks, so " + path + " cannot be loaded");
    if (preset.fxID != effect.record()->uniqueID)
        std::fprintf(stderr, "tallow-render: warning: %s was saved by another module (ID %08X, this one is %08X)\n",
                     path.c_str(), static_cast<unsigned>(preset.fxID),
                     static_cast<unsigned>(effect.record()->uniqueID));
    require(!preset.chunk.empty(), path + " holds an empty chunk");
    const int declinedBefore = declinedCount();
    effect.dispatch(vst::effSetChunk, preset.isBank ? 0 : 1, static_cast<vst::VstIntPtr>(preset.chunk.size()),
                    preset.chunk.data());
    require(declinedCount() == declinedBefore,
            "the module asked before loading " + path + " and was answered No; use --yes to load it anyway");
    // A program chunk holds values only; its name travels in the file's header.
    if (!preset.isBank && !preset.programName.empty()) {
        std::string name = preset.programName;
        effect.dispatch(vst::effSetProgramName, 0, 0, name.data());
    }
    std::printf("loaded %s %s (%zu bytes of state)\n", preset.isBank ? "bank" : "program", path.c_str(),
                preset.chunk.size());
}

void selectProgram(const HostedEffect& effect, int program) {
    const vst::int32 count = effect.record()->numPrograms;
    require(program < count, "--program " + std::to_string(program) + " is out of range: the module has " +
                                 std::to_string(count) + " programs (0 to " + std::to_string(count - 1) + ")");
    effect.dispatch(vst::effSetProgram, 0, program);
    require(effect.dispatch(vst::effGetProgram) == program,
            "the module did not switch to program " + std::to_string(program));
    std::printf("program %d: \"%s\"\n", program, effect.text(vst::effGetProgramName).c_str());
}

void applySettings(const HostedEffect& effect, const RenderOptions& options) {
    const std::vector<std::string> names = effect.parameterNames();
    for (const auto& [name, value] : options.settings) {
        auto found =
            std::find_if(names.begin(), names.end(), [&](const std::string& n) { return lower(n) == lower(name); });
        if (found == names.end()) {
            std::string known;
            for (const std::string& n : names) known += (known.empty() ? "" : ", ") + n;
            throw Failure{"the module has no parameter \"" + name + "\" (it has: " + known + ")"};
        }
        const auto index = static_cast<vst::int32>(found - names.begin());
        effect.record()->setParameter(effect.record(), index, value);
        std::printf("%s = %g (%s)\n", found->c_str(), static_cast<double>(value),
                    effect.text(vst::effGetParamDisplay, index).c_str());
    }
}

void savePreset(const HostedEffect& effect, const std::string& path) {
    const bool bank = isBankPath(path);
    require(effect.record()->flags & vst::effFlagsProgramChunks,
            "the module does not give state chunks; nothing saved");
    void* data = nullptr;
    const vst::VstIntPtr size = effect.dispatch(vst::effGetChunk, bank ? 0 : 1, 0, &data);
    require(size > 0 && data, "the module returned no state; " + path + " was not written");
    require(static_cast<std::uint64_t>(size) <= kPresetFileLimit, "the module returned an implausibly large state");
    PresetFile preset;
    preset.isBank = bank;
    preset.fxID = effect.record()->uniqueID;
    preset.fxVersion = effect.record()->version;
    preset.count = bank ? effect.record()->numPrograms : effect.record()->numParams;
    if (!bank) preset.programName = effect.text(vst::effGetProgramName);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    preset.chunk.assign(bytes, bytes + size);
    writeWholeFile(path, buildPreset(preset));
    std::printf("saved %s %s (%zu bytes of state)\n", bank ? "bank" : "program", path.c_str(), preset.chunk.size());
}

std::string describe(const Level& level) {
    auto db = [](double x) { return x > 0 ? 20.0 * std::log10(x) : -INFINITY; };
    char text[128];
    std::snprintf(text, sizeof text, "peak %.4f (%.1f dBFS), RMS %.4f (%.1f dBFS)", level.peak, db(level.peak),
                  level.rms, db(level.rms));
    return text;
}

void printSummary(const HostedEffect& effect, const AudioBuffer& input, const RenderResult& result,
                  const RenderSettings& settings) {
    const double seconds = static_cast<double>(result.output.frames()) / result.output.sampleRate;
    const double factor = result.wallSeconds > 0 ? seconds / result.wallSeconds : INFINITY;
    std::printf("rendered %zu frames (%.3f s at %g Hz) through \"%s\" in %s precision, blocks of %d\n",
                result.output.frames(), seconds, result.output.sampleRate, effect.text(vst::effGetEffectName).c_str(),
                settings.doublePrecision ? "double" : "single", settings.blockSize);
    std::printf("latency compensated: %d frames; tail %.3f s\n", result.latency, settings.tailSeconds);
    if (settings.midi)
        std::printf("MIDI fed: %zu messages; the module sent %zu automation calls and %zu display updates\n",
                    settings.midi->messages.size(), hostCallCounts().automate, hostCallCounts().updateDisplay);
    std::printf("time %.3f s, %.1fx realtime\n", result.wallSeconds, factor);
    std::printf("input:  %s\n", describe(measure(input)).c_str());
    std::printf("output: %s\n", describe(measure(result.output)).c_str());
}

int run(const RenderOptions& options) {
    setPromptAnswer(options.answerYes);
    const AudioBuffer input = gatherInput(options);
    std::string error;
    std::unique_ptr<HostedEffect> effect = HostedEffect::load(options.modulePath, error);
    require(effect != nullptr, error);
    checkLayout(effect->record());
    if (!options.presetPath.empty()) loadPreset(*effect, options.presetPath);
    if (options.program) selectProgram(*effect, *options.program);
    applySettings(*effect, options);

    RenderSettings settings{options.blockSize, options.doublePrecision, options.tailSeconds};
    MidiSequence midi;
    if (!options.midiPath.empty()) {
        midi = gatherMidi(options.midiPath, input.sampleRate);
        settings.midi = &midi;
    }
    RenderResult result;
    {
        ProgressBar bar;
        require(renderThrough(
                    effect->record(), input, settings, [&](double f) { bar.update(f); }, result, error),
                error);
    }
    require(writeFloatWav(options.outputPath, result.output, error), error);
    printSummary(*effect, input, result, settings);
    std::printf("wrote %s\n", options.outputPath.c_str());
    if (!options.savePresetPath.empty()) savePreset(*effect, options.savePresetPath);
    const Level out = measure(result.output);
    if (out.nonFinite) {
        std::fprintf(stderr, "tallow-render: error: the output holds %zu NaN or infinite samples\n", out.nonFinite);
        return 1;
    }
    return 0;
}

}  // namespace

int runRenderTool(int argc, const char* const* argv) {
    RenderOptions options;
    std::string error;
    if (!parseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "tallow-render: error: %s\n", error.c_str());
        return 2;
    }
    if (options.showHelp) {
        std::fputs(usageText().c_str(), stdout);
        return 0;
    }
    try {
        return run(options);
    } catch (const Failure& failure) {
        std::fprintf(stderr, "tallow-render: error: %s\n", failure.reason.c_str());
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "tallow-render: error: out of memory\n");
    }
    return 1;
}

}  // namespace RenderTool
