// CLAP state extension: the plug-in's whole setting as a byte stream, and
// the host side it tells when that setting changed by itself.
//
// Threads: main thread, both sides.
#pragma once

#include "formats/clap/api/plugin.h"
#include "formats/clap/api/stream.h"

namespace clap {

inline constexpr char CLAP_EXT_STATE[] = "clap.state";

struct clap_plugin_state {
    bool (*save)(const clap_plugin_t* plugin, const clap_ostream_t* stream);
    bool (*load)(const clap_plugin_t* plugin, const clap_istream_t* stream);
};
using clap_plugin_state_t = clap_plugin_state;

struct clap_host_state {
    /// Not needed after a parameter change, which marks the state dirty by itself.
    void (*mark_dirty)(const clap_host_t* host);
};
using clap_host_state_t = clap_host_state;

static_assert(sizeof(clap_plugin_state) == 16 && sizeof(clap_host_state) == 8);

}  // namespace clap
