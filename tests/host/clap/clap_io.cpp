#include "tests/host/clap/clap_io.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace ClapHost {

StereoBuffers::StereoBuffers(std::uint32_t frames, Precision precision, bool inPlace) : frameCount(frames) {
    const int owned = inPlace ? 2 : 4;
    for (int channel = 0; channel < owned; ++channel) {
        if (precision == Precision::Float32) {
            f32[channel].assign(frames, 0.0f);
            p32[channel] = f32[channel].data();
        } else {
            f64[channel].assign(frames, 0.0);
            p64[channel] = f64[channel].data();
        }
    }
    if (inPlace) {
        for (int channel : {0, 1}) {
            p32[2 + channel] = p32[channel];
            p64[2 + channel] = p64[channel];
        }
    }
    const bool single = precision == Precision::Float32;
    in = {single ? p32 : nullptr, single ? nullptr : p64, 2, 0, 0};
    out = {single ? p32 + 2 : nullptr, single ? nullptr : p64 + 2, 2, 0, 0};
}

namespace {

clap::clap_event_header coreHeader(std::uint32_t size, std::uint32_t time, std::uint16_t type) {
    return {size, time, clap::CLAP_CORE_EVENT_SPACE_ID, type, 0};
}

/// The record size each core type must carry; 0 where the kit does not know it.
std::uint32_t recordSize(std::uint16_t type) {
    switch (type) {
    case clap::CLAP_EVENT_NOTE_ON:
    case clap::CLAP_EVENT_NOTE_OFF:
    case clap::CLAP_EVENT_NOTE_CHOKE:
    case clap::CLAP_EVENT_NOTE_END: return sizeof(clap::clap_event_note);
    case clap::CLAP_EVENT_PARAM_VALUE:
    case clap::CLAP_EVENT_PARAM_MOD: return sizeof(clap::clap_event_param_value);
    case clap::CLAP_EVENT_PARAM_GESTURE_BEGIN:
    case clap::CLAP_EVENT_PARAM_GESTURE_END: return sizeof(clap::clap_event_param_gesture);
    case clap::CLAP_EVENT_TRANSPORT: return sizeof(clap::clap_event_transport);
    case clap::CLAP_EVENT_MIDI: return sizeof(clap::clap_event_midi);
    default: return 0;
    }
}

/// A header claiming less than itself still gets the whole header copied, so
/// a test can hand the plug-in such an event without the list reading past it.
std::vector<std::uint64_t> copyEvent(const clap::clap_event_header& header) {
    const std::size_t bytes = std::max<std::size_t>(header.size, sizeof header);
    std::vector<std::uint64_t> words((bytes + 7) / 8);
    std::memcpy(words.data(), &header, bytes);
    return words;
}

std::uint32_t timeOf(const std::vector<std::uint64_t>& event) {
    return reinterpret_cast<const clap::clap_event_header*>(event.data())->time;
}

}  // namespace

clap::clap_event_param_value paramValue(std::uint32_t time, clap::clap_id id, double value, void* cookie) {
    return {coreHeader(sizeof(clap::clap_event_param_value), time, clap::CLAP_EVENT_PARAM_VALUE),
            id,
            cookie,
            -1,
            -1,
            -1,
            -1,
            value};
}

clap::clap_event_param_gesture gesture(std::uint32_t time, clap::clap_id id, bool begin) {
    const auto type = begin ? clap::CLAP_EVENT_PARAM_GESTURE_BEGIN : clap::CLAP_EVENT_PARAM_GESTURE_END;
    return {coreHeader(sizeof(clap::clap_event_param_gesture), time, type), id};
}

clap::clap_event_note note(std::uint16_t type, std::uint32_t time, std::int16_t channel, std::int16_t key,
                           double velocity) {
    return {coreHeader(sizeof(clap::clap_event_note), time, type), -1, 0, channel, key, velocity};
}

clap::clap_event_midi midi(std::uint32_t time, std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    return {coreHeader(sizeof(clap::clap_event_midi), time, clap::CLAP_EVENT_MIDI), 0, {status, data1, data2}};
}

clap::clap_event_transport transport(double tempo, bool playing, double beats) {
    clap::clap_event_transport t{};
    t.header = coreHeader(sizeof t, 0, clap::CLAP_EVENT_TRANSPORT);
    t.flags = clap::CLAP_TRANSPORT_HAS_TEMPO | clap::CLAP_TRANSPORT_HAS_BEATS_TIMELINE |
              clap::CLAP_TRANSPORT_HAS_SECONDS_TIMELINE | clap::CLAP_TRANSPORT_HAS_TIME_SIGNATURE |
              (playing ? clap::CLAP_TRANSPORT_IS_PLAYING : 0u);
    t.tempo = tempo;
    t.song_pos_beats = std::llround(beats * double(clap::CLAP_BEATTIME_FACTOR));
    t.song_pos_seconds = std::llround(beats * 60.0 / tempo * double(clap::CLAP_SECTIME_FACTOR));
    const double bar = std::floor(beats / 4.0);
    t.bar_number = static_cast<std::int32_t>(bar);
    t.bar_start = std::llround(bar * 4.0 * double(clap::CLAP_BEATTIME_FACTOR));
    t.tsig_num = 4, t.tsig_denom = 4;
    return t;
}

