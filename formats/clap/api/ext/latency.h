// CLAP latency extension.
//
// Threads: main thread. The plug-in's get is asked during or after
// activate; the host's changed may only be called from inside activate
// (at any other time a new latency needs request_restart).
#pragma once

#include "formats/clap/api/plugin.h"

namespace clap {

inline constexpr char CLAP_EXT_LATENCY[] = "clap.latency";

struct clap_plugin_latency {
    uint32_t (*get)(const clap_plugin_t* plugin);  // in frames
};
using clap_plugin_latency_t = clap_plugin_latency;

struct clap_host_latency {
    void (*changed)(const clap_host_t* host);
};
using clap_host_latency_t = clap_host_latency;

static_assert(sizeof(clap_plugin_latency) == 8 && sizeof(clap_host_latency) == 8);

}  // namespace clap
