// CLAP audio-ports extension: the plug-in's audio inputs and outputs.
//
// Threads: main thread, and only while deactivated may the answers change.
#pragma once

#include <cstddef>

#include "formats/clap/api/plugin.h"

namespace clap {

inline constexpr char CLAP_EXT_AUDIO_PORTS[] = "clap.audio-ports";
inline constexpr char CLAP_PORT_STEREO[] = "stereo";

/// The one main port of each direction, which must sit at index 0.
inline constexpr uint32_t CLAP_AUDIO_PORT_IS_MAIN = 1u << 0;
inline constexpr uint32_t CLAP_AUDIO_PORT_SUPPORTS_64BITS = 1u << 1;

struct clap_audio_port_info {
    clap_id id;  // stable; inputs and outputs may reuse each other's ids
    char name[CLAP_NAME_SIZE];
    uint32_t flags;
    uint32_t channel_count;
    const char* port_type;  // CLAP_PORT_STEREO, or null for unspecified
    clap_id in_place_pair;  // the port of the other direction that may share buffers, or CLAP_INVALID_ID
};
using clap_audio_port_info_t = clap_audio_port_info;

struct clap_plugin_audio_ports {
    uint32_t (*count)(const clap_plugin_t* plugin, bool is_input);
    bool (*get)(const clap_plugin_t* plugin, uint32_t index, bool is_input, clap_audio_port_info_t* info);
};
using clap_plugin_audio_ports_t = clap_plugin_audio_ports;

static_assert(sizeof(clap_audio_port_info) == 288 && offsetof(clap_audio_port_info, flags) == 260 &&
              offsetof(clap_audio_port_info, channel_count) == 264 &&
              offsetof(clap_audio_port_info, port_type) == 272 && offsetof(clap_audio_port_info, in_place_pair) == 280);
static_assert(sizeof(clap_plugin_audio_ports) == 16);

}  // namespace clap
