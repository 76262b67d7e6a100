// CLAP posix-fd-support extension: the host watches file descriptors (such
// as the editor's X connection) in its own event loop and calls back on the
// main thread when one is ready.
//
// Threads: main thread, both sides.
#pragma once

#include "formats/clap/api/plugin.h"

namespace clap {

inline constexpr char CLAP_EXT_POSIX_FD_SUPPORT[] = "clap.posix-fd-support";

// clap_posix_fd_flags_t: what to watch for, and what happened.
using clap_posix_fd_flags_t = uint32_t;
inline constexpr clap_posix_fd_flags_t CLAP_POSIX_FD_READ = 1u << 0;
inline constexpr clap_posix_fd_flags_t CLAP_POSIX_FD_WRITE = 1u << 1;
inline constexpr clap_posix_fd_flags_t CLAP_POSIX_FD_ERROR = 1u << 2;

struct clap_plugin_posix_fd_support {
    /// Level-triggered: called again for as long as the condition holds.
    void (*on_fd)(const clap_plugin_t* plugin, int fd, clap_posix_fd_flags_t flags);
};
using clap_plugin_posix_fd_support_t = clap_plugin_posix_fd_support;

struct clap_host_posix_fd_support {
    bool (*register_fd)(const clap_host_t* host, int fd, clap_posix_fd_flags_t flags);
    bool (*modify_fd)(const clap_host_t* host, int fd, clap_posix_fd_flags_t flags);
    bool (*unregister_fd)(const clap_host_t* host, int fd);
};
using clap_host_posix_fd_support_t = clap_host_posix_fd_support;

static_assert(sizeof(clap_plugin_posix_fd_support) == 8 && sizeof(clap_host_posix_fd_support) == 24);

}  // namespace clap
