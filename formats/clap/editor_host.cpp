#include "formats/clap/editor_host.h"

#include <cstring>
#include <new>

namespace Clap {

namespace {

// The editor asks for a timer at this period; hosts may run it slower (30 Hz is common).
constexpr std::uint32_t kTimerPeriodMs = 16;

template <typename T>
const T* extensionOf(const clap::clap_host_t* host, const char* id) {
    return host && host->get_extension ? static_cast<const T*>(host->get_extension(host, id)) : nullptr;
}

}  // namespace

EditorHost::EditorHost(const clap::clap_host_t* host, PlugCore::Plug& plug) : host(host), plug(plug) {
    timers = extensionOf<clap::clap_host_timer_support_t>(host, clap::CLAP_EXT_TIMER_SUPPORT);
    fds = extensionOf<clap::clap_host_posix_fd_support_t>(host, clap::CLAP_EXT_POSIX_FD_SUPPORT);
}

EditorHost::~EditorHost() { destroy(); }

bool EditorHost::hostLoopAvailable() const {
    if (!platform::needsHostLoop()) return true;
    return timers && timers->register_timer && timers->unregister_timer && fds && fds->register_fd &&
           fds->unregister_fd;
}

// What the editor can embed in, whatever this host offers: scanners ask
// through a host of no extensions and list the plug-in without an editor for
// good when the answer is no. A host without the loop is refused at create.
bool EditorHost::isApiSupported(const char* api, bool floating) const {
    return !floating && api && std::strcmp(api, platform::windowApi()) == 0 && editor();
}

bool EditorHost::preferredApi(const char** api, bool* floating) const {
    if (!api || !floating || !editor()) return false;
    *api = platform::windowApi();
    *floating = false;
    return true;
}

bool EditorHost::create(const char* api, bool floating) {
    if (created || !isApiSupported(api, floating) || !hostLoopAvailable()) return false;
    created = true;
    return true;
}

void EditorHost::destroy() {
    if (!created) return;
    stopWatching();
    if (editor()) editor()->close();
    created = false;
}

bool EditorHost::getSize(std::uint32_t* width, std::uint32_t* height) const {
    const PlugCore::EditorRect* rect = nullptr;
    if (!width || !height || !editor() || !editor()->getRect(&rect) || !rect) return false;
    *width = static_cast<std::uint32_t>(rect->right - rect->left);
    *height = static_cast<std::uint32_t>(rect->bottom - rect->top);
    return true;
}

// The size is fixed: only the editor's own size is accepted.
bool EditorHost::setSize(std::uint32_t width, std::uint32_t height) const {
    std::uint32_t w = 0, h = 0;
    return getSize(&w, &h) && w == width && h == height;
}

bool EditorHost::setParent(const clap::clap_window_t* window) {
    if (!created || !window || !window->api || std::strcmp(window->api, platform::windowApi()) != 0) return false;
    void* parent = platform::nativeParent(*window);
    if (!parent || editor()->isOpen()) return false;
    try {
        if (!editor()->open(parent)) return false;
    } catch (const std::bad_alloc&) {
        return false;  // nothing may unwind into the host
    }
    watchEditor();
    return true;
}

void EditorHost::watchEditor() {
    if (!platform::needsHostLoop()) return;
    timerRegistered = timers->register_timer(host, kTimerPeriodMs, &timer);
    const int fd = editor()->eventFd();
    if (fd >= 0 && fds->register_fd(host, fd, clap::CLAP_POSIX_FD_READ)) {
        fdRegistered = true;
        watchedFd = fd;
    }
}

void EditorHost::stopWatching() {
    if (timerRegistered) timers->unregister_timer(host, timer);
    if (fdRegistered) fds->unregister_fd(host, watchedFd);
    timerRegistered = false;
    fdRegistered = false;
    watchedFd = -1;
}

bool EditorHost::show() {
    if (!created || !editor()->isOpen()) return false;
    editor()->setVisible(true);
    return true;
}

bool EditorHost::hide() {
    if (!created || !editor()->isOpen()) return false;
    editor()->setVisible(false);
    return true;
}

void EditorHost::idle() {
    if (created && editor()->isOpen()) editor()->idle();
}

}  // namespace Clap
