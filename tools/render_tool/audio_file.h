// Reading audio files (WAV, FLAC, AIFF and whatever else libsndfile knows)
// and writing 32-bit float WAV. Errors come back as one readable sentence.
#pragma once

#include <string>

#include "tools/render_tool/audio_buffer.h"

namespace RenderTool {

/// Mono files feed both channels; more than two channels is refused.
bool readAudioFile(const std::string& path, AudioBuffer& audio, std::string& error);

/// Writes a stereo 32-bit float WAV at audio.sampleRate. A file left half
/// written by a failure is removed.
bool writeFloatWav(const std::string& path, const AudioBuffer& audio, std::string& error);

}  // namespace RenderTool
