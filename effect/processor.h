// Processor: the effect's sound. Two clocked delay lines (the voices) sample
// the input through the interpolation table at each tick of a clock that the
// LFO bends exponentially, hold each sample for one line length, and emit
// their staircase output as band-limited steps that a leaky integrator turns
// back into audio; the voices' sum is mixed with the input, delayed by the
// reported latency of 16 frames, by an equal-power law.
//
// The processor knows nothing of the host: its owner hands it the sample rate
// and maximum block size, a snapshot of the parameter values and the buffers.
//
// Threads: prepare, reset and render run on the host's audio thread (resume
// and process); nothing here locks or allocates except prepare. The inspection
// calls are for the same thread. Ownership: owns the block buffers and the
// delay memory; reads the process's one interpolation table, which every
// processor shares and none owns.
#pragma once

#include <cstdint>

#include "effect/block_buffer.h"
#include "effect/interpolation_table.h"
#include "effect/ramp.h"
#include "effect/voice_job.h"

namespace ReedDsp {

/// The parameter values a block is rendered with, each between 0 and 1.
struct Settings {
    float delay = 0.5f;
    float rate = 0.5f;
    float depth = 0.5f;
    float spread = 0.5f;
    float phase = 0.25f;
    float wet = 0.5f;
    float shape = 0.0f;
    float invert = 0.0f;
    float range = 0.67f;
};

class Processor {
public:
    static constexpr std::uint32_t kLatency = 16;
    /// Longest block or delay line (in frames) that prepare accepts.
    static constexpr std::uint32_t kMaxFrames = 1u << 24;

    Processor();
    ~Processor();
    Processor(const Processor&) = delete;
    Processor& operator=(const Processor&) = delete;

    /// Sizes every buffer for the sample rate and blocks of up to maxBlock
    /// frames. When that fails (no memory, a rate or size that makes no
    /// sense) the processor renders silence until a later prepare succeeds.
    bool prepare(float sampleRate, std::int32_t maxBlock);
    /// Silences the voices and the wet path; the dry path and the settings stay.
    void reset();
    /// Renders n frames. changed: the settings differ from the previous
    /// block's. A block longer than the prepared maximum renders silence.
    void render(bool changed, const Settings& settings, const double* const* inputs, double* const* outputs,
                std::uint32_t n);

    bool ready() const { return prepared; }
    std::uint32_t framesPerVoice() const { return lineFrames; }
    /// 8, 4, 2 or 1 once the settings have been applied; 0 before.
    std::uint32_t rangeStride() const { return stride; }
    /// Stages per voice: framesPerVoice / rangeStride, rounded up.
    std::uint32_t stagesPerVoice() const { return stride ? (lineFrames + stride - 1) / stride : 0; }
    double rampStepValue() const { return rampStep; }
    const InterpolationTable& table() const { return interpolation; }

    /// The instruction set the voices run on: the best the processor has,
    /// unless a test or benchmark asks for another. False (and no change)
    /// when this processor cannot run the one asked for.
    bool useKernels(VoiceKernels kernels);
    VoiceKernels kernelsInUse() const { return kernels; }

private:
    void renderGuarded(bool changed, const Settings& settings, const double* const* inputs, double* const* outputs,
                       std::uint32_t n);
    void update(const Settings& settings);
    void stage(const double* const* inputs, std::uint32_t n);
    void runVoices(std::uint32_t n);
    bool stepsMayBeKept() const;
    void mixOutput(double* const* outputs, std::uint32_t n);
    void releaseBuffers();
    void clearStages();
    static void silence(double* const* outputs, std::uint32_t n);

    // Timing of the clock
    VoiceState voices[2];
    double lfoPhase = 0.0;
    double lfoIncrement = 0.0;
    Ramp<double> delayRamp;
    Ramp<double> depthRamp;
    Ramp<Pair> mixRamp;
    Ramp<Pair> spreadRamp;
    Ramp<double> phaseRamp;
    float sampleRate = 0.0f;
    double rampStep = 0.0;
    double leak = 0.0;
    bool sineShape = false;
    bool invert = false;
    std::uint32_t stride = 0;

    // Buffers
    Frame* delayMemory = nullptr;
    std::uint32_t lineFrames = 0;
    std::uint32_t maxBlock = 0;
    bool prepared = false;
    Frame integrator{0.0, 0.0};
    BlockBuffer inputStage;
    BlockBuffer outputAccumulator;

    // The process's one table: the first processor builds it.
    const InterpolationTable& interpolation = InterpolationTable::shared();
    VoiceKernels kernels = bestVoiceKernels();
};

}  // namespace ReedDsp
