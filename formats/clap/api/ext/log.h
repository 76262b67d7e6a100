// CLAP log extension (host side): messages into the host's log.
//
// Threads: any.
#pragma once

#include "formats/clap/api/plugin.h"

namespace clap {

inline constexpr char CLAP_EXT_LOG[] = "clap.log";

using clap_log_severity = int32_t;
inline constexpr clap_log_severity CLAP_LOG_DEBUG = 0;
inline constexpr clap_log_severity CLAP_LOG_INFO = 1;
inline constexpr clap_log_severity CLAP_LOG_WARNING = 2;
inline constexpr clap_log_severity CLAP_LOG_ERROR = 3;
inline constexpr clap_log_severity CLAP_LOG_FATAL = 4;
inline constexpr clap_log_severity CLAP_LOG_HOST_MISBEHAVING = 5;
inline constexpr clap_log_severity CLAP_LOG_PLUGIN_MISBEHAVING = 6;

struct clap_host_log {
    void (*log)(const clap_host_t* host, clap_log_severity severity, const char* msg);
};
using clap_host_log_t = clap_host_log;

static_assert(sizeof(clap_host_log) == 8);

}  // namespace clap
