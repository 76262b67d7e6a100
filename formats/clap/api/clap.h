// The CLAP interface as far as this effect and its test host use it: the
// module entry, factory, plug-in and host records, process and events,
// streams and the extensions. Each area has a header of its own; this one
// includes them all.
//
// Declared in namespace clap under the interface's own type and constant
// names, so each can be looked up in the interface's documentation.
#pragma once

#include "formats/clap/api/base.h"
#include "formats/clap/api/events.h"
#include "formats/clap/api/process.h"
#include "formats/clap/api/stream.h"
#include "formats/clap/api/plugin.h"
#include "formats/clap/api/ext/audio_ports.h"
#include "formats/clap/api/ext/gui.h"
#include "formats/clap/api/ext/latency.h"
#include "formats/clap/api/ext/log.h"
#include "formats/clap/api/ext/note_ports.h"
#include "formats/clap/api/ext/params.h"
#include "formats/clap/api/ext/posix_fd_support.h"
#include "formats/clap/api/ext/state.h"
#include "formats/clap/api/ext/tail.h"
#include "formats/clap/api/ext/thread_check.h"
#include "formats/clap/api/ext/timer_support.h"
