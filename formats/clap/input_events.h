// A CLAP host's input events for one block, seen by the core as an
// EventQueue. Only the core event space is read: notes and short MIDI
// messages become MIDI bytes, parameter values become parameter events (no
// parameter is polyphonic, so a value's note, channel and key are not
// read); everything else (other spaces, modulation, system exclusive) is
// passed over where it stands.
//
// Threads: the audio thread (process), or whichever thread runs params
// flush. Ownership: borrows the host's list for one call.
#pragma once

#include <cmath>
#include <cstdint>

#include "core/event_queue.h"
#include "formats/clap/api/clap.h"
#include "formats/clap/param_bridge.h"

namespace Clap {

class InputEvents final : public PlugCore::EventQueue {
public:
    InputEvents(const clap::clap_input_events_t* list, const ParamBridge& params) : list(list), params(params) {
        count = list && list->size ? static_cast<std::int32_t>(list->size(list) & 0x7FFFFFFF) : 0;
    }

    std::int32_t size() const override { return count; }
    std::int64_t frame(std::int32_t i) const override {
        const clap::clap_event_header_t* h = header(i);
        return h ? h->time : 0;
    }
    PlugCore::HostEvent at(std::int32_t i) const override { return decode(header(i)); }

    /// The parameter event at i as index and stored value; false for any other event.
    bool parameterAt(std::int32_t i, std::uint32_t& index, float& value) const {
        const PlugCore::HostEvent e = at(i);
        if (e.kind != PlugCore::HostEvent::Kind::Parameter) return false;
        index = e.index;
        value = e.value;
        return true;
    }

private:
    const clap::clap_event_header_t* header(std::int32_t i) const {
        return list->get ? list->get(list, static_cast<std::uint32_t>(i)) : nullptr;
    }

    PlugCore::HostEvent decode(const clap::clap_event_header_t* h) const {
        using namespace clap;
        PlugCore::HostEvent e;
        if (!h || h->space_id != CLAP_CORE_EVENT_SPACE_ID) return e;
        switch (h->type) {
        case CLAP_EVENT_NOTE_ON:
        case CLAP_EVENT_NOTE_OFF:
        case CLAP_EVENT_NOTE_CHOKE:
            if (h->size >= sizeof(clap_event_note_t)) note(*reinterpret_cast<const clap_event_note_t*>(h), e);
            break;
        case CLAP_EVENT_MIDI:
            if (h->size >= sizeof(clap_event_midi_t)) {
                const auto& m = *reinterpret_cast<const clap_event_midi_t*>(h);
                e = {PlugCore::HostEvent::Kind::Midi, {m.data[0], m.data[1], m.data[2]}, 0, 0.0f};
            }
            break;
        case CLAP_EVENT_PARAM_VALUE:
            if (h->size >= sizeof(clap_event_param_value_t))
                value(*reinterpret_cast<const clap_event_param_value_t*>(h), e);
            break;
        default: break;
        }
        return e;
    }

    static void note(const clap::clap_event_note_t& n, PlugCore::HostEvent& e) {
        if (n.key < 0 || n.key > 127) return;  // a wildcard key names no one note
        const auto channel = static_cast<std::uint8_t>(n.channel >= 0 && n.channel < 16 ? n.channel : 0);
        double v = std::round(n.velocity * 127.0);
        if (!(v >= 0.0)) v = 0.0;
        if (v > 127.0) v = 127.0;
        auto velocity = static_cast<std::uint8_t>(v);
        std::uint8_t status = 0x80;
        if (n.header.type == clap::CLAP_EVENT_NOTE_ON) {
            status = 0x90;
            if (velocity == 0) velocity = 1;  // a note on at velocity 0 is still a note on here
        }
        e = {PlugCore::HostEvent::Kind::Midi,
             {static_cast<std::uint8_t>(status | channel), static_cast<std::uint8_t>(n.key), velocity},
             0,
             0.0f};
    }

    void value(const clap::clap_event_param_value_t& v, PlugCore::HostEvent& e) const {
        if (!params.contains(v.param_id)) return;
        e = {PlugCore::HostEvent::Kind::Parameter, {}, v.param_id, params.fromHost(v.param_id, v.value)};
    }

    const clap::clap_input_events_t* list;
    const ParamBridge& params;
    std::int32_t count = 0;
};

}  // namespace Clap
