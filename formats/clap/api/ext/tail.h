// CLAP tail extension: how long the output rings on after the input falls
// silent, which decides when a host may stop calling process().
//
// Threads: the plug-in's get on the main or the audio thread; the host's
// changed on the audio thread.
#pragma once

#include "formats/clap/api/plugin.h"

namespace clap {

inline constexpr char CLAP_EXT_TAIL[] = "clap.tail";

struct clap_plugin_tail {
    uint32_t (*get)(const clap_plugin_t* plugin);  // in frames; INT32_MAX or more means endless
};
using clap_plugin_tail_t = clap_plugin_tail;

struct clap_host_tail {
    void (*changed)(const clap_host_t* host);
};
using clap_host_tail_t = clap_host_tail;

static_assert(sizeof(clap_plugin_tail) == 8 && sizeof(clap_host_tail) == 8);

}  // namespace clap
