#include "tests/host/clap/clap_host.h"

#include <cstring>

#if !defined(_WIN32)
#include <poll.h>
#endif

namespace ClapHost {

std::unique_ptr<Module> Module::load(const std::string& path, std::string& error) {
    std::unique_ptr<Module> module(new Module);
    module->modulePath = path;
    module->library = HostKit::openModule(path, error);
    if (!module->library) return nullptr;
    const auto* entry = static_cast<const clap::clap_plugin_entry*>(module->library->symbol("clap_entry"));
    if (!entry) {
        error = "the module exports no clap_entry";
        return nullptr;
    }
    if (!clap::clap_version_is_compatible(entry->clap_version) || !entry->init || !entry->deinit ||
        !entry->get_factory) {
        error = "clap_entry is incomplete or of an incompatible version";
        return nullptr;
    }
    if (!entry->init(path.c_str())) {
        error = "clap_entry.init failed";
        return nullptr;
    }
    module->entryRecord = entry;  // from here on, destruction calls deinit
    module->pluginFactory =
        static_cast<const clap::clap_plugin_factory*>(entry->get_factory(clap::CLAP_PLUGIN_FACTORY_ID));
    if (!module->pluginFactory) {
        error = "the module offers no plug-in factory";
        return nullptr;
    }
    return module;
}

Module::~Module() {
    if (entryRecord) entryRecord->deinit();
}

std::vector<const clap::clap_plugin_descriptor*> Module::descriptors() const {
    std::vector<const clap::clap_plugin_descriptor*> result;
    const std::uint32_t count = pluginFactory->get_plugin_count(pluginFactory);
    for (std::uint32_t i = 0; i < count; ++i) result.push_back(pluginFactory->get_plugin_descriptor(pluginFactory, i));
    return result;
}

/// Makes the calling thread the audio thread for one plug-in call.
class AudioThreadScope {
public:
    explicit AudioThreadScope(Host& host)
        : host(host), previous(host.audioThread.exchange(std::this_thread::get_id())) {}
    ~AudioThreadScope() { host.audioThread = previous; }
    AudioThreadScope(const AudioThreadScope&) = delete;
    AudioThreadScope& operator=(const AudioThreadScope&) = delete;

private:
    Host& host;
    std::thread::id previous;
};

// The host's functions, reached through host_data.
struct HostCallbacks {
    /// The host, after checking the plug-in may call it at all yet.
    static Host& enter(const clap::clap_host* record, const char* function) {
        Host& host = *static_cast<Host*>(record->host_data);
        if (host.creating) host.problem(std::string(function) + " called from create_plugin");
        return host;
    }

    template <typename Change>
    static void note(Host& host, Change change) {
        std::lock_guard<std::mutex> guard(host.lock);
        change(host.recorded);
    }

    static const void* getExtension(const clap::clap_host* record, const char* id);

    static void requestRestart(const clap::clap_host* h) {
        note(enter(h, "request_restart"), [](HostRecord& r) { ++r.restartRequests; });
    }
    static void requestProcess(const clap::clap_host* h) {
        note(enter(h, "request_process"), [](HostRecord& r) { ++r.processRequests; });
    }
    static void requestCallback(const clap::clap_host* h) {
        note(enter(h, "request_callback"), [](HostRecord& r) { ++r.callbackRequests; });
    }

    static bool isMainThread(const clap::clap_host* h) { return enter(h, "is_main_thread").isMainThread(); }
    static bool isAudioThread(const clap::clap_host* h) { return enter(h, "is_audio_thread").isAudioThread(); }

    static void rescan(const clap::clap_host* h, clap::clap_param_rescan_flags flags) {
        Host& host = enter(h, "params.rescan");
        host.requireMainThread("params.rescan");
        if ((flags & clap::CLAP_PARAM_RESCAN_ALL) && host.active) host.problem("params.rescan(ALL) while active");
        note(host, [&](HostRecord& r) { r.rescans.push_back(flags); });
    }
    static void clear(const clap::clap_host* h, clap::clap_id id, clap::clap_param_clear_flags flags) {
        Host& host = enter(h, "params.clear");
        host.requireMainThread("params.clear");
        note(host, [&](HostRecord& r) { r.clears.emplace_back(id, flags); });
    }
    static void requestFlush(const clap::clap_host* h) {
        Host& host = enter(h, "params.request_flush");
        if (host.isAudioThread()) host.problem("params.request_flush from the audio thread");
        note(host, [](HostRecord& r) { ++r.flushRequests; });
    }

