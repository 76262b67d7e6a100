// CLAP timer-support extension: periodic main-thread calls, which is how a
// Linux editor gets time to run without an idle call.
//
// Threads: main thread, both sides.
#pragma once

#include "formats/clap/api/plugin.h"

namespace clap {

inline constexpr char CLAP_EXT_TIMER_SUPPORT[] = "clap.timer-support";

struct clap_plugin_timer_support {
    void (*on_timer)(const clap_plugin_t* plugin, clap_id timer_id);
};
using clap_plugin_timer_support_t = clap_plugin_timer_support;

struct clap_host_timer_support {
    /// The host may lengthen a short period; about 30 Hz is always allowed.
    bool (*register_timer)(const clap_host_t* host, uint32_t period_ms, clap_id* timer_id);
    bool (*unregister_timer)(const clap_host_t* host, clap_id timer_id);
};
using clap_host_timer_support_t = clap_host_timer_support;

static_assert(sizeof(clap_plugin_timer_support) == 8 && sizeof(clap_host_timer_support) == 16);

}  // namespace clap
