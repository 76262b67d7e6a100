// CLAP events: what the host hands the plug-in in process() and params
// flush(), and what the plug-in hands back. Every event starts with the
// same header; `size` covers the whole event, so a list can copy an event
// without knowing its type.
//
// Ownership: input events belong to the host's list and live until the
// call that delivered them returns; try_push copies the event it is given.
#pragma once

#include <cstddef>

#include "formats/clap/api/base.h"

namespace clap {

struct clap_event_header {
    uint32_t size;      // of the whole event, header included
    uint32_t time;      // frame offset inside the current block
    uint16_t space_id;  // only CLAP_CORE_EVENT_SPACE_ID carries the types below
    uint16_t type;
    uint32_t flags;  // CLAP_EVENT_IS_LIVE, CLAP_EVENT_DONT_RECORD
};
using clap_event_header_t = clap_event_header;

/// Types from any other space reuse the numbers below for other meanings:
/// an event whose space_id differs must be skipped, never decoded.
inline constexpr uint16_t CLAP_CORE_EVENT_SPACE_ID = 0;

// clap_event_flags
inline constexpr uint32_t CLAP_EVENT_IS_LIVE = 1u << 0;
/// Set on values that follow a MIDI controller, so the host records the
/// controller rather than the value as well.
inline constexpr uint32_t CLAP_EVENT_DONT_RECORD = 1u << 1;

// Event types of the core space. Records are declared below only for the
// ones the effect reads or writes; the rest are named so they can be skipped.
inline constexpr uint16_t CLAP_EVENT_NOTE_ON = 0;
inline constexpr uint16_t CLAP_EVENT_NOTE_OFF = 1;
inline constexpr uint16_t CLAP_EVENT_NOTE_CHOKE = 2;
inline constexpr uint16_t CLAP_EVENT_NOTE_END = 3;
inline constexpr uint16_t CLAP_EVENT_NOTE_EXPRESSION = 4;
inline constexpr uint16_t CLAP_EVENT_PARAM_VALUE = 5;
inline constexpr uint16_t CLAP_EVENT_PARAM_MOD = 6;
inline constexpr uint16_t CLAP_EVENT_PARAM_GESTURE_BEGIN = 7;
inline constexpr uint16_t CLAP_EVENT_PARAM_GESTURE_END = 8;
inline constexpr uint16_t CLAP_EVENT_TRANSPORT = 9;
inline constexpr uint16_t CLAP_EVENT_MIDI = 10;
inline constexpr uint16_t CLAP_EVENT_MIDI_SYSEX = 11;
inline constexpr uint16_t CLAP_EVENT_MIDI2 = 12;

/// NOTE_ON, NOTE_OFF, NOTE_CHOKE and NOTE_END. -1 in port, channel, key or
/// note id is a wildcard (never valid in a NOTE_ON).
struct clap_event_note {
    clap_event_header_t header;
    int32_t note_id;  // -1 when the host gives none
    int16_t port_index;
    int16_t channel;  // 0..15
    int16_t key;      // 0..127
    double velocity;  // 0..1; a NOTE_ON at 0 is still a note on
};
using clap_event_note_t = clap_event_note;

struct clap_event_param_value {
    clap_event_header_t header;
    clap_id param_id;
    void* cookie;  // as clap_param_info gave it, or null: both must work
    int32_t note_id;
    int16_t port_index;
    int16_t channel;
    int16_t key;
    double value;  // plain value, in the parameter's own range
};
using clap_event_param_value_t = clap_event_param_value;

/// GESTURE_BEGIN and GESTURE_END: the user took or let go of a control.
struct clap_event_param_gesture {
    clap_event_header_t header;
    clap_id param_id;
};
using clap_event_param_gesture_t = clap_event_param_gesture;

// clap_transport_flags: which fields of clap_event_transport hold values.
inline constexpr uint32_t CLAP_TRANSPORT_HAS_TEMPO = 1u << 0;
inline constexpr uint32_t CLAP_TRANSPORT_HAS_BEATS_TIMELINE = 1u << 1;
inline constexpr uint32_t CLAP_TRANSPORT_HAS_SECONDS_TIMELINE = 1u << 2;
inline constexpr uint32_t CLAP_TRANSPORT_HAS_TIME_SIGNATURE = 1u << 3;
inline constexpr uint32_t CLAP_TRANSPORT_IS_PLAYING = 1u << 4;
inline constexpr uint32_t CLAP_TRANSPORT_IS_RECORDING = 1u << 5;
inline constexpr uint32_t CLAP_TRANSPORT_IS_LOOP_ACTIVE = 1u << 6;
inline constexpr uint32_t CLAP_TRANSPORT_IS_WITHIN_PRE_ROLL = 1u << 7;

/// The transport at frame 0 of a block (clap_process.transport), or a
/// change of it inside the block (a TRANSPORT event).
struct clap_event_transport {
    clap_event_header_t header;
    uint32_t flags;
    clap_beattime song_pos_beats;
    clap_sectime song_pos_seconds;
    double tempo;      // beats per minute
    double tempo_inc;  // per frame, until the next transport event
    clap_beattime loop_start_beats;
    clap_beattime loop_end_beats;
    clap_sectime loop_start_seconds;
    clap_sectime loop_end_seconds;
    clap_beattime bar_start;
    int32_t bar_number;
    uint16_t tsig_num;
    uint16_t tsig_denom;
};
using clap_event_transport_t = clap_event_transport;

/// One short MIDI 1.0 message: status byte first.
struct clap_event_midi {
    clap_event_header_t header;
    uint16_t port_index;
    uint8_t data[3];
};
using clap_event_midi_t = clap_event_midi;

/// Sorted by time. The plug-in may only read the events.
struct clap_input_events {
    void* ctx;  // the host's
    uint32_t (*size)(const clap_input_events* list);
    const clap_event_header_t* (*get)(const clap_input_events* list, uint32_t index);
};
using clap_input_events_t = clap_input_events;

/// The plug-in pushes in time order; false means the host could not take it.
struct clap_output_events {
    void* ctx;  // the host's
    bool (*try_push)(const clap_output_events* list, const clap_event_header_t* event);
};
using clap_output_events_t = clap_output_events;

static_assert(sizeof(clap_event_header) == 16 && offsetof(clap_event_header, space_id) == 8 &&
              offsetof(clap_event_header, type) == 10 && offsetof(clap_event_header, flags) == 12);
static_assert(sizeof(clap_event_note) == 40 && offsetof(clap_event_note, note_id) == 16 &&
              offsetof(clap_event_note, key) == 24 && offsetof(clap_event_note, velocity) == 32);
static_assert(sizeof(clap_event_param_value) == 56 && offsetof(clap_event_param_value, cookie) == 24 &&
              offsetof(clap_event_param_value, note_id) == 32 && offsetof(clap_event_param_value, key) == 40 &&
              offsetof(clap_event_param_value, value) == 48);
static_assert(sizeof(clap_event_param_gesture) == 20);
static_assert(sizeof(clap_event_transport) == 104 && offsetof(clap_event_transport, song_pos_beats) == 24 &&
              offsetof(clap_event_transport, tempo) == 40 && offsetof(clap_event_transport, bar_start) == 88 &&
              offsetof(clap_event_transport, bar_number) == 96 && offsetof(clap_event_transport, tsig_denom) == 102);
static_assert(sizeof(clap_event_midi) == 24 && offsetof(clap_event_midi, data) == 18);
static_assert(sizeof(clap_input_events) == 24 && sizeof(clap_output_events) == 16);

}  // namespace clap
