// Feeds arbitrary bytes to the standard MIDI file reader. The sanitizers
// catch any read outside the file; the checks below catch a reader that
// answers with messages out of time order, beyond the end it reports, or
// with bytes no channel message can hold.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "tools/render_tool/midi_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> file(data, data + size);
    try {
        const RenderTool::MidiSequence s = RenderTool::parseMidiFile(file, 48000.0);
        std::int64_t previous = 0;
        for (const RenderTool::MidiMessage& m : s.messages) {
            if (m.frame < previous || m.frame > s.endFrame) std::abort();
            if (m.bytes[0] < 0x80 || m.bytes[0] >= 0xF0 || m.bytes[1] >= 0x80 || m.bytes[2] >= 0x80) std::abort();
            previous = m.frame;
        }
    } catch (const RenderTool::MidiFileError&) {
    }
    return 0;
}
