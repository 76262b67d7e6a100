// The signal rendered when no input file is given: a few seconds of a
// strummed, plucked chord, synthesised here so the tool needs no sample file.
#pragma once

#include "tools/render_tool/audio_buffer.h"

namespace RenderTool {

/// The chord strummed twice, about 4.5 seconds at the given rate, fading to
/// silence at its end and free of DC.
AudioBuffer makeDemoSignal(double sampleRate);

}  // namespace RenderTool
