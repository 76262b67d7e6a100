#include "tools/render_tool/midi_feed.h"

#include <algorithm>
#include <cstring>

namespace RenderTool {

namespace {
// The record's count and reserved word take two pointer-sized words before the pointers.
constexpr std::size_t kListHeaderWords = offsetof(vst::VstEvents, events) / sizeof(vst::VstIntPtr);
static_assert(offsetof(vst::VstEvents, events) % sizeof(vst::VstIntPtr) == 0);
}  // namespace

MidiFeed::MidiFeed(std::vector<MidiMessage> messages) : messages_(std::move(messages)) {}

vst::VstEvents* MidiFeed::block(std::int64_t start, std::size_t frames) {
    const std::int64_t end = start + static_cast<std::int64_t>(frames);
    events_.clear();
    while (next_ < messages_.size() && messages_[next_].frame < end) {
        const MidiMessage& m = messages_[next_++];
        vst::VstMidiEvent e{};
        e.type = vst::kVstMidiType;
        e.byteSize = sizeof(vst::VstMidiEvent);
        e.deltaFrames = static_cast<vst::int32>(std::max<std::int64_t>(m.frame - start, 0));
        std::memcpy(e.midiData, m.bytes, 3);
        events_.push_back(e);
    }
    if (events_.empty()) return nullptr;
    // Pointers are taken only now: events_ no longer grows.
    list_.assign(kListHeaderWords + std::max<std::size_t>(events_.size(), 2), 0);
    auto* list = reinterpret_cast<vst::VstEvents*>(list_.data());
    list->numEvents = static_cast<vst::int32>(events_.size());
    for (std::size_t i = 0; i < events_.size(); ++i)
        list_[kListHeaderWords + i] = reinterpret_cast<vst::VstIntPtr>(&events_[i]);
    return list;
}

}  // namespace RenderTool
