// Keeps a CLAP host's view of the parameters in step with the effect.
//
// The editor's gestures arrive on the main thread as counters and values in
// the parameter table; the audio side (process or params flush) turns them
// into gesture-begin, value and gesture-end output events. Any other change
// (a mapped MIDI controller, a program change, a state load) reaches the
// host as a value event without a gesture, so nothing is recorded for it,
// and raises a flag the main thread answers with a rescan of the values.
// Nothing queues, so a host that does not process for a while loses no
// gesture and no value; several moves between two blocks become one value.
//
// Threads: beginEdit/endEdit on the main thread; hostSent and emit on the
// audio side, never at the same time as each other; takeValuesChanged on the
// main thread. Ownership: borrows the effect and the bridge.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "core/plug.h"
#include "formats/clap/api/clap.h"
#include "formats/clap/param_bridge.h"

namespace Clap {

class OutputSync {
public:
    OutputSync(PlugCore::Plug& plug, const ParamBridge& params);

    // ---- main thread: the editor's gestures ----
    void beginEdit(std::uint32_t index);
    void endEdit(std::uint32_t index);
    /// Something the host does not know of changed the values.
    void markValuesChanged() { valuesChanged.store(true, std::memory_order_release); }
    /// True once after each such change.
    bool takeValuesChanged() { return valuesChanged.exchange(false, std::memory_order_acq_rel); }

    // ---- audio side ----
    /// The host itself set index (to this stored value): no event goes back for it.
    void hostSent(std::uint32_t index, float stored);
    /// Pushes what the host has not heard yet, at frame time of the block.
    void emit(const clap::clap_output_events_t* out, std::uint32_t time);
    /// Takes the present values as what the host knows (once, before the host hears anything).
    void assumeKnown();

private:
    struct Slot {
        std::atomic<std::uint32_t> begins{0};  // main thread counts gestures begun
        std::atomic<std::uint32_t> ends{0};    // and ended
        std::uint32_t beginsSeen = 0;          // the rest is the audio side's
        bool inGesture = false;
        float known = -1.0f;  // the value the host last heard of or sent
    };

    void push(const clap::clap_output_events_t* out, const clap::clap_event_header_t& event);
    void gesture(const clap::clap_output_events_t* out, std::uint32_t time, std::uint32_t index, bool begin);
    void value(const clap::clap_output_events_t* out, std::uint32_t time, std::uint32_t index, float stored,
               bool edited);

    PlugCore::Plug& plug;
    const ParamBridge& params;
    std::unique_ptr<Slot[]> slots;
    std::atomic<bool> valuesChanged{false};
};

}  // namespace Clap
