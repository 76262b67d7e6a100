#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <ostream>

#include "tools/render_tool/midi_file.h"

using RenderTool::MidiFileError;
using RenderTool::MidiSequence;
using RenderTool::parseMidiFile;

namespace {

using Bytes = std::vector<std::uint8_t>;

void append(Bytes& to, std::initializer_list<int> bytes) {
    for (int b : bytes) to.push_back(static_cast<std::uint8_t>(b));
}
void appendBig(Bytes& to, std::uint32_t v, int size) {
    for (int i = size - 1; i >= 0; --i) to.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// Builds a file chunk by chunk; track bodies are raw event bytes.
struct Smf {
    Bytes bytes;
    Smf(int format, int tracks, int division) {
        append(bytes, {'M', 'T', 'h', 'd'});
        appendBig(bytes, 6, 4);
        appendBig(bytes, format, 2);
        appendBig(bytes, tracks, 2);
        appendBig(bytes, static_cast<std::uint32_t>(division), 2);
    }
    Smf& chunk(const char* id, const Bytes& body) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(id[i]));
        appendBig(bytes, static_cast<std::uint32_t>(body.size()), 4);
        bytes.insert(bytes.end(), body.begin(), body.end());
        return *this;
    }
    Smf& track(Bytes body, bool endOfTrack = true) {
        if (endOfTrack) append(body, {0x00, 0xFF, 0x2F, 0x00});
        return chunk("MTrk", body);
    }
};

Bytes tempo(int delta, std::uint32_t microsPerQuarter) {
    Bytes b{static_cast<std::uint8_t>(delta), 0xFF, 0x51, 0x03};
    appendBig(b, microsPerQuarter, 3);
    return b;
}
Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct Msg {
    std::int64_t frame;
    int status, data1, data2;
    bool operator==(const Msg&) const = default;
    friend std::ostream& operator<<(std::ostream& o, const Msg& m) {
        return o << "{frame " << m.frame << ": " << std::hex << m.status << ' ' << m.data1 << ' ' << m.data2 << std::dec
                 << '}';
    }
};
std::vector<Msg> messages(const MidiSequence& s) {
    std::vector<Msg> r;
    for (const auto& m : s.messages) r.push_back({m.frame, m.bytes[0], m.bytes[1], m.bytes[2]});
    return r;
}

std::string errorOf(const Bytes& file) {
    try {
        parseMidiFile(file, 48000);
    } catch (const MidiFileError& e) {
        return e.what();
    }
    return "(no error)";
}

// A format 1 file with a tempo map in track 1 and controllers in track 2.
Bytes tempoMapFile() {
    Smf f(1, 2, 480);
    f.track(tempo(0, 500000) + tempo(0x7F, 250000));  // 120 bpm, then 240 bpm from tick 127
    // CC 7 at ticks 0, 127 and 127 + 480, with delta 0x83 0x60 = 480.
    f.track({0x00, 0xB9, 0x07, 0x00, 0x7F, 0x07, 0x40, 0x83, 0x60, 0x07, 0x7F});
    return f.bytes;
}

// ---- reading ---------------------------------------------------------------------------

TEST(MidiFileRead, FormatZeroWithRunningStatusAndDefaultTempo) {
    Smf f(0, 1, 480);
    // Note on at 0; running-status note on with velocity 0 at 480 ticks (0.5 s at 120 bpm).
    f.track({0x00, 0x90, 0x3C, 0x64, 0x83, 0x60, 0x3C, 0x00});
    const MidiSequence s = parseMidiFile(f.bytes, 48000);
    EXPECT_EQ(messages(s), (std::vector<Msg>{{0, 0x90, 0x3C, 0x64}, {24000, 0x90, 0x3C, 0}}));
    EXPECT_EQ(s.endFrame, 24000);
}

TEST(MidiFileRead, TempoMapFromAnotherTrackTimesEveryTrack) {
    const MidiSequence s = parseMidiFile(tempoMapFile(), 44100);
    // 127 ticks at 500000 us/480 ticks = 0.1322917 s; 480 ticks at 250000 us = 0.25 s more.
    const std::int64_t first = std::llround(127 * 500000.0 / 480 * 44100 / 1e6);
    const std::int64_t second = std::llround((127 * 500000.0 / 480 + 250000.0) * 44100 / 1e6);
    EXPECT_EQ(messages(s), (std::vector<Msg>{{0, 0xB9, 7, 0}, {first, 0xB9, 7, 0x40}, {second, 0xB9, 7, 0x7F}}));
}

