#include "effect/processor.h"

#include <cmath>
#include <emmintrin.h>

#include "effect/aligned_memory.h"
#include "effect/exp_tables.h"
#include "effect/fp_guard.h"
#include "effect/reed_parameters.h"

namespace ReedDsp {

namespace {

constexpr double kQuarterTurn = 1.5707963267948966;
constexpr double kEighthTurn = 0.7853981633974483;
constexpr double kLineSeconds = 0.05714285714285715;  // 20 ms of line at stride 1, over 0.35 frames a tick
constexpr double kRotationGain = 0.707;

// A value outside [0, 1], NaN included, never reaches the arithmetic.
float unitValue(float x) { return x >= 0.0f ? (x <= 1.0f ? x : 1.0f) : 0.0f; }

}  // namespace

Processor::Processor() = default;

Processor::~Processor() { releaseBuffers(); }

void Processor::releaseBuffers() {
    inputStage.release();
    outputAccumulator.release();
    releaseFrames(delayMemory);
    delayMemory = nullptr;
    lineFrames = 0;
    maxBlock = 0;
    prepared = false;
}

bool Processor::prepare(float sr, std::int32_t maxBlockSize) {
    releaseBuffers();
    rampStep = static_cast<double>(10.0f / sr);
    const double line = std::trunc(static_cast<double>(sr) * kLineSeconds);
    const bool sensible = std::isfinite(sr) && line >= 1.0 && line <= kMaxFrames && maxBlockSize >= 1 &&
                          static_cast<std::uint32_t>(maxBlockSize) <= kMaxFrames;
    if (!sensible) return false;
    const auto block = static_cast<std::uint32_t>(maxBlockSize);
    if (!inputStage.allocate(block) || !outputAccumulator.allocate(block)) {
        releaseBuffers();
        return false;
    }
    const auto frames = static_cast<std::uint32_t>(line);
    delayMemory = allocateUntouchedFrames(2 * std::uint64_t{frames});
    if (!delayMemory) {
        releaseBuffers();
        return false;
    }
    lineFrames = frames;
    clearStages();
    leak = std::exp(static_cast<double>(-1.0f / sr));
    lfoPhase = 0.0;
    sampleRate = sr;
    maxBlock = block;
    prepared = true;
    return true;
}

void Processor::reset() {
    for (VoiceState& voice : voices) voice = VoiceState{};
    integrator = Frame{0.0, 0.0};
    clearStages();
    // Pending step tails would otherwise reach the cleared integrator and
    // leave the wet signal with an offset that takes a second to decay.
    if (outputAccumulator.allocated()) outputAccumulator.clear();
}

// Only the stages the range uses are cleared: the rest of a voice's frames
// are never read at this range, and a range change clears again. So at the
// shorter ranges the pages beyond the used stages are never written and need
// not become resident.
void Processor::clearStages() {
    if (!delayMemory) return;
    const std::uint32_t used = stagesPerVoice();
    for (std::uint64_t v = 0; v < 2; ++v)
        for (std::uint32_t k = 0; k < used; ++k) delayMemory[v * lineFrames + k] = Frame{0.0, 0.0};
}

void Processor::silence(double* const* outputs, std::uint32_t n) {
    for (int c = 0; c < 2; ++c)
        for (std::uint32_t i = 0; i < n; ++i) outputs[c][i] = 0.0;
}

void Processor::render(bool changed, const Settings& settings, const double* const* inputs, double* const* outputs,
                       std::uint32_t n) {
    if (n == 0) return;
    if (!prepared || n > maxBlock) {
        silence(outputs, n);
        return;
    }
    FpGuard guard;
    renderGuarded(changed, settings, inputs, outputs, n);
}

// Kept out of line so that no arithmetic of the block can be scheduled
// before the guard has set the rounding and flushing mode.
[[gnu::noinline]] void Processor::renderGuarded(bool changed, const Settings& settings, const double* const* inputs,
                                                double* const* outputs, std::uint32_t n) {
    if (changed || stride == 0) update(settings);
    stage(inputs, n);
    runVoices(n);
    lfoPhase = std::fmod(n * lfoIncrement + lfoPhase, 1.0);
    mixOutput(outputs, n);
    const double elapsed = n * rampStep;
    delayRamp.advance(elapsed);
    depthRamp.advance(elapsed);
    mixRamp.advance(elapsed);
    spreadRamp.advance(elapsed);
    phaseRamp.advance(elapsed);
}

void Processor::update(const Settings& raw) {
    const float delay = unitValue(raw.delay), rate = unitValue(raw.rate), depth = unitValue(raw.depth);
    const float spread = unitValue(raw.spread), phase = unitValue(raw.phase), wet = unitValue(raw.wet);

    const float hz = std::pow(20.0f, 2.0f * rate - 1.0f);
    lfoIncrement = static_cast<double>(hz) * static_cast<double>(1.0f / sampleRate);
    const double g = static_cast<double>(1.0f + delay);
    delayRamp.retarget(0.35 * g);

    // The first update after construction always finds a new stride and
    // clears state that is clear already.
    const std::uint32_t newStride = 1u << (3 - ReedParams::rangeIndex(unitValue(raw.range)));
    const bool rangeChanged = newStride != stride;
    stride = newStride;
    if (rangeChanged) reset();

    depthRamp.retarget(static_cast<double>(std::pow(20.0f, 2.0f * depth - 2.0f)) / g);
    invert = raw.invert > 0.5f;
    const double sign = invert ? -1.0 : 1.0;
    const double theta = static_cast<double>(wet) * kQuarterTurn;
    mixRamp.retarget(Pair{std::cos(theta), sign * std::sin(theta)});
    const double phi = static_cast<double>(spread) * kEighthTurn;
    spreadRamp.retarget(Pair{kRotationGain * std::cos(phi), kRotationGain * std::sin(phi)});
    phaseRamp.retarget(static_cast<double>(phase));
    sineShape = raw.shape > 0.5f;
}

void Processor::stage(const double* const* inputs, std::uint32_t n) {
    inputStage.stage(n);
    outputAccumulator.stage(n);
    Frame* in = inputStage.frames() + BlockBuffer::kReach;
    const double* left = inputs[0];
    const double* right = inputs[1];
    for (std::uint32_t i = 0; i < n; ++i) in[i] = Frame{left[i], right[i]};
}

void Processor::mixOutput(double* const* outputs, std::uint32_t n) {
    const Frame* in = inputStage.frames();
    const Frame* steps = outputAccumulator.frames();
    double* left = outputs[0];
    double* right = outputs[1];
    const __m128d leakFactor = _mm_set1_pd(leak);
    __m128d sum = _mm_set_pd(integrator.right, integrator.left);
    const bool settled = mixRamp.settled();
    const Pair fixed = mixRamp.target();
    for (std::uint32_t i = 0; i < n; ++i) {
        const Pair gains = settled ? fixed : mixRamp.valueAt(i * rampStep);
        sum = _mm_mul_pd(_mm_add_pd(_mm_load_pd(&steps[i].left), sum), leakFactor);
        const __m128d dry = _mm_mul_pd(_mm_set1_pd(gains.first), _mm_load_pd(&in[i].left));
        const __m128d out = _mm_add_pd(dry, _mm_mul_pd(_mm_set1_pd(gains.second), sum));
        _mm_storel_pd(left + i, out);
        _mm_storeh_pd(right + i, out);
    }
    _mm_storel_pd(&integrator.left, sum);
    _mm_storeh_pd(&integrator.right, sum);
}

}  // namespace ReedDsp
