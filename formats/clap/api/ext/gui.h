// CLAP gui extension: the editor, embedded in a window the host owns; and
// the host side the editor asks for size, visibility and closing.
//
// Threads: every plug-in function on the main thread. The host functions may
// be called from any thread; off the main thread, true from request_resize
// only means the request was taken.
//
// Order: the documented one is create, set_scale, can_resize, get_size (or
// set_size), set_parent, show. Hosts differ: some call set_parent straight
// after create and ask can_resize, get_resize_hints and get_size after it,
// and some never call set_scale. Each call must work in either order.
#pragma once

#include <cstddef>

#include "formats/clap/api/plugin.h"

namespace clap {

inline constexpr char CLAP_EXT_GUI[] = "clap.gui";

// Window systems. Sizes are physical pixels on both.
inline constexpr char CLAP_WINDOW_API_WIN32[] = "win32";  // embedded with SetParent
inline constexpr char CLAP_WINDOW_API_X11[] = "x11";      // embedded with XEmbed

using clap_hwnd = void*;
/// An X11 Window id. `unsigned long` as Xlib declares it: on Windows it is
/// only 32 bits, which the union's pointer members make up for.
using clap_xwnd = unsigned long;

/// A host window. The interface's other window systems share the union
/// through members this effect never reads.
struct clap_window {
    const char* api;  // one of the CLAP_WINDOW_API_ names
    union {
        clap_xwnd x11;
        clap_hwnd win32;
        void* ptr;
    };
};
using clap_window_t = clap_window;

struct clap_gui_resize_hints {
    bool can_resize_horizontally;
    bool can_resize_vertically;
    bool preserve_aspect_ratio;  // only with both axes resizable
    uint32_t aspect_ratio_width;
    uint32_t aspect_ratio_height;
};
using clap_gui_resize_hints_t = clap_gui_resize_hints;

struct clap_plugin_gui {
    bool (*is_api_supported)(const clap_plugin_t* plugin, const char* api, bool is_floating);
    /// *api must be set to one of the CLAP_WINDOW_API_ constants themselves.
    bool (*get_preferred_api)(const clap_plugin_t* plugin, const char** api, bool* is_floating);
    bool (*create)(const clap_plugin_t* plugin, const char* api, bool is_floating);
    void (*destroy)(const clap_plugin_t* plugin);
    /// 2.0 means 200 %. False when the plug-in takes the scale from the system instead.
    bool (*set_scale)(const clap_plugin_t* plugin, double scale);
    bool (*get_size)(const clap_plugin_t* plugin, uint32_t* width, uint32_t* height);  // only after create
    bool (*can_resize)(const clap_plugin_t* plugin);
    bool (*get_resize_hints)(const clap_plugin_t* plugin, clap_gui_resize_hints_t* hints);
    /// Rounds a proposed size to the nearest usable one; resizes nothing.
    bool (*adjust_size)(const clap_plugin_t* plugin, uint32_t* width, uint32_t* height);
    bool (*set_size)(const clap_plugin_t* plugin, uint32_t width, uint32_t height);
    bool (*set_parent)(const clap_plugin_t* plugin, const clap_window_t* window);
    bool (*set_transient)(const clap_plugin_t* plugin, const clap_window_t* window);  // floating only
    void (*suggest_title)(const clap_plugin_t* plugin, const char* title);            // floating only
    bool (*show)(const clap_plugin_t* plugin);
    bool (*hide)(const clap_plugin_t* plugin);  // keeps the editor's resources
};
using clap_plugin_gui_t = clap_plugin_gui;

struct clap_host_gui {
    void (*resize_hints_changed)(const clap_host_t* host);
    /// True: the host took the size and will not call set_size for it.
    bool (*request_resize)(const clap_host_t* host, uint32_t width, uint32_t height);
    bool (*request_show)(const clap_host_t* host);
    bool (*request_hide)(const clap_host_t* host);
    /// The editor went away by itself; with was_destroyed the host then calls destroy.
    void (*closed)(const clap_host_t* host, bool was_destroyed);
};
using clap_host_gui_t = clap_host_gui;

static_assert(sizeof(clap_window) == 16 && offsetof(clap_window, x11) == 8 && offsetof(clap_window, win32) == 8);
static_assert(sizeof(clap_gui_resize_hints) == 12 && offsetof(clap_gui_resize_hints, preserve_aspect_ratio) == 2 &&
              offsetof(clap_gui_resize_hints, aspect_ratio_width) == 4);
static_assert(sizeof(clap_plugin_gui) == 120 && offsetof(clap_plugin_gui, set_parent) == 80 &&
              offsetof(clap_plugin_gui, show) == 104);
static_assert(sizeof(clap_host_gui) == 40);

}  // namespace clap
