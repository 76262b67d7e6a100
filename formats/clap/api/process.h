// CLAP process call: one block of audio with the events inside it.
//
// Threads: the audio thread. Ownership: every pointer in clap_process is the
// host's and valid only until process() returns.
#pragma once

#include <cstddef>

#include "formats/clap/api/events.h"

namespace clap {

/// One port's channels: data32 or data64 is set, as the port's flags allow.
/// Input and output may point to the same channels (in-place processing).
struct clap_audio_buffer {
    float** data32;
    double** data64;
    uint32_t channel_count;
    uint32_t latency;        // to or from the audio interface
    uint64_t constant_mask;  // bit n: channel n holds one value throughout
};
using clap_audio_buffer_t = clap_audio_buffer;

using clap_process_status = int32_t;
inline constexpr clap_process_status CLAP_PROCESS_ERROR = 0;  // discard the output
inline constexpr clap_process_status CLAP_PROCESS_CONTINUE = 1;
inline constexpr clap_process_status CLAP_PROCESS_CONTINUE_IF_NOT_QUIET = 2;
inline constexpr clap_process_status CLAP_PROCESS_TAIL = 3;  // go on for the tail extension's length
inline constexpr clap_process_status CLAP_PROCESS_SLEEP = 4;

struct clap_process {
    int64_t steady_time;  // -1 when the host keeps none
    uint32_t frames_count;
    const clap_event_transport_t* transport;  // null in a free-running host
    const clap_audio_buffer_t* audio_inputs;  // one per audio port, in port order
    clap_audio_buffer_t* audio_outputs;
    uint32_t audio_inputs_count;
    uint32_t audio_outputs_count;
    const clap_input_events_t* in_events;
    const clap_output_events_t* out_events;
};
using clap_process_t = clap_process;

static_assert(sizeof(clap_audio_buffer) == 32 && offsetof(clap_audio_buffer, channel_count) == 16 &&
              offsetof(clap_audio_buffer, constant_mask) == 24);
static_assert(sizeof(clap_process) == 64 && offsetof(clap_process, frames_count) == 8 &&
              offsetof(clap_process, transport) == 16 && offsetof(clap_process, audio_inputs_count) == 40 &&
              offsetof(clap_process, in_events) == 48 && offsetof(clap_process, out_events) == 56);

}  // namespace clap
