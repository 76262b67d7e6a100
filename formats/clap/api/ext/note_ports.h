// CLAP note-ports extension: where notes and MIDI come in.
//
// Threads: main thread, and only while deactivated may the answers change.
#pragma once

#include "formats/clap/api/plugin.h"

namespace clap {

inline constexpr char CLAP_EXT_NOTE_PORTS[] = "clap.note-ports";

// clap_note_dialect. A port's dialect says what the plug-in prefers, not
// what the host sends: hosts deliver note events to MIDI-only ports too.
inline constexpr uint32_t CLAP_NOTE_DIALECT_CLAP = 1u << 0;  // clap_event_note
inline constexpr uint32_t CLAP_NOTE_DIALECT_MIDI = 1u << 1;  // clap_event_midi
inline constexpr uint32_t CLAP_NOTE_DIALECT_MIDI_MPE = 1u << 2;
inline constexpr uint32_t CLAP_NOTE_DIALECT_MIDI2 = 1u << 3;

struct clap_note_port_info {
    clap_id id;
    uint32_t supported_dialects;  // a mask of the dialects above
    uint32_t preferred_dialect;   // exactly one of them
    char name[CLAP_NAME_SIZE];
};
using clap_note_port_info_t = clap_note_port_info;

struct clap_plugin_note_ports {
    uint32_t (*count)(const clap_plugin_t* plugin, bool is_input);
    bool (*get)(const clap_plugin_t* plugin, uint32_t index, bool is_input, clap_note_port_info_t* info);
};
using clap_plugin_note_ports_t = clap_plugin_note_ports;

static_assert(sizeof(clap_note_port_info) == 268 && sizeof(clap_plugin_note_ports) == 16);

}  // namespace clap
