#include "tools/render_tool/midi_file.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace RenderTool {

namespace {

constexpr std::uint32_t kDefaultTempo = 500000;  // microseconds per quarter note: 120 beats per minute
constexpr std::size_t kMaxFileSize = 64u << 20;  // no real MIDI file comes near this

struct TimedMessage {
    std::uint64_t tick;
    std::uint8_t bytes[3];
};

struct TempoChange {
    std::uint64_t tick;
    std::uint32_t microsPerQuarter;
};

std::string hexByte(unsigned v) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", v & 0xFFu);
    return text;
}

// Reads big-endian fields and variable-length numbers from one stretch of
// the file; every failure names the stretch and the file offset.
class Cursor {
public:
    Cursor(const std::uint8_t* file, std::size_t begin, std::size_t end, std::string where)
        : file_(file), pos_(begin), end_(end), where_(std::move(where)) {}

    bool atEnd() const { return pos_ >= end_; }
    std::size_t position() const { return pos_; }

    std::uint8_t peek() const {
        if (atEnd()) fail("ends in the middle of an event");
        return file_[pos_];
    }
    std::uint8_t byte() {
        const std::uint8_t b = peek();
        ++pos_;
        return b;
    }
    std::uint32_t bigEndian(int bytes) {
        std::uint32_t v = 0;
        for (int i = 0; i < bytes; ++i) v = v << 8 | byte();
        return v;
    }
    // At most four bytes, seven bits each, the last with its top bit clear.
    std::uint32_t varLength() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            const std::uint8_t b = byte();
            v = v << 7 | (b & 0x7Fu);
            if (!(b & 0x80)) return v;
        }
        fail("variable-length number longer than four bytes");
    }
    void skip(std::uint32_t bytes) {
        if (bytes > end_ - pos_) fail("an event of " + std::to_string(bytes) + " bytes runs past the end");
        pos_ += bytes;
    }
    [[noreturn]] void fail(const std::string& what) const {
        throw MidiFileError(where_ + " at byte " + std::to_string(pos_) + ": " + what);
    }

private:
    const std::uint8_t* file_;
    std::size_t pos_;
    std::size_t end_;
    std::string where_;
};

struct Header {
    int format;
    int tracks;
    int ticksPerQuarter;    // 0 with an SMPTE division
    double ticksPerSecond;  // SMPTE only
};

double smpteFramesPerSecond(int code, const Cursor& c) {
    switch (code) {
    case 24: return 24.0;
    case 25: return 25.0;
    case 29: return 30000.0 / 1001.0;  // drop-frame
    case 30: return 30.0;
    default: c.fail("SMPTE division with an unknown frame rate " + std::to_string(code));
    }
}

Header readHeader(const std::vector<std::uint8_t>& file, std::size_t& next) {
    if (file.size() < 14 || !std::equal(file.begin(), file.begin() + 4, "MThd"))
        throw MidiFileError("not a standard MIDI file (no MThd header)");
    Cursor c(file.data(), 4, file.size(), "header");
    const std::uint32_t length = c.bigEndian(4);
    if (length < 6) c.fail("header chunk of " + std::to_string(length) + " bytes is too short");
    if (length > file.size() - 8) c.fail("header chunk runs past the end of the file");
    Header h{};
    h.format = static_cast<int>(c.bigEndian(2));
    h.tracks = static_cast<int>(c.bigEndian(2));
    const std::uint32_t division = c.bigEndian(2);
    if (h.format == 2) c.fail("format 2 (independent sequences) is not supported");
    if (h.format > 2) c.fail("unknown format " + std::to_string(h.format));
    if (h.tracks == 0) c.fail("the header announces no tracks");
    if (h.format == 0 && h.tracks != 1)
        c.fail("a format 0 file must have one track, this one announces " + std::to_string(h.tracks));
    if (division & 0x8000) {
        const int code = -static_cast<std::int8_t>(division >> 8);
        const int ticksPerFrame = static_cast<int>(division & 0xFF);
        if (ticksPerFrame == 0) c.fail("SMPTE division with zero ticks per frame");
        h.ticksPerSecond = smpteFramesPerSecond(code, c) * ticksPerFrame;
    } else {
        if (division == 0) c.fail("division of zero ticks per quarter note");
        h.ticksPerQuarter = static_cast<int>(division);
    }
    next = 8 + length;
    return h;
}

