#include "formats/clap/plug_instance.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "formats/clap/extensions.h"
#include "formats/clap/input_events.h"

namespace Clap {

namespace {

// A state larger than this is no state of ours; reading stops there.
constexpr std::size_t kStateLimit = 16u << 20;

void fill(float** channels, std::uint32_t count, std::uint32_t frames) {
    for (std::uint32_t c = 0; c < count; ++c)
        if (channels && channels[c]) std::fill(channels[c], channels[c] + frames, 0.0f);
}

void fill(double** channels, std::uint32_t count, std::uint32_t frames) {
    for (std::uint32_t c = 0; c < count; ++c)
        if (channels && channels[c]) std::fill(channels[c], channels[c] + frames, 0.0);
}

}  // namespace

PlugInstance::PlugInstance(const clap::clap_host_t* host, const clap::clap_plugin_descriptor_t* descriptor)
    : plugin{}, host(host) {
    using P = const clap::clap_plugin_t*;
    plugin.desc = descriptor;
    plugin.plugin_data = this;
    plugin.init = [](P p) { return of(p)->init(); };
    plugin.destroy = [](P p) {
        of(p)->checkThread(false, "destroy");
        delete of(p);
    };
    plugin.activate = [](P p, double rate, std::uint32_t, std::uint32_t maxFrames) {
        return of(p)->activate(rate, maxFrames);
    };
    plugin.deactivate = [](P p) { of(p)->deactivate(); };
    plugin.start_processing = [](P p) { return of(p)->startProcessing(); };
    plugin.stop_processing = [](P p) { of(p)->stopProcessing(); };
    plugin.reset = [](P p) { of(p)->reset(); };
    plugin.process = [](P p, const clap::clap_process_t* process) {
        return process ? of(p)->process(*process) : clap::CLAP_PROCESS_ERROR;
    };
    plugin.get_extension = [](P, const char* id) { return findExtension(id); };
    plugin.on_main_thread = [](P p) { of(p)->onMainThread(); };
}

// The editor goes before the effect that owns it.
PlugInstance::~PlugInstance() { editorHost.reset(); }

template <typename T>
const T* PlugInstance::hostExtension(const char* id) const {
    return host->get_extension ? static_cast<const T*>(host->get_extension(host, id)) : nullptr;
}

// The host and its extensions may be used from here on, not before.
bool PlugInstance::init() {
    hostLog = hostExtension<clap::clap_host_log_t>(clap::CLAP_EXT_LOG);
    threadCheck = hostExtension<clap::clap_host_thread_check_t>(clap::CLAP_EXT_THREAD_CHECK);
    checkThread(false, "init");
    hostParams = hostExtension<clap::clap_host_params_t>(clap::CLAP_EXT_PARAMS);
    hostState = hostExtension<clap::clap_host_state_t>(clap::CLAP_EXT_STATE);
    try {
        effect.reset(PlugCore::createEffect(this));
        if (!effect) return false;
        bridge = std::make_unique<ParamBridge>(*effect);
        sync = std::make_unique<OutputSync>(*effect, *bridge);
        // A host reads the values before anything else; edits made before the
        // first activation (and flushed only after it) still reach it.
        sync->assumeKnown();
        editorHost = std::make_unique<EditorHost>(host, *effect);
        mappings.assign(bridge->count(), -1);
        for (std::uint32_t i = 0; i < bridge->count(); ++i)
            mappings[i] = effect->getMapping(static_cast<std::int32_t>(i));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void PlugInstance::checkThread(bool audio, const char* call) const {
#ifndef NDEBUG
    if (!threadCheck) return;
    const bool right = audio ? threadCheck->is_audio_thread(host) : threadCheck->is_main_thread(host);
    if (right) return;
    char text[160];
    std::snprintf(text, sizeof text, "%s called off the %s thread", call, audio ? "audio" : "main");
    if (hostLog && hostLog->log) hostLog->log(host, clap::CLAP_LOG_HOST_MISBEHAVING, text);
    else
        std::fprintf(stderr, "Tallow Reed: %s\n", text);
#else
    (void)audio;
    (void)call;
#endif
}

// ---- lifecycle ---------------------------------------------------------------------

bool PlugInstance::activate(double sampleRate, std::uint32_t frames) {
    checkThread(false, "activate");
    if (active || !(sampleRate > 0.0) || frames == 0 || frames > 0x7FFFFFFF) return false;
    try {
        scratch64.assign(2 * std::size_t(frames), 0.0);
        scratch32.assign(2 * std::size_t(frames), 0.0f);
    } catch (const std::bad_alloc&) {
        return false;
    }
    effect->setSampleRate(static_cast<float>(sampleRate));
    effect->setBlockSize(static_cast<std::int32_t>(frames));
    effect->resume();
    maxFrames = frames;
    active = true;
    mainThreadChores();
    return true;
}

void PlugInstance::deactivate() {
    checkThread(false, "deactivate");
    if (!active) return;
    effect->suspend();
    active = false;
    mainThreadChores();
}

bool PlugInstance::startProcessing() {
    checkThread(true, "start processing");
    processing.store(true, std::memory_order_release);
    return true;
}

void PlugInstance::stopProcessing() {
    checkThread(true, "stop processing");
    processing.store(false, std::memory_order_release);
}

void PlugInstance::reset() {
    checkThread(true, "reset");
    effect->resetProcessing();
}

// ---- audio -------------------------------------------------------------------------

// The host's own values are what it knows already: nothing goes back for them.
void PlugInstance::noteHostValues(const clap::clap_input_events_t* in) {
    const InputEvents events(in, *bridge);
    std::uint32_t index = 0;
    float value = 0.0f;
    for (std::int32_t i = 0; i < events.size(); ++i)
        if (events.parameterAt(i, index, value)) sync->hostSent(index, value);
}

clap::clap_process_status PlugInstance::process(const clap::clap_process_t& p) {
    checkThread(true, "process");
    if (!active) return clap::CLAP_PROCESS_ERROR;
    noteHostValues(p.in_events);
    const InputEvents events(p.in_events, *bridge);
    effect->processEvents(&events);
    transport = p.transport;
    const bool rendered = processAudio(p);
    transport = nullptr;
    effect->processEvents(nullptr);
    if (!rendered) applyNow(p.in_events, nullptr);
    sync->emit(p.out_events, 0);
    return clap::CLAP_PROCESS_CONTINUE;
}

// Renders into the main output port from the main input port, in the
// output's precision. A block the effect cannot take leaves silence.
bool PlugInstance::processAudio(const clap::clap_process_t& p) {
    const std::uint32_t frames = p.frames_count;
    if (p.audio_outputs_count < 1 || !p.audio_outputs) return false;
    clap::clap_audio_buffer_t& out = p.audio_outputs[0];
    out.constant_mask = 0;
    const clap::clap_audio_buffer_t* in = p.audio_inputs_count >= 1 ? p.audio_inputs : nullptr;
    const bool usable = frames <= maxFrames && out.channel_count >= 2 && in && in->channel_count >= 2 &&
                        (in->data32 || in->data64) && (out.data32 || out.data64);
    if (!usable) {
        if (out.data64) fill(out.data64, out.channel_count, std::min(frames, maxFrames));
        else
            fill(out.data32, out.channel_count, std::min(frames, maxFrames));
        return false;
    }
    if (out.data64) {
        double** source = in->data64;
        double* converted[2] = {scratch64.data(), scratch64.data() + maxFrames};
        if (!source) {
            for (int c = 0; c < 2; ++c) std::copy(in->data32[c], in->data32[c] + frames, converted[c]);
            source = converted;
        }
        effect->processDoubleReplacing(source, out.data64, static_cast<std::int32_t>(frames));
    } else {
        float** source = in->data32;
        float* converted[2] = {scratch32.data(), scratch32.data() + maxFrames};
        if (!source) {
            for (int c = 0; c < 2; ++c)
                std::transform(in->data64[c], in->data64[c] + frames, converted[c],
                               [](double x) { return static_cast<float>(x); });
            source = converted;
        }
        effect->processReplacing(source, out.data32, static_cast<std::int32_t>(frames));
    }
    return true;
}

bool PlugInstance::getTime(PlugCore::HostTime& time) {
    if (!transport) return false;
    time.tempoValid = transport->flags & clap::CLAP_TRANSPORT_HAS_TEMPO;
    time.tempo = transport->tempo;
    time.playing = transport->flags & clap::CLAP_TRANSPORT_IS_PLAYING;
    time.positionValid = transport->flags & clap::CLAP_TRANSPORT_HAS_BEATS_TIMELINE;
    time.ppqPosition = static_cast<double>(transport->song_pos_beats) / static_cast<double>(clap::CLAP_BEATTIME_FACTOR);
    return true;
}

// ---- parameters --------------------------------------------------------------------

bool PlugInstance::parameterValue(clap::clap_id id, double& value) const {
    if (!bridge->contains(id)) return false;
    value = bridge->toHost(id, effect->getParameter(static_cast<std::int32_t>(id)));
    return true;
}

void PlugInstance::flush(const clap::clap_input_events_t* in, const clap::clap_output_events_t* out) {
    checkThread(active, "params flush");
    noteHostValues(in);
    applyNow(in, out);
}

// Without a block to place them in, the host's values and MIDI apply at once.
void PlugInstance::applyNow(const clap::clap_input_events_t* in, const clap::clap_output_events_t* out) {
    const InputEvents events(in, *bridge);
    for (std::int32_t i = 0; i < events.size(); ++i) {
        const PlugCore::HostEvent e = events.at(i);
        if (e.kind == PlugCore::HostEvent::Kind::Parameter)
            effect->setParameter(static_cast<std::int32_t>(e.index), e.value);
    }
    if (out) sync->emit(out, 0);
}

// ---- what the effect tells its host ------------------------------------------------

void PlugInstance::requestFlush() {
    if (!processing.load(std::memory_order_acquire) && hostParams && hostParams->request_flush)
        hostParams->request_flush(host);
}

void PlugInstance::beginEdit(std::int32_t index) {
    if (index < 0) return;
    sync->beginEdit(static_cast<std::uint32_t>(index));
    requestFlush();
}

void PlugInstance::endEdit(std::int32_t index) {
    if (index < 0) return;
    sync->endEdit(static_cast<std::uint32_t>(index));
    requestFlush();
}

// The value itself is in the parameter table, where the next block or flush
// finds it: inside a gesture it goes out with the gesture; any other value
// (a state or the defaults being loaded) goes out as the effect's own change,
// and the main thread rescans.
void PlugInstance::automate(std::int32_t, float) { requestFlush(); }

// A program change inside a block: the values go out with the block; the
// main thread rescans at its next chance.
void PlugInstance::updateDisplay() {
    sync->markValuesChanged();
    if (host->request_callback) host->request_callback(host);
}

// Main thread only. A host that never calls on_main_thread still hears of
// the change at the next gui tick, state call or activation.
void PlugInstance::mainThreadChores() {
    if (!effect) return;
    if (sync->takeValuesChanged() && hostParams && hostParams->rescan)
        hostParams->rescan(host, clap::CLAP_PARAM_RESCAN_VALUES);
    if (takeMappings() && hostState && hostState->mark_dirty) hostState->mark_dirty(host);
}

bool PlugInstance::takeMappings() {
    bool changed = false;
    for (std::uint32_t i = 0; i < bridge->count(); ++i) {
        const std::int32_t key = effect->getMapping(static_cast<std::int32_t>(i));
        changed |= key != mappings[i];
        mappings[i] = key;
    }
    return changed;
}

void PlugInstance::editorTick() {
    editorHost->idle();
    mainThreadChores();
}

// ---- state -------------------------------------------------------------------------

bool PlugInstance::saveState(const clap::clap_ostream_t* stream) {
    checkThread(false, "state save");
    mainThreadChores();
    if (!stream || !stream->write) return false;
    void* data = nullptr;
    const std::int32_t size = effect->getChunk(&data, false);
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::int64_t written = 0; written < size;) {
        const std::int64_t n = stream->write(stream, bytes + written, static_cast<std::uint64_t>(size - written));
        if (n <= 0) return false;
        written += n;
    }
    return true;
}

// A stream may hand over fewer bytes than asked: reading goes on until its
// end, an error, or more than any state of ours can be.
bool PlugInstance::loadState(const clap::clap_istream_t* stream) {
    checkThread(false, "state load");
    if (!stream || !stream->read) return false;
    std::string bytes;
    char buffer[4096];
    for (;;) {
        const std::int64_t n = stream->read(stream, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0 || n > static_cast<std::int64_t>(sizeof buffer) || bytes.size() + n > kStateLimit) return false;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    const bool loaded = effect->setChunk(bytes.data(), static_cast<std::int32_t>(bytes.size()), false);
    // The host knows what it loaded: the mappings in it are no edit of ours to
    // mark. The values (whatever was applied before a bad record stays applied)
    // are announced from the next main-thread call, not from inside the load:
    // Qtractor takes a rescan during a session's load for an edit and marks
    // the session modified, though it sets its stored values just after.
    takeMappings();
    sync->markValuesChanged();
    if (host->request_callback) host->request_callback(host);
    return loaded;
}

std::uint32_t PlugInstance::latency() const { return static_cast<std::uint32_t>(effect->getLatency()); }

}  // namespace Clap
