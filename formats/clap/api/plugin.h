// CLAP module entry, plug-in factory, plug-in and host records.
//
// Threads, as the interface assigns them:
// - entry init/deinit: any one thread at a time, never alongside any other
//   call into the module; get_factory and every factory function: any thread.
// - plug-in init, destroy, activate, deactivate, on_main_thread: main thread.
// - start_processing, stop_processing, reset, process: audio thread, which
//   may be a different OS thread from one call to the next but is never two
//   at once for one instance.
// - get_extension on either side: any thread, and only from init onwards.
//
// Ownership: descriptors and the factory are the module's and stay valid
// until deinit. A clap_plugin is the module's until destroy; the clap_host
// is the host's and outlives destroy.
#pragma once

#include <cstddef>

#include "formats/clap/api/process.h"

namespace clap {

struct clap_plugin_descriptor {
    clap_version_t clap_version;
    const char* id;    // mandatory, matched exactly by create_plugin
    const char* name;  // mandatory
    const char* vendor;
    const char* url;
    const char* manual_url;
    const char* support_url;
    const char* version;
    const char* description;
    const char* const* features;  // null-terminated
};
using clap_plugin_descriptor_t = clap_plugin_descriptor;

struct clap_plugin {
    const clap_plugin_descriptor_t* desc;
    void* plugin_data;  // the plug-in's
    /// After creation; false means the host destroys the instance. The
    /// first call where the host and its extensions may be used.
    bool (*init)(const clap_plugin* plugin);
    void (*destroy)(const clap_plugin* plugin);  // only while deactivated
    /// Block sizes lie in [min_frames_count, max_frames_count] within [1, INT32_MAX].
    bool (*activate)(const clap_plugin* plugin, double sample_rate, uint32_t min_frames_count,
                     uint32_t max_frames_count);
    void (*deactivate)(const clap_plugin* plugin);
    bool (*start_processing)(const clap_plugin* plugin);
    void (*stop_processing)(const clap_plugin* plugin);
    /// Clears the signal state (delay lines, smoothing); values stay.
    void (*reset)(const clap_plugin* plugin);
    clap_process_status (*process)(const clap_plugin* plugin, const clap_process_t* process);
    const void* (*get_extension)(const clap_plugin* plugin, const char* id);
    void (*on_main_thread)(const clap_plugin* plugin);  // answers request_callback
};
using clap_plugin_t = clap_plugin;

struct clap_host {
    clap_version_t clap_version;
    void* host_data;  // the host's
    const char* name;
    const char* vendor;
    const char* url;
    const char* version;
    const void* (*get_extension)(const clap_host* host, const char* extension_id);
    // Requests, callable from any thread; the host may answer them late or never.
    void (*request_restart)(const clap_host* host);   // deactivate, then activate again
    void (*request_process)(const clap_host* host);   // activate and start processing
    void (*request_callback)(const clap_host* host);  // call on_main_thread
};
using clap_host_t = clap_host;

inline constexpr char CLAP_PLUGIN_FACTORY_ID[] = "clap.plugin-factory";

struct clap_plugin_factory {
    uint32_t (*get_plugin_count)(const clap_plugin_factory* factory);
    const clap_plugin_descriptor_t* (*get_plugin_descriptor)(const clap_plugin_factory* factory, uint32_t index);
    /// Null on an unknown id. The plug-in may not call the host from here.
    const clap_plugin_t* (*create_plugin)(const clap_plugin_factory* factory, const clap_host_t* host,
                                          const char* plugin_id);
};
using clap_plugin_factory_t = clap_plugin_factory;

/// What the module exports, as a data symbol named `clap_entry` with C
/// linkage. Since 1.2 init and deinit may come more than once, in pairs;
/// only the first init and the last deinit may do work.
struct clap_plugin_entry {
    clap_version_t clap_version;
    bool (*init)(const char* plugin_path);  // fast, and never shows anything
    void (*deinit)();
    const void* (*get_factory)(const char* factory_id);  // null for unknown ids
};
using clap_plugin_entry_t = clap_plugin_entry;

// Descriptor features the effect lists.
inline constexpr char CLAP_PLUGIN_FEATURE_AUDIO_EFFECT[] = "audio-effect";
inline constexpr char CLAP_PLUGIN_FEATURE_CHORUS[] = "chorus";
inline constexpr char CLAP_PLUGIN_FEATURE_FLANGER[] = "flanger";
inline constexpr char CLAP_PLUGIN_FEATURE_STEREO[] = "stereo";

static_assert(sizeof(clap_plugin_descriptor) == 88 && offsetof(clap_plugin_descriptor, id) == 16 &&
              offsetof(clap_plugin_descriptor, version) == 64 && offsetof(clap_plugin_descriptor, features) == 80);
static_assert(sizeof(clap_plugin) == 96 && offsetof(clap_plugin, init) == 16 && offsetof(clap_plugin, process) == 72 &&
              offsetof(clap_plugin, on_main_thread) == 88);
static_assert(sizeof(clap_host) == 88 && offsetof(clap_host, host_data) == 16 &&
              offsetof(clap_host, get_extension) == 56 && offsetof(clap_host, request_callback) == 80);
static_assert(sizeof(clap_plugin_factory) == 24);
static_assert(sizeof(clap_plugin_entry) == 40 && offsetof(clap_plugin_entry, init) == 16 &&
              offsetof(clap_plugin_entry, get_factory) == 32);

}  // namespace clap