int dataBytes(std::uint8_t status) {
    const std::uint8_t kind = status & 0xF0;
    return (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
}

void readMeta(Cursor& c, std::uint64_t tick, std::vector<TempoChange>& tempi) {
    const std::uint8_t type = c.byte();
    const std::uint32_t length = c.varLength();
    if (type != 0x51) {
        c.skip(length);
        return;
    }
    if (length != 3) c.fail("tempo event of " + std::to_string(length) + " bytes instead of 3");
    const std::uint32_t tempo = c.bigEndian(3);
    if (tempo == 0) c.fail("tempo of zero microseconds per quarter note");
    tempi.push_back({tick, tempo});
}

// Reads one track chunk; returns the tick at which it ends. A track without an
// end-of-track event ends with its chunk.
std::uint64_t readTrack(Cursor& c, std::vector<TimedMessage>& out, std::vector<TempoChange>& tempi) {
    std::uint64_t tick = 0;
    std::uint8_t running = 0;
    while (!c.atEnd()) {
        tick += c.varLength();
        std::uint8_t status = c.peek();
        if (status < 0x80) {
            if (!running) c.fail("data byte " + hexByte(status) + " without a running status");
            status = running;
        } else {
            c.byte();
        }
        if (status < 0xF0) {
            running = status;
            TimedMessage m{tick, {status, 0, 0}};
            for (int i = 1; i <= dataBytes(status); ++i) {
                const std::uint8_t data = c.byte();
                if (data >= 0x80) c.fail("data byte " + hexByte(data) + " of a channel message is above 0x7F");
                m.bytes[i] = data;
            }
            out.push_back(m);
        } else if (status == 0xF0 || status == 0xF7) {
            c.skip(c.varLength());
        } else if (status == 0xFF) {
            if (c.peek() == 0x2F) return tick;  // end of track: anything after it is not part of the track
            readMeta(c, tick, tempi);
        } else {
            c.fail("status byte " + hexByte(status) + " has no place in a MIDI file");
        }
    }
    return tick;
}

// Ticks to microseconds through the tempo map (or the SMPTE clock).
class Clock {
public:
    Clock(const Header& h, std::vector<TempoChange> tempi) : header_(h) {
        std::stable_sort(tempi.begin(), tempi.end(),
                         [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
        segments_.push_back({0, 0.0L, kDefaultTempo});
        for (const TempoChange& t : tempi) {
            const Segment& last = segments_.back();
            segments_.push_back({t.tick, micros(last, t.tick), t.microsPerQuarter});
        }
    }

    long double microsAt(std::uint64_t tick) const {
        if (header_.ticksPerQuarter == 0) return static_cast<long double>(tick) * 1e6L / header_.ticksPerSecond;
        // The last segment starting at or before tick.
        auto after = std::upper_bound(segments_.begin(), segments_.end(), tick,
                                      [](std::uint64_t t, const Segment& s) { return t < s.tick; });
        return micros(*std::prev(after), tick);
    }

private:
    struct Segment {
        std::uint64_t tick;
        long double micros;
        std::uint32_t tempo;
    };
    long double micros(const Segment& s, std::uint64_t tick) const {
        return s.micros + static_cast<long double>(tick - s.tick) * s.tempo / header_.ticksPerQuarter;
    }

    Header header_;
    std::vector<Segment> segments_;
};

std::int64_t frameAt(const Clock& clock, std::uint64_t tick, double sampleRate) {
    const long double frame = clock.microsAt(tick) * sampleRate / 1e6L;
    if (!(frame < 0x1p62L)) throw MidiFileError("the file lasts too long to render");
    return static_cast<std::int64_t>(std::llround(static_cast<double>(frame)));
}

}  // namespace

MidiSequence parseMidiFile(const std::vector<std::uint8_t>& file, double sampleRate) {
    if (!(sampleRate > 0)) throw MidiFileError("the sample rate must be positive");
    std::size_t next = 0;
    const Header header = readHeader(file, next);
    std::vector<TimedMessage> messages;
    std::vector<TempoChange> tempi;
    std::uint64_t endTick = 0;
    for (int track = 1; track <= header.tracks;) {
        if (file.size() - next < 8)
            throw MidiFileError("the file ends after " + std::to_string(track - 1) + " of the " +
                                std::to_string(header.tracks) + " tracks its header announces");
        Cursor chunk(file.data(), next + 4, next + 8, "track " + std::to_string(track));
        const std::uint32_t length = chunk.bigEndian(4);
        const bool isTrack = std::equal(file.begin() + next, file.begin() + next + 4, "MTrk");
        next += 8;
        if (length > file.size() - next)
            chunk.fail("chunk of " + std::to_string(length) + " bytes runs past the end of the file");
        if (isTrack) {
            Cursor c(file.data(), next, next + length, "track " + std::to_string(track));
            endTick = std::max(endTick, readTrack(c, messages, tempi));
            ++track;
        }  // chunks of other kinds are skipped, as the format asks
        next += length;
    }
    // Tracks were read one after another, so a stable sort keeps file order,
    // and lower tracks first, among messages at the same tick.
    std::stable_sort(messages.begin(), messages.end(),
                     [](const TimedMessage& a, const TimedMessage& b) { return a.tick < b.tick; });
    const Clock clock(header, std::move(tempi));
    MidiSequence sequence;
    sequence.messages.reserve(messages.size());
    for (const TimedMessage& m : messages)
        sequence.messages.push_back({frameAt(clock, m.tick, sampleRate), {m.bytes[0], m.bytes[1], m.bytes[2]}});
    sequence.endFrame = frameAt(clock, endTick, sampleRate);
    return sequence;
}

MidiSequence readMidiFile(const std::string& path, double sampleRate) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw MidiFileError("cannot open " + path);
    std::vector<std::uint8_t> bytes;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.insert(bytes.end(), buffer, buffer + in.gcount());
        if (bytes.size() > kMaxFileSize) throw MidiFileError(path + " is too large for a MIDI file");
    }
    if (in.bad()) throw MidiFileError("cannot read " + path);
    return parseMidiFile(bytes, sampleRate);
}

}  // namespace RenderTool
