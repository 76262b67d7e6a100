// The part of a host's event list the core is willing to read.
//
// A host hands over a VstEvents pointer it owns until its next process call.
// Its count and pointers are not trusted blindly: a null list is empty, a
// negative count is zero, a count above kMaxEvents is cut to it, and the first
// null event pointer ends the list (a list with a hole has a count that is not
// to be believed, so nothing behind the hole is read).
//
// Threads: audio thread only, for the duration of one process call.
// Ownership: borrows the host's list and its events; copies nothing.
#pragma once

#include <cstdint>

#include "core/vst/aeffect.h"

namespace PlugCore {

class EventList {
public:
    /// More events than this in one block is no real host's list.
    static constexpr vst::int32 kMaxEvents = 1 << 16;

    EventList() = default;
    explicit EventList(const vst::VstEvents* list);

    vst::int32 size() const { return count_; }
    /// Callers keep 0 <= i < size().
    const vst::VstEvent& operator[](vst::int32 i) const { return *events_[i]; }
    std::int64_t frame(vst::int32 i) const { return events_[i]->deltaFrames; }

private:
    vst::VstEvent* const* events_ = nullptr;
    vst::int32 count_ = 0;
};

inline EventList::EventList(const vst::VstEvents* list) {
    if (!list || list->numEvents <= 0) return;
    const vst::int32 limit = list->numEvents < kMaxEvents ? list->numEvents : kMaxEvents;
    events_ = list->events;
    while (count_ < limit && events_[count_]) ++count_;
}

}  // namespace PlugCore