// The plug-in reaches each list through its ctx pointer.
struct EventCallbacks {
    static std::uint32_t size(const clap::clap_input_events* list) {
        return static_cast<std::uint32_t>(static_cast<InputEvents*>(list->ctx)->events.size());
    }

    static const clap::clap_event_header* get(const clap::clap_input_events* list, std::uint32_t index) {
        auto& self = *static_cast<InputEvents*>(list->ctx);
        if (index >= self.events.size()) {
            ++self.badIndexes;
            return nullptr;
        }
        return reinterpret_cast<const clap::clap_event_header*>(self.events[index].data());
    }

    static bool tryPush(const clap::clap_output_events* list, const clap::clap_event_header* event) {
        auto& self = *static_cast<OutputEvents*>(list->ctx);
        if (!event || event->size < sizeof(clap::clap_event_header)) {
            self.problems.push_back(event ? "event too short: " + std::to_string(event->size) : "null event");
            return false;
        }
        if (self.events.size() >= self.capacity) {
            ++self.refused;
            return false;
        }
        checkPush(self, *event);
        self.events.push_back(copyEvent(*event));
        return true;
    }

    static void checkPush(OutputEvents& self, const clap::clap_event_header& event) {
        const std::string what = "event " + std::to_string(self.events.size()) + " (type " +
                                 std::to_string(event.type) + ", space " + std::to_string(event.space_id) + ")";
        if (!self.events.empty() && event.time < timeOf(self.events.back()))
            self.problems.push_back(what + " pushed out of time order");
        const std::uint32_t expected = recordSize(event.type);
        if (event.space_id == clap::CLAP_CORE_EVENT_SPACE_ID && expected && event.size != expected)
            self.problems.push_back(what + " has size " + std::to_string(event.size) + ", not " +
                                    std::to_string(expected));
    }
};

InputEvents::InputEvents() { table = {this, &EventCallbacks::size, &EventCallbacks::get}; }

void InputEvents::add(const clap::clap_event_header& header) { events.push_back(copyEvent(header)); }

const clap::clap_input_events* InputEvents::list() {
    std::stable_sort(events.begin(), events.end(), [](const auto& a, const auto& b) { return timeOf(a) < timeOf(b); });
    return &table;
}

OutputEvents::OutputEvents() { table = {this, &EventCallbacks::tryPush}; }

std::vector<std::uint16_t> OutputEvents::types() const {
    std::vector<std::uint16_t> result;
    for (std::size_t i = 0; i < events.size(); ++i) result.push_back(header(i).type);
    return result;
}

void OutputEvents::clear() {
    events.clear();
    problems.clear();
    refused = 0;
}

clap::clap_process makeProcess(StereoBuffers& audio, std::uint32_t frames, InputEvents& in, OutputEvents& out,
                               const clap::clap_event_transport* transport, std::int64_t steadyTime) {
    return {steadyTime, frames, transport, audio.inputs(), audio.outputs(), 1, 1, in.list(), out.list()};
}

struct StreamCallbacks {
    static std::int64_t read(const clap::clap_istream* stream, void* buffer, std::uint64_t size) {
        return static_cast<InputStream*>(stream->ctx)->read(buffer, size);
    }
    static std::int64_t write(const clap::clap_ostream* stream, const void* buffer, std::uint64_t size) {
        return static_cast<OutputStream*>(stream->ctx)->write(buffer, size);
    }
};

InputStream::InputStream(std::vector<std::uint8_t> bytes) : bytes(std::move(bytes)) {
    table = {this, &StreamCallbacks::read};
}

std::int64_t InputStream::read(void* buffer, std::uint64_t size) {
    if (ended && ++readsAfterEnd > 1000000) {
        std::fprintf(stderr, "InputStream: a million reads after the end of the stream; the reader never stops\n");
        std::abort();
    }
    if (offset == errorAt) {
        ended = true;
        return -1;
    }
    const std::size_t end = std::min({bytes.size(), endAt, errorAt});
    const std::size_t count = std::min<std::uint64_t>({size, chunk, end - offset});
    if (count == 0) {
        if (size > 0) ended = true;
        return 0;
    }
    std::memcpy(buffer, bytes.data() + offset, count);
    offset += count;
    return static_cast<std::int64_t>(count);
}

OutputStream::OutputStream() { table = {this, &StreamCallbacks::write}; }

std::int64_t OutputStream::write(const void* buffer, std::uint64_t size) {
    if (bytes.size() == errorAt && size > 0) return -1;
    const std::size_t count = std::min<std::uint64_t>({size, chunk, errorAt - bytes.size()});
    const auto* from = static_cast<const std::uint8_t*>(buffer);
    bytes.insert(bytes.end(), from, from + count);
    return static_cast<std::int64_t>(count);
}

}  // namespace ClapHost
