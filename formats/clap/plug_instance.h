// Clap::PlugInstance: one instance of the effect as a CLAP plug-in. It owns
// the clap_plugin record the host drives and the effect behind it, and is
// that effect's HostLink: what the core and the editor tell a host becomes
// output events, rescans and state marks here.
//
// Threads: as the interface assigns them (see formats/clap/api/plugin.h):
// init, destroy, activate, deactivate, state, the params texts and the gui
// on the main thread; start and stop processing, reset and process on the
// audio thread; params flush on the audio thread while active and on the
// main thread otherwise. In debug builds each entry checks its thread
// through the host's thread-check, where the host has one.
// Ownership: created by the factory, deleted by the host's destroy call.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/plug.h"
#include "formats/clap/api/clap.h"
#include "formats/clap/editor_host.h"
#include "formats/clap/output_sync.h"
#include "formats/clap/param_bridge.h"

namespace Clap {

class PlugInstance final : public PlugCore::HostLink {
public:
    PlugInstance(const clap::clap_host_t* host, const clap::clap_plugin_descriptor_t* descriptor);
    ~PlugInstance();

    PlugInstance(const PlugInstance&) = delete;
    PlugInstance& operator=(const PlugInstance&) = delete;

    const clap::clap_plugin_t* record() const { return &plugin; }
    static PlugInstance* of(const clap::clap_plugin_t* p) { return static_cast<PlugInstance*>(p->plugin_data); }

    // ---- clap_plugin ----
    bool init();
    bool activate(double sampleRate, std::uint32_t maxFrames);
    void deactivate();
    bool startProcessing();
    void stopProcessing();
    void reset();
    clap::clap_process_status process(const clap::clap_process_t& process);
    void onMainThread() { mainThreadChores(); }

    // ---- extensions ----
    const ParamBridge& params() const { return *bridge; }
    bool parameterValue(clap::clap_id id, double& value) const;
    void flush(const clap::clap_input_events_t* in, const clap::clap_output_events_t* out);
    bool saveState(const clap::clap_ostream_t* stream);
    bool loadState(const clap::clap_istream_t* stream);
    std::uint32_t latency() const;
    EditorHost& editor() { return *editorHost; }
    /// The gui timer and the editor's connection: the editor's work, then the
    /// main thread's own.
    void editorTick();

    // ---- HostLink ----
    void beginEdit(std::int32_t index) override;
    void endEdit(std::int32_t index) override;
    void automate(std::int32_t index, float value) override;
    void updateDisplay() override;
    bool getTime(PlugCore::HostTime& time) override;

    /// Debug builds: complains, through the host's log, of a call on the wrong thread.
    void checkThread(bool audio, const char* call) const;

private:
    template <typename T>
    const T* hostExtension(const char* id) const;
    /// Applies a host's input events at once (no audio is processed) and
    /// tells the host what it has not heard yet.
    void applyNow(const clap::clap_input_events_t* in, const clap::clap_output_events_t* out);
    void noteHostValues(const clap::clap_input_events_t* in);
    bool processAudio(const clap::clap_process_t& process);
    /// Main thread: tells the host of values and mappings that changed inside the effect.
    void mainThreadChores();
    /// Takes the effect's controller mappings as the ones the host knows; true when they changed.
    bool takeMappings();
    /// Main thread: asks for a flush when no block is coming to carry the editor's events.
    void requestFlush();

    clap::clap_plugin_t plugin;
    const clap::clap_host_t* host;
    const clap::clap_host_params_t* hostParams = nullptr;
    const clap::clap_host_state_t* hostState = nullptr;
    const clap::clap_host_log_t* hostLog = nullptr;
    const clap::clap_host_thread_check_t* threadCheck = nullptr;

    std::unique_ptr<PlugCore::Plug> effect;
    std::unique_ptr<ParamBridge> bridge;
    std::unique_ptr<OutputSync> sync;
    std::unique_ptr<EditorHost> editorHost;
    bool active = false;
    std::atomic<bool> processing{false};
    std::uint32_t maxFrames = 0;
    const clap::clap_event_transport_t* transport = nullptr;  // the current block's
    std::vector<double> scratch64;  // a block's input in the output's precision, when the host mixes them
    std::vector<float> scratch32;
    std::vector<std::int32_t> mappings;  // the controller mappings the host last heard of
};

}  // namespace Clap
