// VoiceJob: everything the two voices need for one block, handed from the
// processor to the routine that runs them. There is one routine per
// instruction set (the baseline one for any x86-64 processor, a wider one
// for processors with AVX2); both add in the same order and give the same
// bits, and the processor picks one once, from what the processor it runs
// on can do.
//
// Threads: audio thread. Plain data; the job points into the processor's
// state and buffers and owns nothing.
#pragma once

#include <cstdint>

#include "effect/block_buffer.h"
#include "effect/interpolation_table.h"
#include "effect/ramp.h"

namespace ReedDsp {

/// One voice's clock and line between blocks.
struct VoiceState {
    double position = 0.0;  // the latest tick, in frames from the start of the current block
    double step = 1.0;      // frames to the next tick
    std::uint32_t writeIndex = 0;
    Frame previousOutput{0.0, 0.0};
};

struct VoiceJob {
    const Ramp<double>* delay;
    const Ramp<double>* depth;
    const Ramp<Pair>* spread;
    const Ramp<double>* phase;
    double rampStep;
    double lfoIncrement;
    double lfoPhase;
    bool sineShape;
    /// The ramps may keep their step while the exponent entry holds (see
    /// ClockHand): set when the clock ramps are settled and the LFO moves
    /// the exponent slowly enough for that to pay.
    bool keepSteps;

    const InterpolationTable* table;
    const Frame* input;
    Frame* steps;
    Frame* lines[2];
    std::uint32_t stages;
    VoiceState* voices;  // both
    std::uint32_t frames;
};

/// The instruction sets the voices can run on.
enum class VoiceKernels { baseline, avx2 };

void runVoicesBaseline(const VoiceJob& job);
void runVoicesAvx2(const VoiceJob& job);  // only where the processor has AVX2

/// AVX2 where the processor (and the system, which must save the wide
/// registers) has it, otherwise the baseline. Decided once, while the module loads.
VoiceKernels bestVoiceKernels();

}  // namespace ReedDsp
