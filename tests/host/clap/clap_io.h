// What a CLAP test host hands a plug-in besides itself: stereo audio
// buffers, input and output event lists, and state streams held in memory,
// each with the knobs a test needs to reach the awkward cases (partial
// reads, failing streams, refused events).
//
// Threads: one object is used by one thread at a time; the plug-in calls
// back into it only inside the call it was handed to. Ownership: the object
// owns every byte and pointer it hands out, so it must outlive that call and
// must not move (the records point into it), hence no copies or moves.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "formats/clap/api/clap.h"

namespace ClapHost {

inline constexpr std::size_t kUnlimited = std::numeric_limits<std::size_t>::max();

/// One stereo input port and one stereo output port, 32- or 64-bit. In place,
/// the output channels are the input channels, as a host may pass them.
class StereoBuffers {
public:
    enum class Precision { Float32, Float64 };
    StereoBuffers(std::uint32_t frames, Precision precision = Precision::Float32, bool inPlace = false);
    StereoBuffers(const StereoBuffers&) = delete;
    StereoBuffers& operator=(const StereoBuffers&) = delete;

    std::uint32_t frames() const { return frameCount; }
    /// Channel 0 or 1 of the matching sample type; null for the other type.
    template <typename T>
    T* input(int channel) {
        return pointers<T>()[channel];
    }
    template <typename T>
    T* output(int channel) {
        return pointers<T>()[2 + channel];
    }
    const clap::clap_audio_buffer* inputs() const { return &in; }
    clap::clap_audio_buffer* outputs() { return &out; }

private:
    template <typename T>
    T** pointers() {
        if constexpr (sizeof(T) == sizeof(float)) return p32;
        else
            return p64;
    }

    std::uint32_t frameCount;
    std::vector<float> f32[4];  // inputs 0 and 1, outputs 2 and 3
    std::vector<double> f64[4];
    float* p32[4] = {};
    double* p64[4] = {};
    clap::clap_audio_buffer in{};
    clap::clap_audio_buffer out{};
};

// Core-space events with every field the effect reads set; tests change
// space_id or flags afterwards for the odd cases.
clap::clap_event_param_value paramValue(std::uint32_t time, clap::clap_id id, double value, void* cookie = nullptr);
clap::clap_event_param_gesture gesture(std::uint32_t time, clap::clap_id id, bool begin);
/// type is CLAP_EVENT_NOTE_ON, _OFF, _CHOKE or _END.
clap::clap_event_note note(std::uint16_t type, std::uint32_t time, std::int16_t channel, std::int16_t key,
                           double velocity = 1.0);
clap::clap_event_midi midi(std::uint32_t time, std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
/// A playing or stopped transport at the given tempo and beat position.
clap::clap_event_transport transport(double tempo, bool playing, double beats = 0.0);

/// Events the host delivers, any type and size, handed out sorted by time;
/// events at the same frame keep the order they were added in.
class InputEvents {
public:
    InputEvents();
    InputEvents(const InputEvents&) = delete;
    InputEvents& operator=(const InputEvents&) = delete;

    /// Copies header.size bytes from the event the header starts.
    void add(const clap::clap_event_header& header);
    template <typename Event>
    void add(const Event& event) {
        add(event.header);
    }
    void clear() { events.clear(); }
    std::size_t size() const { return events.size(); }
    const clap::clap_input_events* list();

    /// Out-of-range gets the plug-in made; each answered with null.
    int badIndexes = 0;

private:
    friend struct EventCallbacks;
    std::vector<std::vector<std::uint64_t>> events;  // 8-byte words keep every event aligned
    clap::clap_input_events table{};
};

/// Collects what the plug-in pushes, and what it got wrong in pushing it.
class OutputEvents {
public:
    OutputEvents();
    OutputEvents(const OutputEvents&) = delete;
    OutputEvents& operator=(const OutputEvents&) = delete;

    const clap::clap_output_events* list() const { return &table; }
    std::size_t size() const { return events.size(); }
    const clap::clap_event_header& header(std::size_t index) const {
        return *reinterpret_cast<const clap::clap_event_header*>(events[index].data());
    }
    /// A copy of event `index` as the given record; check header(index).type first.
    template <typename Event>
    Event as(std::size_t index) const {
        Event event{};
        std::memcpy(&event, events[index].data(), std::min<std::size_t>(sizeof event, header(index).size));
        return event;
    }
    /// The types in push order, for checking a sequence such as begin, value, end.
    std::vector<std::uint16_t> types() const;
    void clear();

    /// Pushes beyond this many are refused, as from a full host queue.
    std::size_t capacity = kUnlimited;
    int refused = 0;
    /// Pushes out of time order, of null events, or of a size that does not
    /// match their core type. Each is still stored unless it is too short to be an event.
    std::vector<std::string> problems;

private:
    friend struct EventCallbacks;
    std::vector<std::vector<std::uint64_t>> events;
    clap::clap_output_events table{};
};

/// A process record over the given buffers and lists. The transport is the
/// one at frame 0, or null for a free-running host.
clap::clap_process makeProcess(StereoBuffers& audio, std::uint32_t frames, InputEvents& in, OutputEvents& out,
                               const clap::clap_event_transport* transport = nullptr, std::int64_t steadyTime = -1);

/// State bytes for the plug-in to load. An empty vector is the "0 bytes,
/// then end of stream" case: the first read answers 0.
class InputStream {
public:
    explicit InputStream(std::vector<std::uint8_t> bytes);
    InputStream(const InputStream&) = delete;
    InputStream& operator=(const InputStream&) = delete;

    const clap::clap_istream* stream() const { return &table; }
    std::size_t position() const { return offset; }

    /// Most bytes one read moves (1: a byte at a time).
    std::size_t chunk = kUnlimited;
    /// The read that reaches this offset answers -1; bytes before it still arrive.
    std::size_t errorAt = kUnlimited;
    /// The stream ends here (reads answer 0) though bytes remain: a truncated state.
    std::size_t endAt = kUnlimited;
    /// Reads after one that answered 0 or -1. A reader that keeps going past
    /// the end would never stop, so after a million of them the run aborts.
    int readsAfterEnd = 0;

private:
    friend struct StreamCallbacks;
    std::int64_t read(void* buffer, std::uint64_t size);

    std::vector<std::uint8_t> bytes;
    std::size_t offset = 0;
    bool ended = false;
    clap::clap_istream table{};
};

/// Collects the state the plug-in saves.
class OutputStream {
public:
    OutputStream();
    OutputStream(const OutputStream&) = delete;
    OutputStream& operator=(const OutputStream&) = delete;

    const clap::clap_ostream* stream() const { return &table; }

    /// Most bytes one write takes (1: a byte at a time).
    std::size_t chunk = kUnlimited;
    /// The write that reaches this offset answers -1; bytes before it are kept.
    std::size_t errorAt = kUnlimited;
    std::vector<std::uint8_t> bytes;

private:
    friend struct StreamCallbacks;
    std::int64_t write(const void* buffer, std::uint64_t size);

    clap::clap_ostream table{};
};

}  // namespace ClapHost
