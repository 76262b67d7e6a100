// What the block driver tells the renderer about the host's transport, built
// fresh for each sub-block on the audio thread.
#pragma once

namespace PlugCore {

struct Transport {
    double tempo;           // beats per minute
    double beatPosition;    // quarter notes at the start of the sub-block
    double beatsPerSample;  // tempo / (sample rate * 60)
    double sampleRate;
};

}  // namespace PlugCore
