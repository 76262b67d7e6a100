// Runs audio through an effect's host record block by block, the way a host
// renders offline: prepares and resumes it, feeds the input followed by
// silence for the tail, and drops the first initialDelay frames so that the
// output lines up with the input.
//
// Threads: the caller's. Ownership: the effect belongs to the caller.
#pragma once

#include <functional>
#include <string>

#include "formats/vst2/aeffect.h"
#include "tools/render_tool/audio_buffer.h"
#include "tools/render_tool/midi_file.h"

namespace RenderTool {

struct RenderSettings {
    int blockSize = 512;
    bool doublePrecision = false;
    double tailSeconds = 1.0;
    /// Fed to the effect at its frames; the render lasts at least until the sequence ends.
    const MidiSequence* midi = nullptr;
};

struct RenderResult {
    AudioBuffer output;  // input (or MIDI sequence, if longer) plus the tail, latency removed
    int latency = 0;     // initialDelay read after resume
    double wallSeconds = 0;
};

/// Called now and then with the fraction done, 0 to 1.
using ProgressFunction = std::function<void(double)>;

/// Renders input through effect; fails with a reason when the effect cannot
/// process the requested precision or reports a nonsensical latency.
bool renderThrough(vst::AEffect* effect, const AudioBuffer& input, const RenderSettings& settings,
                   const ProgressFunction& progress, RenderResult& result, std::string& error);

}  // namespace RenderTool
