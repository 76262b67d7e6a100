// Hands a MIDI sequence to an effect block by block: for each block, the
// messages that fall inside it, as a host event list whose deltaFrames place
// every message at its exact frame.
//
// Threads: the render loop's. Ownership: the feed owns the events and the
// list it hands out; a list stays valid until the next call of block().
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "formats/vst2/aeffect.h"
#include "tools/render_tool/midi_file.h"

namespace RenderTool {

class MidiFeed {
public:
    /// messages must be in time order, as a MidiSequence holds them.
    explicit MidiFeed(std::vector<MidiMessage> messages);

    /// The list for the block [start, start + frames), or null when no
    /// message falls inside it. Messages before start that were never handed
    /// out (there are none when blocks follow each other) go at frame 0.
    vst::VstEvents* block(std::int64_t start, std::size_t frames);

    std::size_t sent() const { return next_; }
    std::size_t total() const { return messages_.size(); }

private:
    std::vector<MidiMessage> messages_;
    std::size_t next_ = 0;
    std::vector<vst::VstMidiEvent> events_;
    std::vector<vst::VstIntPtr> list_;  // a VstEvents record followed by its pointers
};

}  // namespace RenderTool