TEST(MidiFileRead, TempoChangeLaterInTheFileStillAppliesFromItsTick) {
    // Tempo in the last track, controllers in the first: format 1 tempo applies to all tracks.
    Smf f(1, 2, 96);
    f.track({0x60, 0xB0, 0x01, 0x10, 0x60, 0xB0, 0x01, 0x20});  // ticks 96 and 192
    f.track(tempo(0x60, 1000000));                              // 60 bpm from tick 96
    const MidiSequence s = parseMidiFile(f.bytes, 1000);
    EXPECT_EQ(messages(s), (std::vector<Msg>{{500, 0xB0, 1, 0x10}, {1500, 0xB0, 1, 0x20}}));
}

TEST(MidiFileRead, EqualTimesKeepTrackThenFileOrder) {
    Smf f(1, 2, 96);
    f.track({0x10, 0xC0, 0x05, 0x00, 0xC0, 0x06});
    f.track({0x10, 0xB0, 0x07, 0x01});
    const auto m = messages(parseMidiFile(f.bytes, 9600));
    ASSERT_EQ(m.size(), 3u);
    // 16 ticks at 96 a quarter and 120 bpm: 1/12 s.
    EXPECT_EQ(m[0], (Msg{800, 0xC0, 5, 0}));
    EXPECT_EQ(m[1], (Msg{800, 0xC0, 6, 0}));
    EXPECT_EQ(m[2], (Msg{800, 0xB0, 7, 1}));
}

TEST(MidiFileRead, OneDataByteMessagesMetaSysexAndForeignChunks) {
    Smf f(0, 1, 96);
    f.chunk("XFIH", {1, 2, 3});                   // an unknown chunk before the track is skipped
    f.track({0x00, 0xFF, 0x03, 0x02, 'h',  'i',   // track name
             0x00, 0xF0, 0x03, 0x7E, 0x01, 0xF7,  // system exclusive
             0x00, 0xC2, 0x11,                    // program change 17
             0x00, 0xD2, 0x40,                    // channel pressure
             0x00, 0xE2, 0x00, 0x40,              // pitch bend
             0x00, 0xF7, 0x01, 0x55,              // escaped bytes
             0x00, 0xB2, 0x40, 0x7F});
    EXPECT_EQ(messages(parseMidiFile(f.bytes, 48000)),
              (std::vector<Msg>{{0, 0xC2, 0x11, 0}, {0, 0xD2, 0x40, 0}, {0, 0xE2, 0, 0x40}, {0, 0xB2, 0x40, 0x7F}}));
}

TEST(MidiFileRead, SmpteDivisionIgnoresTempo) {
    Smf f(0, 1, (0xE7 << 8) | 40);  // 25 frames per second, 40 ticks per frame: 1000 ticks a second
    f.track(tempo(0, 100000) + Bytes{0x83, 0x74, 0x90, 0x40, 0x40});  // note at tick 500
    EXPECT_EQ(messages(parseMidiFile(f.bytes, 48000)), (std::vector<Msg>{{24000, 0x90, 0x40, 0x40}}));
}

TEST(MidiFileRead, TrackWithoutEndEventEndsWithItsChunk) {
    Smf f(0, 1, 96);
    f.track({0x60, 0x80, 0x3C, 0x00}, /*endOfTrack*/ false);
    const MidiSequence s = parseMidiFile(f.bytes, 9600);
    EXPECT_EQ(messages(s), (std::vector<Msg>{{4800, 0x80, 0x3C, 0}}));
    EXPECT_EQ(s.endFrame, 4800);
}

// ---- malformed files ----------------------------------------------------------------------

