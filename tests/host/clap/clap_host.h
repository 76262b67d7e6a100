// A CLAP test host: loads a .clap module by path through its exported
// entry, creates its plug-in, and answers the host side of the interface,
// recording every request the plug-in makes and every threading rule it
// breaks that the host side can see. Timers and file descriptors are driven
// by the test, not by an event loop.
//
// Threads: the main thread is the one that made the Host (setMainThread
// moves it). The audio-thread calls (start/stop processing, reset, process,
// and flush while active) make their calling thread the audio thread for
// the call's duration, so a test may run them on a thread of its own.
// Ownership: Module keeps the library mapped and initialised. A Host serves
// one Plugin at a time and must outlive it; each Plugin destroys its instance.
#pragma once

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "formats/clap/api/clap.h"
#include "tests/host/clap/clap_io.h"
#include "tools/host_kit/module_library.h"

namespace ClapHost {

/// A mapped module whose entry has been initialised once; deinit and unmap on destruction.
class Module {
public:
    /// Maps path, finds clap_entry, checks its version, calls init with the
    /// path and asks for the plug-in factory. Null on failure, with the reason in error.
    static std::unique_ptr<Module> load(const std::string& path, std::string& error);
    ~Module();
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    const clap::clap_plugin_entry& entry() const { return *entryRecord; }
    const clap::clap_plugin_factory& factory() const { return *pluginFactory; }
    std::vector<const clap::clap_plugin_descriptor*> descriptors() const;
    const std::string& path() const { return modulePath; }

private:
    Module() = default;
    std::unique_ptr<HostKit::ModuleLibrary> library;
    const clap::clap_plugin_entry* entryRecord = nullptr;
    const clap::clap_plugin_factory* pluginFactory = nullptr;
    std::string modulePath;
};

/// Which extensions the host's get_extension answers.
struct HostOffers {
    bool threadCheck = true;
    bool params = true;
    bool state = true;
    bool latency = true;
    bool gui = true;
    bool timerSupport = true;
#if defined(_WIN32)
    bool posixFdSupport = false;  // a Windows host has no descriptors to watch
#else
    bool posixFdSupport = true;
#endif
    bool log = true;
};

/// What the plug-in asked of the host.
struct HostRecord {
    std::vector<std::string> extensionsAsked;
    std::vector<clap::clap_param_rescan_flags> rescans;
    std::vector<std::pair<clap::clap_id, clap::clap_param_clear_flags>> clears;
    int flushRequests = 0;
    int restartRequests = 0;
    int processRequests = 0;
    int callbackRequests = 0;
    int latencyChanges = 0;
    int dirtyMarks = 0;
    int resizeHintChanges = 0;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> resizeRequests;
    int showRequests = 0;
    int hideRequests = 0;
    std::vector<bool> closed;  // was_destroyed of each call
    std::vector<std::pair<clap::clap_log_severity, std::string>> log;
    /// Broken rules the host side saw: a main-thread function called from
    /// another thread, the host used from create_plugin, latency changed
    /// outside activate, unknown timers or descriptors, and the like.
    std::vector<std::string> problems;
};

class Host {
public:
    explicit Host(HostOffers offers = {});
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    const clap::clap_host* get() const { return &record; }
    void setMainThread(std::thread::id id) { mainThread = id; }

    /// A copy taken under the host's lock; the plug-in may be calling in meanwhile.
    HostRecord snapshot() const;
    void clearRecord();
    std::map<clap::clap_id, std::uint32_t> timers() const;           // id → period in ms
    std::map<int, clap::clap_posix_fd_flags_t> descriptors() const;  // fd → flags watched

    HostOffers offers;
    bool acceptResize = true;  // request_resize's answer

private:
    friend struct HostCallbacks;
    friend class Plugin;
    friend class AudioThreadScope;
    bool isMainThread() const { return std::this_thread::get_id() == mainThread.load(); }
    bool isAudioThread() const { return std::this_thread::get_id() == audioThread.load(); }
    /// Records a problem when the caller is not on the main thread.
    void requireMainThread(const char* function);
    void problem(std::string text);

    std::atomic<std::thread::id> mainThread;
    std::atomic<std::thread::id> audioThread{};
    std::atomic<bool> creating{false};  // inside create_plugin
    std::atomic<bool> initialised{false};
    std::atomic<bool> activating{false};
    std::atomic<bool> active{false};
    mutable std::mutex lock;
    HostRecord recorded;
    std::map<clap::clap_id, std::uint32_t> timerPeriods;
    std::map<int, clap::clap_posix_fd_flags_t> watched;
    clap::clap_id nextTimer = 0;  // as in Qtractor: 0 is a valid timer id, not "none"
    clap::clap_host record{};
};

/// One plug-in instance. Destruction stops processing and deactivates first
/// when needed, then destroys it.
class Plugin {
public:
    /// Calls create_plugin; get() is null when the factory refused the id.
    Plugin(const Module& module, Host& host, const char* id);
    ~Plugin();
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    const clap::clap_plugin* get() const { return instance; }
    template <typename Extension>
    const Extension* extension(const char* id) const {
        return static_cast<const Extension*>(instance->get_extension(instance, id));
    }

    // Main thread.
    bool init();
    bool activate(double sampleRate, std::uint32_t minFrames, std::uint32_t maxFrames);
    void deactivate();
    void onMainThread() { instance->on_main_thread(instance); }
    /// Fires every registered timer once, as the host's loop would; returns how many fired.
    int tickTimers();
    /// Waits up to timeoutMs for the registered descriptors and calls on_fd
    /// for each that is ready; returns how many. Always 0 on Windows.
    int pollDescriptors(int timeoutMs);

    // Audio thread.
    bool startProcessing();
    void stopProcessing();
    void reset();
    clap::clap_process_status process(const clap::clap_process& process);

    /// params flush: on the audio thread while active, else on the main
    /// thread. False when the plug-in has no params extension.
    bool flush(InputEvents& in, OutputEvents& out);

    bool isActive() const { return active; }
    bool isProcessing() const { return processing; }

private:
    Host& host;
    const clap::clap_plugin* instance = nullptr;
    bool active = false;
    bool processing = false;
};

}  // namespace ClapHost
