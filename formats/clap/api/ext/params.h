// CLAP params extension: the parameter list, value text, and the flush that
// applies host values while no audio is processed; plus the host side that
// the plug-in tells of changes.
//
// Threads: the plug-in functions run on the main thread, except flush, which
// runs on the audio thread while the plug-in is active (never alongside
// process) and on the main thread otherwise. Host rescan and clear: main
// thread; request_flush: any thread but the audio thread.
#pragma once

#include <cstddef>

#include "formats/clap/api/plugin.h"

namespace clap {

inline constexpr char CLAP_EXT_PARAMS[] = "clap.params";

// clap_param_info_flags
using clap_param_info_flags = uint32_t;
/// Hosts truncate the value to an integer.
inline constexpr clap_param_info_flags CLAP_PARAM_IS_STEPPED = 1u << 0;
inline constexpr clap_param_info_flags CLAP_PARAM_IS_READONLY = 1u << 3;
inline constexpr clap_param_info_flags CLAP_PARAM_IS_AUTOMATABLE = 1u << 5;
/// Requires CLAP_PARAM_IS_STEPPED, and a text for every step. New in 1.2:
/// 1.1 hosts do not know it and show the steps as a stepped number.
inline constexpr clap_param_info_flags CLAP_PARAM_IS_ENUM = 1u << 16;

struct clap_param_info {
    clap_id id;  // stable across versions
    clap_param_info_flags flags;
    /// Handed back in events so the plug-in can skip a lookup; the host may
    /// also pass null instead. Invalid after rescan(ALL) or destroy.
    void* cookie;
    char name[CLAP_NAME_SIZE];
    char module[CLAP_PATH_SIZE];  // '/'-separated group path, may be empty
    double min_value;             // finite
    double max_value;             // finite
    double default_value;         // within [min_value, max_value]
};
using clap_param_info_t = clap_param_info;

struct clap_plugin_params {
    uint32_t (*count)(const clap_plugin_t* plugin);
    bool (*get_info)(const clap_plugin_t* plugin, uint32_t param_index, clap_param_info_t* param_info);
    bool (*get_value)(const clap_plugin_t* plugin, clap_id param_id, double* out_value);
    /// Writes a zero-terminated UTF-8 text of at most out_buffer_capacity bytes.
    bool (*value_to_text)(const clap_plugin_t* plugin, clap_id param_id, double value, char* out_buffer,
                          uint32_t out_buffer_capacity);
    bool (*text_to_value)(const clap_plugin_t* plugin, clap_id param_id, const char* param_value_text,
                          double* out_value);
    void (*flush)(const clap_plugin_t* plugin, const clap_input_events_t* in, const clap_output_events_t* out);
};
using clap_plugin_params_t = clap_plugin_params;

// clap_param_rescan_flags
using clap_param_rescan_flags = uint32_t;
/// Values changed (a preset or state load); the host does not record them.
inline constexpr clap_param_rescan_flags CLAP_PARAM_RESCAN_VALUES = 1u << 0;
inline constexpr clap_param_rescan_flags CLAP_PARAM_RESCAN_TEXT = 1u << 1;
inline constexpr clap_param_rescan_flags CLAP_PARAM_RESCAN_INFO = 1u << 2;
/// Everything, cookies included; only while deactivated.
inline constexpr clap_param_rescan_flags CLAP_PARAM_RESCAN_ALL = 1u << 3;

// clap_param_clear_flags
using clap_param_clear_flags = uint32_t;
inline constexpr clap_param_clear_flags CLAP_PARAM_CLEAR_ALL = 1u << 0;
inline constexpr clap_param_clear_flags CLAP_PARAM_CLEAR_AUTOMATIONS = 1u << 1;
inline constexpr clap_param_clear_flags CLAP_PARAM_CLEAR_MODULATIONS = 1u << 2;

struct clap_host_params {
    void (*rescan)(const clap_host_t* host, clap_param_rescan_flags flags);
    void (*clear)(const clap_host_t* host, clap_id param_id, clap_param_clear_flags flags);
    /// Asks for a process() or params flush() soon; the host may ignore it.
    void (*request_flush)(const clap_host_t* host);
};
using clap_host_params_t = clap_host_params;

static_assert(sizeof(clap_param_info) == 1320 && offsetof(clap_param_info, cookie) == 8 &&
              offsetof(clap_param_info, name) == 16 && offsetof(clap_param_info, module) == 272 &&
              offsetof(clap_param_info, min_value) == 1296 && offsetof(clap_param_info, default_value) == 1312);
static_assert(sizeof(clap_plugin_params) == 48 && offsetof(clap_plugin_params, flush) == 40);
static_assert(sizeof(clap_host_params) == 24);

}  // namespace clap
