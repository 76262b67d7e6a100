// EventQueue: the events a host hands over for one block, in the order the
// host listed them, each with its frame inside the block. The block driver
// splits the block at their frames and applies them there. Formats translate
// their own event records into HostEvents as they are read, so nothing is
// copied and nothing is allocated on the audio thread.
//
// Threads: audio thread only, for the duration of one process call.
// Ownership: the format owns the queue and whatever host memory it reads.
#pragma once

#include <cstdint>

namespace PlugCore {

struct HostEvent {
    enum class Kind : std::uint8_t {
        Other,      // something the core does not act on
        Midi,       // midi: a status byte and two 7-bit data bytes
        Parameter,  // parameter index takes value (0 to 1, quantised when stored)
    };
    Kind kind = Kind::Other;
    std::uint8_t midi[3] = {};
    std::uint32_t index = 0;
    float value = 0.0f;
};

class EventQueue {
public:
    virtual std::int32_t size() const = 0;
    /// The frame the host gave event i; it may lie before 0 or past the
    /// block. Callers keep 0 <= i < size().
    virtual std::int64_t frame(std::int32_t i) const = 0;
    virtual HostEvent at(std::int32_t i) const = 0;

protected:
    ~EventQueue() = default;
};

}  // namespace PlugCore