TEST(MidiFileErrors, HeaderProblemsAreNamed) {
    EXPECT_NE(errorOf({'R', 'I', 'F', 'F', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96}).find("no MThd header"), std::string::npos);
    EXPECT_NE(errorOf({'M', 'T', 'h', 'd', 0, 0}).find("no MThd header"), std::string::npos);
    EXPECT_NE(errorOf(Smf(2, 1, 96).track({}).bytes).find("format 2"), std::string::npos);
    EXPECT_NE(errorOf(Smf(3, 1, 96).track({}).bytes).find("unknown format 3"), std::string::npos);
    EXPECT_NE(errorOf(Smf(0, 2, 96).track({}).track({}).bytes).find("format 0 file must have one track"),
              std::string::npos);
    EXPECT_NE(errorOf(Smf(1, 0, 96).bytes).find("no tracks"), std::string::npos);
    EXPECT_NE(errorOf(Smf(0, 1, 0).track({}).bytes).find("division of zero"), std::string::npos);
    EXPECT_NE(errorOf(Smf(0, 1, (0xE6 << 8) | 4).track({}).bytes).find("unknown frame rate 26"), std::string::npos);
    Bytes shortHeader = Smf(0, 1, 96).track({}).bytes;
    shortHeader[7] = 5;
    EXPECT_NE(errorOf(shortHeader).find("too short"), std::string::npos);
}

TEST(MidiFileErrors, MissingAndOverlongTracks) {
    EXPECT_EQ(errorOf(Smf(1, 3, 96).track({}).track({}).bytes),
              "the file ends after 2 of the 3 tracks its header announces");
    Bytes cut = Smf(0, 1, 96).track({0x00, 0x90, 0x3C, 0x40}).bytes;
    cut.resize(cut.size() - 2);
    EXPECT_NE(errorOf(cut).find("track 1"), std::string::npos);
    EXPECT_NE(errorOf(cut).find("runs past the end of the file"), std::string::npos);
}

TEST(MidiFileErrors, BrokenEventsNameTheirTrackAndOffset) {
    auto inTrack2 = [](Bytes body) { return errorOf(Smf(1, 2, 96).track({}).track(body, false).bytes); };
    EXPECT_EQ(inTrack2({0x00, 0x3C, 0x40}), "track 2 at byte 35: data byte 0x3C without a running status");
    EXPECT_NE(inTrack2({0x00, 0x90, 0x3C, 0x80}).find("data byte 0x80 of a channel message"), std::string::npos);
    EXPECT_NE(inTrack2({0x81, 0x82, 0x83, 0x84, 0x05, 0x90, 0, 0}).find("longer than four bytes"), std::string::npos);
    EXPECT_NE(inTrack2({0x00, 0x90, 0x3C}).find("ends in the middle of an event"), std::string::npos);
    EXPECT_NE(inTrack2({0x00, 0xF0, 0x10, 0x01}).find("runs past the end"), std::string::npos);
    EXPECT_NE(inTrack2({0x00, 0xFF, 0x51, 0x02, 0x07, 0xA1}).find("tempo event of 2 bytes"), std::string::npos);
    EXPECT_NE(inTrack2({0x00, 0xFF, 0x51, 0x03, 0, 0, 0}).find("tempo of zero"), std::string::npos);
    EXPECT_NE(inTrack2({0x00, 0xF4}).find("status byte 0xF4"), std::string::npos);
    EXPECT_NE(inTrack2({0x00, 0xB0, 0x07, 0x10, 0x00, 0xF8}).find("status byte 0xF8"), std::string::npos);
}

TEST(MidiFileErrors, MissingFileAndBadRate) {
    EXPECT_THROW(RenderTool::readMidiFile("/nonexistent/dir/none.mid", 48000), MidiFileError);
    EXPECT_THROW(parseMidiFile(tempoMapFile(), 0), MidiFileError);
}

TEST(MidiFileErrors, EveryTruncationAndByteFlipParsesOrFailsCleanly) {
    const Bytes good = tempoMapFile();
    for (std::size_t n = 0; n < good.size(); ++n) {
        Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
        EXPECT_THROW(parseMidiFile(cut, 48000), MidiFileError) << n;
    }
    for (std::size_t i = 0; i < good.size(); ++i) {
        for (int v : {0x00, 0x7F, 0x80, 0xFF}) {
            Bytes flipped = good;
            flipped[i] = static_cast<std::uint8_t>(v);
            try {
                const MidiSequence s = parseMidiFile(flipped, 48000);
                for (std::size_t k = 1; k < s.messages.size(); ++k)
                    EXPECT_LE(s.messages[k - 1].frame, s.messages[k].frame);
            } catch (const MidiFileError&) {
            }
        }
    }
}

}  // namespace
