// The extensions the effect offers a CLAP host: params, state, audio and
// note ports, latency, gui, and the timer and file callbacks its editor runs
// on under Linux.
//
// Threads: any (the tables are constant).
#pragma once

namespace Clap {

/// The extension table for id, or null for one the effect does not offer.
const void* findExtension(const char* id);

}  // namespace Clap
