// CLAP byte streams, through which the state extension saves and loads.
// Either side may move fewer bytes than asked in one call, so both reading
// and writing loop until done.
//
// Ownership: the host's; valid only during the save or load call.
#pragma once

#include "formats/clap/api/base.h"

namespace clap {

struct clap_istream {
    void* ctx;  // the host's
    /// Bytes read; 0 at the end of the stream, -1 on a read error.
    int64_t (*read)(const clap_istream* stream, void* buffer, uint64_t size);
};
using clap_istream_t = clap_istream;

struct clap_ostream {
    void* ctx;  // the host's
    /// Bytes written, possibly fewer than size; -1 on a write error.
    int64_t (*write)(const clap_ostream* stream, const void* buffer, uint64_t size);
};
using clap_ostream_t = clap_ostream;

static_assert(sizeof(clap_istream) == 16 && sizeof(clap_ostream) == 16);

}  // namespace clap
