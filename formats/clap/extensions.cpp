// The tables of functions the host calls, each forwarding to the instance.
// They live for the whole time the module is loaded.
#include "formats/clap/extensions.h"

#include <cstring>

#include "formats/clap/plug_instance.h"

namespace Clap {

namespace {

PlugInstance& self(const clap::clap_plugin_t* p) { return *PlugInstance::of(p); }

// ---- params ----

std::uint32_t paramCount(const clap::clap_plugin_t* p) { return self(p).params().count(); }

bool paramInfo(const clap::clap_plugin_t* p, std::uint32_t index, clap::clap_param_info_t* info) {
    return info && self(p).params().info(index, *info);
}

bool paramValue(const clap::clap_plugin_t* p, clap::clap_id id, double* value) {
    return value && self(p).parameterValue(id, *value);
}

bool paramToText(const clap::clap_plugin_t* p, clap::clap_id id, double value, char* text, std::uint32_t size) {
    self(p).checkThread(false, "params value_to_text");
    return self(p).params().toText(id, value, text, size);
}

bool paramFromText(const clap::clap_plugin_t* p, clap::clap_id id, const char* text, double* value) {
    self(p).checkThread(false, "params text_to_value");
    return value && self(p).params().fromText(id, text, *value);
}

void paramFlush(const clap::clap_plugin_t* p, const clap::clap_input_events_t* in,
                const clap::clap_output_events_t* out) {
    self(p).flush(in, out);
}

constexpr clap::clap_plugin_params_t kParams{paramCount, paramInfo, paramValue, paramToText, paramFromText, paramFlush};

// ---- state ----

bool stateSave(const clap::clap_plugin_t* p, const clap::clap_ostream_t* s) { return self(p).saveState(s); }
bool stateLoad(const clap::clap_plugin_t* p, const clap::clap_istream_t* s) { return self(p).loadState(s); }

constexpr clap::clap_plugin_state_t kState{stateSave, stateLoad};

// ---- audio and note ports ----

// One stereo main port each way; the output may take the input's buffers.
std::uint32_t audioPortCount(const clap::clap_plugin_t*, bool) { return 1; }

bool audioPortInfo(const clap::clap_plugin_t*, std::uint32_t index, bool isInput, clap::clap_audio_port_info_t* info) {
    if (index != 0 || !info) return false;
    *info = clap::clap_audio_port_info_t{};
    info->id = 0;
    std::strcpy(info->name, isInput ? "Main In" : "Main Out");
    info->flags = clap::CLAP_AUDIO_PORT_IS_MAIN | clap::CLAP_AUDIO_PORT_SUPPORTS_64BITS;
    info->channel_count = 2;
    info->port_type = clap::CLAP_PORT_STEREO;
    info->in_place_pair = 0;
    return true;
}

constexpr clap::clap_plugin_audio_ports_t kAudioPorts{audioPortCount, audioPortInfo};

// Controllers, program changes and learn want MIDI; notes are taken as either.
std::uint32_t notePortCount(const clap::clap_plugin_t*, bool isInput) { return isInput ? 1 : 0; }

bool notePortInfo(const clap::clap_plugin_t*, std::uint32_t index, bool isInput, clap::clap_note_port_info_t* info) {
    if (index != 0 || !isInput || !info) return false;
    *info = clap::clap_note_port_info_t{};
    info->id = 0;
    info->supported_dialects = clap::CLAP_NOTE_DIALECT_CLAP | clap::CLAP_NOTE_DIALECT_MIDI;
    info->preferred_dialect = clap::CLAP_NOTE_DIALECT_MIDI;
    std::strcpy(info->name, "MIDI In");
    return true;
}

constexpr clap::clap_plugin_note_ports_t kNotePorts{notePortCount, notePortInfo};

// ---- latency ----

std::uint32_t latencyGet(const clap::clap_plugin_t* p) { return self(p).latency(); }

constexpr clap::clap_plugin_latency_t kLatency{latencyGet};

// ---- gui ----

bool guiIsApiSupported(const clap::clap_plugin_t* p, const char* api, bool floating) {
    return self(p).editor().isApiSupported(api, floating);
}
bool guiPreferredApi(const clap::clap_plugin_t* p, const char** api, bool* floating) {
    return self(p).editor().preferredApi(api, floating);
}
bool guiCreate(const clap::clap_plugin_t* p, const char* api, bool floating) {
    self(p).checkThread(false, "gui create");
    return self(p).editor().create(api, floating);
}
void guiDestroy(const clap::clap_plugin_t* p) {
    self(p).checkThread(false, "gui destroy");
    self(p).editor().destroy();
}
bool guiSetScale(const clap::clap_plugin_t*, double) { return false; }
bool guiGetSize(const clap::clap_plugin_t* p, std::uint32_t* w, std::uint32_t* h) {
    return self(p).editor().getSize(w, h);
}
bool guiCanResize(const clap::clap_plugin_t*) { return false; }
// Some hosts complain of a plug-in without hints: the hints say it keeps its size.
bool guiResizeHints(const clap::clap_plugin_t*, clap::clap_gui_resize_hints_t* hints) {
    if (!hints) return false;
    *hints = clap::clap_gui_resize_hints_t{false, false, false, 1, 1};
    return true;
}
bool guiAdjustSize(const clap::clap_plugin_t* p, std::uint32_t* w, std::uint32_t* h) {
    return self(p).editor().getSize(w, h);
}
bool guiSetSize(const clap::clap_plugin_t* p, std::uint32_t w, std::uint32_t h) {
    return self(p).editor().setSize(w, h);
}
bool guiSetParent(const clap::clap_plugin_t* p, const clap::clap_window_t* window) {
    self(p).checkThread(false, "gui set_parent");
    return self(p).editor().setParent(window);
}
bool guiSetTransient(const clap::clap_plugin_t*, const clap::clap_window_t*) { return false; }
void guiSuggestTitle(const clap::clap_plugin_t*, const char*) {}
bool guiShow(const clap::clap_plugin_t* p) { return self(p).editor().show(); }
bool guiHide(const clap::clap_plugin_t* p) { return self(p).editor().hide(); }

constexpr clap::clap_plugin_gui_t kGui{guiIsApiSupported, guiPreferredApi, guiCreate,       guiDestroy,    guiSetScale,
                                       guiGetSize,        guiCanResize,    guiResizeHints,  guiAdjustSize, guiSetSize,
                                       guiSetParent,      guiSetTransient, guiSuggestTitle, guiShow,       guiHide};

// ---- the host's timer and file watching, for the editor on Linux ----

void onTimer(const clap::clap_plugin_t* p, clap::clap_id id) {
    if (self(p).editor().ownsTimer(id)) self(p).editorTick();
}

void onFd(const clap::clap_plugin_t* p, int fd, clap::clap_posix_fd_flags_t) {
    if (self(p).editor().ownsFd(fd)) self(p).editorTick();
}

constexpr clap::clap_plugin_timer_support_t kTimerSupport{onTimer};
constexpr clap::clap_plugin_posix_fd_support_t kPosixFdSupport{onFd};

struct Extension {
    const char* id;
    const void* table;
};

constexpr Extension kExtensions[] = {
    {clap::CLAP_EXT_PARAMS, &kParams},
    {clap::CLAP_EXT_STATE, &kState},
    {clap::CLAP_EXT_AUDIO_PORTS, &kAudioPorts},
    {clap::CLAP_EXT_NOTE_PORTS, &kNotePorts},
    {clap::CLAP_EXT_LATENCY, &kLatency},
    {clap::CLAP_EXT_GUI, &kGui},
    {clap::CLAP_EXT_TIMER_SUPPORT, &kTimerSupport},
    {clap::CLAP_EXT_POSIX_FD_SUPPORT, &kPosixFdSupport},
};

}  // namespace

const void* findExtension(const char* id) {
    if (!id) return nullptr;
    for (const Extension& e : kExtensions)
        if (std::strcmp(id, e.id) == 0) return e.table;
    return nullptr;
}

}  // namespace Clap
