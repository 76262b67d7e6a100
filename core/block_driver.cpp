// The block driver: turns the host's process calls into calls of the
// effect's double-precision renderer, one sub-block between each pair of
// event positions. Audio thread, except setBlockSize/setSampleRate (UI
// thread, while suspended).
#include <algorithm>
#include <cmath>
#include <new>

#include "core/plug.h"

namespace PlugCore {

namespace {

constexpr double kInputLimit = 1e10;

double sanitise(double x) {
    if (std::isnan(x)) return 0.0;
    return std::clamp(x, -kInputLimit, kInputLimit);
}

}  // namespace

void Plug::setSampleRate(float rate) {
    sampleRate = rate;
    prepareNeeded = true;
}

void Plug::setBlockSize(int32 size) {
    blockSize = std::max<int32>(size, 0);
    allocateWorkBlock();
    prepareNeeded = true;
}

// One allocation holds every input channel, then every output channel.
void Plug::allocateWorkBlock() {
    workBlock.reset();
    workBlockFrames = 0;
    const std::size_t n = static_cast<std::size_t>(blockSize);
    const std::size_t inputs = 2 * static_cast<std::size_t>(inputPairs);
    const std::size_t outputs = 2 * static_cast<std::size_t>(outputPairs);
    if (n == 0) return;
    workBlock.reset(new (std::nothrow) double[(inputs + outputs) * n]());
    if (!workBlock) return;  // a later process call finds no work block and renders nothing
    workBlockFrames = blockSize;
    for (std::size_t k = 0; k < inputs; ++k) inputBuffers[k] = workBlock.get() + k * n;
    for (std::size_t k = 0; k < outputs; ++k) outputBuffers[k] = workBlock.get() + (inputs + k) * n;
}

void Plug::resume() {
    pendingEvents = nullptr;  // a list handed over before the suspend died with its block
    if (prepareNeeded) {
        prepareProcessing();
        prepareNeeded = false;
    }
    params.invalidateAudioSeen();
    resetProcessing();
    beatPosition = 0;
}

// A block the work block cannot hold is not processed at all.
bool Plug::workBlockReady(int32 frames) {
    if (frames < 0 || frames > blockSize) return false;
    if (!workBlock) allocateWorkBlock();
    return workBlock && frames <= workBlockFrames;
}

// A call that is not processed still ends the life of the host's event list,
// so a later call never reads a list the host may have freed.
bool Plug::acceptBlock(int32 frames) {
    if (workBlockReady(frames)) return true;
    pendingEvents = nullptr;
    return false;
}

// The single-precision paths render through the work block in double precision.
bool Plug::renderSinglePrecision(float** inputs, int32 frames) {
    if (!acceptBlock(frames)) return false;
    for (int32 k = 0; k < 2 * inputPairs; ++k) std::copy(inputs[k], inputs[k] + frames, inputBuffers[k]);
    processDoubleReplacing(inputBuffers.get(), outputBuffers.get(), frames);
    return true;
}

void Plug::processReplacing(float** inputs, float** outputs, int32 frames) {
    if (!renderSinglePrecision(inputs, frames)) return;
    for (int32 k = 0; k < 2 * outputPairs; ++k)
        std::transform(outputBuffers[k], outputBuffers[k] + frames, outputs[k],
                       [](double x) { return static_cast<float>(x); });
}

void Plug::process(float** inputs, float** outputs, int32 frames) {
    if (!renderSinglePrecision(inputs, frames)) return;
    for (int32 k = 0; k < 2 * outputPairs; ++k)
        for (int32 i = 0; i < frames; ++i) outputs[k][i] += static_cast<float>(outputBuffers[k][i]);
}

void Plug::processDoubleReplacing(double** inputs, double** outputs, int32 frames) {
    if (!acceptBlock(frames)) return;
    rescanNeeded = true;
    sanitiseInputs(inputs, static_cast<std::uint32_t>(frames));
    readTransport();
    walkEvents(outputs, static_cast<std::uint32_t>(frames));
    pendingEvents = nullptr;
}

// The renderer always reads this copy, so host inputs and outputs may alias.
void Plug::sanitiseInputs(double** inputs, std::uint32_t frames) {
    for (int32 k = 0; k < 2 * inputPairs; ++k) {
        const double* in = inputs[k];
        double* copy = inputBuffers[k];
        for (std::uint32_t i = 0; i < frames; ++i) copy[i] = sanitise(in[i]);
    }
}

void Plug::readTransport() {
    HostTime time;
    const bool given = host && host->getTime(time);
    tempo = (given && time.tempoValid) ? static_cast<float>(time.tempo) : 120.0f;
    playing = given && time.playing;
    if (playing && time.positionValid) beatPosition = time.ppqPosition;
}

// An event whose frame lies before the current position (negative, or
// behind an earlier one in an unsorted list) is applied at that position; one
// beyond the block is applied before the final sub-block.
void Plug::walkEvents(double** outputs, std::uint32_t frames) {
    const int32 n = pendingEvents ? pendingEvents->size() : 0;
    std::uint32_t position = 0;
    int32 next = 0;
    if (n > 0 && pendingEvents->frame(0) == 0) next = applyEventGroup(*pendingEvents, 0, 0);
    while (next < n) {
        const std::int64_t d = pendingEvents->frame(next);
        if (d > static_cast<std::int64_t>(frames)) {
            while (next < n) next = applyEventGroup(*pendingEvents, next, position);
            break;
        }
        if (d > static_cast<std::int64_t>(position)) {
            renderSubBlock(outputs, position, static_cast<std::uint32_t>(d) - position);
            position = static_cast<std::uint32_t>(d);
        }
        next = applyEventGroup(*pendingEvents, next, position);
    }
    if (position < frames) renderSubBlock(outputs, position, frames - position);
}

void Plug::renderSubBlock(double** outputs, std::uint32_t start, std::uint32_t length) {
    for (int32 k = 0; k < 2 * inputPairs; ++k) subInputs[k] = inputBuffers[k] + start;
    for (int32 k = 0; k < 2 * outputPairs; ++k) subOutputs[k] = outputs[k] + start;
    bool changed = false;
    if (rescanNeeded) {
        changed = params.scanForAudio(*this);
        rescanNeeded = false;
    }
    const double rate = sampleRate;
    const Transport transport{tempo, beatPosition, tempo / (rate * 60.0), rate};
    const bool result = renderBlock(changed, &transport, subInputs.get(), subOutputs.get(), length);
    if (result || playing) beatPosition += static_cast<float>(length) * tempo / (sampleRate * 60.0f);
    else
        beatPosition = 0;
}

}  // namespace PlugCore
