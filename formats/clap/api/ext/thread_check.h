// CLAP thread-check extension (host side): which of the interface's threads
// the caller is on, so the plug-in can check the threading rules.
//
// Threads: any. The audio thread is a role, not one OS thread: hosts may
// answer true for whichever thread is inside process() at the time.
#pragma once

#include "formats/clap/api/plugin.h"

namespace clap {

inline constexpr char CLAP_EXT_THREAD_CHECK[] = "clap.thread-check";

struct clap_host_thread_check {
    bool (*is_main_thread)(const clap_host_t* host);
    bool (*is_audio_thread)(const clap_host_t* host);
};
using clap_host_thread_check_t = clap_host_thread_check;

static_assert(sizeof(clap_host_thread_check) == 16);

}  // namespace clap
