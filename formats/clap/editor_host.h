// The effect's editor inside a CLAP host's window (the gui extension). The
// editor is embedded only, at its fixed size. On Linux the host gives the
// editor time through a timer and by watching its X connection; a host that
// offers neither gets no editor.
//
// Threads: every call on the main thread. Ownership: borrows the effect,
// whose editor it opens and closes; the host's extensions are the host's.
#pragma once

#include <cstdint>

#include "core/plug.h"
#include "formats/clap/api/clap.h"

namespace Clap {

class EditorHost {
public:
    EditorHost(const clap::clap_host_t* host, PlugCore::Plug& plug);
    ~EditorHost();

    EditorHost(const EditorHost&) = delete;
    EditorHost& operator=(const EditorHost&) = delete;

    bool isApiSupported(const char* api, bool floating) const;
    bool preferredApi(const char** api, bool* floating) const;
    bool create(const char* api, bool floating);
    void destroy();
    bool getSize(std::uint32_t* width, std::uint32_t* height) const;
    bool setSize(std::uint32_t width, std::uint32_t height) const;
    bool setParent(const clap::clap_window_t* window);
    bool show();
    bool hide();

    bool ownsTimer(clap::clap_id id) const { return timerRegistered && id == timer; }
    bool ownsFd(int fd) const { return fdRegistered && fd == watchedFd; }
    /// Lets the open editor handle its events, paint and run its timer.
    void idle();

private:
    PlugCore::Editor* editor() const { return plug.getEditor(); }
    bool hostLoopAvailable() const;
    void watchEditor();
    void stopWatching();

    const clap::clap_host_t* host;
    PlugCore::Plug& plug;
    const clap::clap_host_timer_support_t* timers = nullptr;
    const clap::clap_host_posix_fd_support_t* fds = nullptr;
    bool created = false;
    bool timerRegistered = false;
    clap::clap_id timer = clap::CLAP_INVALID_ID;
    bool fdRegistered = false;
    int watchedFd = -1;
};

namespace platform {

/// The window system the editor embeds in: "x11" or "win32".
const char* windowApi();
/// The native parent handle in the host's window record.
void* nativeParent(const clap::clap_window_t& window);
/// True where the editor needs the host's timer and file watching to run.
bool needsHostLoop();

}  // namespace platform

}  // namespace Clap