    static void markDirty(const clap::clap_host* h) {
        Host& host = enter(h, "state.mark_dirty");
        host.requireMainThread("state.mark_dirty");
        note(host, [](HostRecord& r) { ++r.dirtyMarks; });
    }

    static void latencyChanged(const clap::clap_host* h) {
        Host& host = enter(h, "latency.changed");
        host.requireMainThread("latency.changed");
        if (!host.activating) host.problem("latency.changed outside activate");
        note(host, [](HostRecord& r) { ++r.latencyChanges; });
    }

    static void resizeHintsChanged(const clap::clap_host* h) {
        note(enter(h, "gui.resize_hints_changed"), [](HostRecord& r) { ++r.resizeHintChanges; });
    }
    static bool requestResize(const clap::clap_host* h, std::uint32_t width, std::uint32_t height) {
        note(enter(h, "gui.request_resize"), [&](HostRecord& r) { r.resizeRequests.emplace_back(width, height); });
        return static_cast<Host*>(h->host_data)->acceptResize;
    }
    static bool requestShow(const clap::clap_host* h) {
        note(enter(h, "gui.request_show"), [](HostRecord& r) { ++r.showRequests; });
        return true;
    }
    static bool requestHide(const clap::clap_host* h) {
        note(enter(h, "gui.request_hide"), [](HostRecord& r) { ++r.hideRequests; });
        return true;
    }
    static void closed(const clap::clap_host* h, bool wasDestroyed) {
        note(enter(h, "gui.closed"), [&](HostRecord& r) { r.closed.push_back(wasDestroyed); });
    }

    static bool registerTimer(const clap::clap_host* h, std::uint32_t periodMs, clap::clap_id* id);
    static bool unregisterTimer(const clap::clap_host* h, clap::clap_id id);
    static bool registerFd(const clap::clap_host* h, int fd, clap::clap_posix_fd_flags_t flags);
    static bool modifyFd(const clap::clap_host* h, int fd, clap::clap_posix_fd_flags_t flags);
    static bool unregisterFd(const clap::clap_host* h, int fd);

