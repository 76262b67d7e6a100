// The part of a host's VST event list the module is willing to read, seen by
// the core as an EventQueue.
//
// A host hands over a VstEvents pointer it owns until its next process call.
// Its count and pointers are not trusted blindly: a null list is empty, a
// negative count is zero, a count above kMaxEvents is cut to it, and the first
// null event pointer ends the list (a list with a hole has a count that is not
// to be believed, so nothing behind the hole is read). An event is MIDI only
// when it claims enough bytes to hold its message.
//
// Threads: audio thread only, for the duration of one process call.
// Ownership: borrows the host's list and its events; copies nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/event_queue.h"
#include "formats/vst2/aeffect.h"

namespace Vst2 {

class EventList final : public PlugCore::EventQueue {
public:
    /// More events than this in one block is no real host's list.
    static constexpr vst::int32 kMaxEvents = 1 << 16;

    EventList() = default;
    explicit EventList(const vst::VstEvents* list);

    std::int32_t size() const override { return count_; }
    std::int64_t frame(std::int32_t i) const override { return events_[i]->deltaFrames; }
    PlugCore::HostEvent at(std::int32_t i) const override;

private:
    // The SDK counts byteSize without the type and byteSize fields, so a MIDI
    // event must claim at least this much for midiData to lie inside it.
    static constexpr vst::int32 kMidiEventBody = sizeof(vst::VstMidiEvent) - 2 * sizeof(vst::int32);

    vst::VstEvent* const* events_ = nullptr;
    vst::int32 count_ = 0;
};

inline EventList::EventList(const vst::VstEvents* list) {
    if (!list || list->numEvents <= 0) return;
    const vst::int32 limit = list->numEvents < kMaxEvents ? list->numEvents : kMaxEvents;
    events_ = list->events;
    while (count_ < limit && events_[count_]) ++count_;
}

inline PlugCore::HostEvent EventList::at(std::int32_t i) const {
    const vst::VstEvent& event = *events_[i];
    PlugCore::HostEvent e;
    if (event.type != vst::kVstMidiType || event.byteSize < kMidiEventBody) return e;
    const auto* raw = reinterpret_cast<const unsigned char*>(&event);
    std::memcpy(e.midi, raw + offsetof(vst::VstMidiEvent, midiData), 3);
    e.kind = PlugCore::HostEvent::Kind::Midi;
    return e;
}

}  // namespace Vst2
