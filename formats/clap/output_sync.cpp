#include "formats/clap/output_sync.h"

namespace Clap {

OutputSync::OutputSync(PlugCore::Plug& plug, const ParamBridge& params)
    : plug(plug), params(params), slots(std::make_unique<Slot[]>(params.count())) {}

// The editor stores its first value only after this returns: the fence keeps
// the count ahead of that value for an audio side that sees the value.
void OutputSync::beginEdit(std::uint32_t index) {
    if (index >= params.count()) return;
    slots[index].begins.fetch_add(1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
}

// The gesture's last value is stored before this, so an audio side that sees
// the end also sees that value.
void OutputSync::endEdit(std::uint32_t index) {
    if (index < params.count()) slots[index].ends.fetch_add(1, std::memory_order_release);
}

void OutputSync::hostSent(std::uint32_t index, float stored) {
    if (index < params.count()) slots[index].known = stored;
}

void OutputSync::assumeKnown() {
    for (std::uint32_t i = 0; i < params.count(); ++i) slots[i].known = plug.getParameter(static_cast<std::int32_t>(i));
}

// The end count is read first and the begin count last: a value read in
// between belongs to a gesture whose begin is seen, and an end that is seen
// comes with its gesture's last value.
void OutputSync::emit(const clap::clap_output_events_t* out, std::uint32_t time) {
    bool unannounced = false;
    for (std::uint32_t i = 0; i < params.count(); ++i) {
        Slot& s = slots[i];
        const std::uint32_t ends = s.ends.load(std::memory_order_acquire);
        const float v = plug.getParameter(static_cast<std::int32_t>(i));
        std::atomic_thread_fence(std::memory_order_acquire);
        const std::uint32_t begins = s.begins.load(std::memory_order_relaxed);
        const bool started = begins != s.beginsSeen;
        const bool editing = begins != ends;
        s.beginsSeen = begins;
        if ((started || editing) && !s.inGesture) {
            gesture(out, time, i, true);
            s.inGesture = true;
        }
        if (v != s.known) {
            value(out, time, i, v, s.inGesture);
            unannounced |= !s.inGesture;
            s.known = v;
        }
        if (s.inGesture && !editing) {
            gesture(out, time, i, false);
            s.inGesture = false;
        }
    }
    if (unannounced) markValuesChanged();
}

void OutputSync::push(const clap::clap_output_events_t* out, const clap::clap_event_header_t& event) {
    if (out && out->try_push) out->try_push(out, &event);
}

void OutputSync::gesture(const clap::clap_output_events_t* out, std::uint32_t time, std::uint32_t index, bool begin) {
    clap::clap_event_param_gesture_t e{};
    e.header = {sizeof e, time, clap::CLAP_CORE_EVENT_SPACE_ID,
                begin ? clap::CLAP_EVENT_PARAM_GESTURE_BEGIN : clap::CLAP_EVENT_PARAM_GESTURE_END, 0};
    e.param_id = index;
    push(out, e.header);
}

// A value outside a gesture is the effect's own doing (a controller, a program
// change, a state load): the host shows it and records nothing.
void OutputSync::value(const clap::clap_output_events_t* out, std::uint32_t time, std::uint32_t index, float stored,
                       bool edited) {
    clap::clap_event_param_value_t e{};
    e.header = {sizeof e, time, clap::CLAP_CORE_EVENT_SPACE_ID, clap::CLAP_EVENT_PARAM_VALUE,
                edited ? 0u : clap::CLAP_EVENT_DONT_RECORD};
    e.param_id = index;
    e.cookie = nullptr;
    e.note_id = -1;
    e.port_index = -1;
    e.channel = -1;
    e.key = -1;
    e.value = params.toHost(index, stored);
    push(out, e.header);
}

}  // namespace Clap