    static void log(const clap::clap_host* h, clap::clap_log_severity severity, const char* message) {
        Host& host = enter(h, "log.log");
        if (!message) host.problem("log.log with a null message");
        note(host, [&](HostRecord& r) { r.log.emplace_back(severity, message ? message : ""); });
    }
};

namespace {

const clap::clap_host_thread_check kThreadCheck{&HostCallbacks::isMainThread, &HostCallbacks::isAudioThread};
const clap::clap_host_params kParams{&HostCallbacks::rescan, &HostCallbacks::clear, &HostCallbacks::requestFlush};
const clap::clap_host_state kState{&HostCallbacks::markDirty};
const clap::clap_host_latency kLatency{&HostCallbacks::latencyChanged};
const clap::clap_host_gui kGui{&HostCallbacks::resizeHintsChanged, &HostCallbacks::requestResize,
                               &HostCallbacks::requestShow, &HostCallbacks::requestHide, &HostCallbacks::closed};
const clap::clap_host_timer_support kTimers{&HostCallbacks::registerTimer, &HostCallbacks::unregisterTimer};
const clap::clap_host_posix_fd_support kDescriptors{&HostCallbacks::registerFd, &HostCallbacks::modifyFd,
                                                    &HostCallbacks::unregisterFd};
const clap::clap_host_log kLog{&HostCallbacks::log};

}  // namespace

const void* HostCallbacks::getExtension(const clap::clap_host* h, const char* id) {
    Host& host = enter(h, "get_extension");
    if (!host.initialised) host.problem("get_extension before init");
    if (!id) {
        host.problem("get_extension with a null id");
        return nullptr;
    }
    note(host, [&](HostRecord& r) { r.extensionsAsked.emplace_back(id); });
    const HostOffers& offers = host.offers;
    const std::pair<const char*, const void*> table[] = {
        {clap::CLAP_EXT_THREAD_CHECK, offers.threadCheck ? &kThreadCheck : nullptr},
        {clap::CLAP_EXT_PARAMS, offers.params ? &kParams : nullptr},
        {clap::CLAP_EXT_STATE, offers.state ? &kState : nullptr},
        {clap::CLAP_EXT_LATENCY, offers.latency ? &kLatency : nullptr},
        {clap::CLAP_EXT_GUI, offers.gui ? &kGui : nullptr},
        {clap::CLAP_EXT_TIMER_SUPPORT, offers.timerSupport ? &kTimers : nullptr},
        {clap::CLAP_EXT_POSIX_FD_SUPPORT, offers.posixFdSupport ? &kDescriptors : nullptr},
        {clap::CLAP_EXT_LOG, offers.log ? &kLog : nullptr},
    };
    for (const auto& [name, extension] : table)
        if (std::strcmp(name, id) == 0) return extension;
    return nullptr;
}

bool HostCallbacks::registerTimer(const clap::clap_host* h, std::uint32_t periodMs, clap::clap_id* id) {
    Host& host = enter(h, "timer_support.register_timer");
    host.requireMainThread("timer_support.register_timer");
    if (!id) {
        host.problem("timer_support.register_timer with a null id");
        return false;
    }
    std::lock_guard<std::mutex> guard(host.lock);
    *id = host.nextTimer++;
    host.timerPeriods[*id] = periodMs;
    return true;
}

bool HostCallbacks::unregisterTimer(const clap::clap_host* h, clap::clap_id id) {
    Host& host = enter(h, "timer_support.unregister_timer");
    host.requireMainThread("timer_support.unregister_timer");
    bool known;
    {
        std::lock_guard<std::mutex> guard(host.lock);
        known = host.timerPeriods.erase(id) > 0;
    }
    if (!known) host.problem("timer_support.unregister_timer of unknown timer " + std::to_string(id));
    return known;
}

bool HostCallbacks::registerFd(const clap::clap_host* h, int fd, clap::clap_posix_fd_flags_t flags) {
    Host& host = enter(h, "posix_fd_support.register_fd");
    host.requireMainThread("posix_fd_support.register_fd");
    bool added = false;
    if (fd >= 0) {
        std::lock_guard<std::mutex> guard(host.lock);
        added = host.watched.emplace(fd, flags).second;
    }
    if (!added) host.problem("posix_fd_support.register_fd of bad or watched fd " + std::to_string(fd));
    return added;
}

bool HostCallbacks::modifyFd(const clap::clap_host* h, int fd, clap::clap_posix_fd_flags_t flags) {
    Host& host = enter(h, "posix_fd_support.modify_fd");
    host.requireMainThread("posix_fd_support.modify_fd");
    bool known;
    {
        std::lock_guard<std::mutex> guard(host.lock);
        auto found = host.watched.find(fd);
        known = found != host.watched.end();
        if (known) found->second = flags;
    }
    if (!known) host.problem("posix_fd_support.modify_fd of unwatched fd " + std::to_string(fd));
    return known;
}

bool HostCallbacks::unregisterFd(const clap::clap_host* h, int fd) {
    Host& host = enter(h, "posix_fd_support.unregister_fd");
    host.requireMainThread("posix_fd_support.unregister_fd");
    bool known;
    {
        std::lock_guard<std::mutex> guard(host.lock);
        known = host.watched.erase(fd) > 0;
    }
    if (!known) host.problem("posix_fd_support.unregister_fd of unwatched fd " + std::to_string(fd));
    return known;
}

Host::Host(HostOffers offers) : offers(offers), mainThread(std::this_thread::get_id()) {
    record = {clap::CLAP_VERSION,
              this,
              "Tallow Reed CLAP test host",
              "Corvelight",
              "",
              "1.0",
              &HostCallbacks::getExtension,
              &HostCallbacks::requestRestart,
              &HostCallbacks::requestProcess,
              &HostCallbacks::requestCallback};
}

HostRecord Host::snapshot() const {
    std::lock_guard<std::mutex> guard(lock);
    return recorded;
}

void Host::clearRecord() {
    std::lock_guard<std::mutex> guard(lock);
    recorded = {};
}

std::map<clap::clap_id, std::uint32_t> Host::timers() const {
    std::lock_guard<std::mutex> guard(lock);
    return timerPeriods;
}

std::map<int, clap::clap_posix_fd_flags_t> Host::descriptors() const {
    std::lock_guard<std::mutex> guard(lock);
    return watched;
}

void Host::requireMainThread(const char* function) {
    if (!isMainThread()) problem(std::string(function) + " called off the main thread");
}

void Host::problem(std::string text) {
    std::lock_guard<std::mutex> guard(lock);
    recorded.problems.push_back(std::move(text));
}

Plugin::Plugin(const Module& module, Host& host, const char* id) : host(host) {
    host.initialised = false;
    host.creating = true;
    instance = module.factory().create_plugin(&module.factory(), host.get(), id);
    host.creating = false;
}

Plugin::~Plugin() {
    if (!instance) return;
    if (processing) stopProcessing();
    if (active) deactivate();
    instance->destroy(instance);
    host.initialised = false;
}

bool Plugin::init() {
    host.initialised = true;  // the plug-in may use the host from inside init
    return instance->init(instance);
}

bool Plugin::activate(double sampleRate, std::uint32_t minFrames, std::uint32_t maxFrames) {
    host.activating = true;
    active = instance->activate(instance, sampleRate, minFrames, maxFrames);
    host.activating = false;
    host.active = active;
    return active;
}

void Plugin::deactivate() {
    instance->deactivate(instance);
    active = host.active = false;
}

bool Plugin::startProcessing() {
    AudioThreadScope audio(host);
    processing = instance->start_processing(instance);
    return processing;
}

void Plugin::stopProcessing() {
    AudioThreadScope audio(host);
    instance->stop_processing(instance);
    processing = false;
}

void Plugin::reset() {
    AudioThreadScope audio(host);
    instance->reset(instance);
}

clap::clap_process_status Plugin::process(const clap::clap_process& block) {
    AudioThreadScope audio(host);
    return instance->process(instance, &block);
}

bool Plugin::flush(InputEvents& in, OutputEvents& out) {
    const auto* params = extension<clap::clap_plugin_params>(clap::CLAP_EXT_PARAMS);
    if (!params) return false;
    if (active) {
        AudioThreadScope audio(host);
        params->flush(instance, in.list(), out.list());
    } else {
        params->flush(instance, in.list(), out.list());
    }
    return true;
}

int Plugin::tickTimers() {
    const auto* timers = extension<clap::clap_plugin_timer_support>(clap::CLAP_EXT_TIMER_SUPPORT);
    int fired = 0;
    for (const auto& [id, period] : host.timers()) {
        if (!timers) {
            host.problem("a timer is registered but the plug-in has no timer-support extension");
            break;
        }
        // An earlier timer's callback may have unregistered this one.
        if (!host.timers().count(id)) continue;
        timers->on_timer(instance, id);
        ++fired;
    }
    return fired;
}

int Plugin::pollDescriptors(int timeoutMs) {
#if defined(_WIN32)
    static_cast<void>(timeoutMs);
    return 0;
#else
    const auto* support = extension<clap::clap_plugin_posix_fd_support>(clap::CLAP_EXT_POSIX_FD_SUPPORT);
    std::vector<pollfd> polled;
    for (const auto& [fd, flags] : host.descriptors()) {
        short events = 0;
        if (flags & clap::CLAP_POSIX_FD_READ) events |= POLLIN;
        if (flags & clap::CLAP_POSIX_FD_WRITE) events |= POLLOUT;
        polled.push_back({fd, events, 0});
    }
    if (polled.empty() || poll(polled.data(), polled.size(), timeoutMs) <= 0) return 0;
    if (!support) {
        host.problem("a descriptor is registered but the plug-in has no posix-fd-support extension");
        return 0;
    }
    int ready = 0;
    for (const pollfd& entry : polled) {
        clap::clap_posix_fd_flags_t flags = 0;
        if (entry.revents & POLLIN) flags |= clap::CLAP_POSIX_FD_READ;
        if (entry.revents & POLLOUT) flags |= clap::CLAP_POSIX_FD_WRITE;
        if (entry.revents & (POLLERR | POLLHUP | POLLNVAL)) flags |= clap::CLAP_POSIX_FD_ERROR;
        if (!flags || !host.descriptors().count(entry.fd)) continue;
        support->on_fd(instance, entry.fd, flags);
        ++ready;
    }
    return ready;
#endif
}

}  // namespace ClapHost
