// Reads standard MIDI files (format 0 and 1) into the channel messages they
// hold, each stamped with the audio frame at which it falls at a given sample
// rate. The file's tempo map is honoured (tempo changes in any track apply to
// all of them, as format 1 requires), and so is an SMPTE time division.
// Meta and system-exclusive events are read past; only channel messages come out.
//
// Threads: any; nothing is shared. Ownership: the result is a plain value.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace RenderTool {

struct MidiMessage {
    std::int64_t frame;     // from the start of the file
    std::uint8_t bytes[3];  // status, data 1, data 2 (0 for messages with one data byte)
};

struct MidiSequence {
    /// In time order; messages at the same time keep their order in the file
    /// (and lower tracks come first).
    std::vector<MidiMessage> messages;
    /// Where the longest track ends.
    std::int64_t endFrame = 0;
};

/// A file that is not a readable standard MIDI file; what() says why and where.
class MidiFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Parses a whole file held in memory. Throws MidiFileError.
MidiSequence parseMidiFile(const std::vector<std::uint8_t>& file, double sampleRate);

/// Reads the file at path and parses it. Throws MidiFileError, also when the
/// file cannot be opened.
MidiSequence readMidiFile(const std::string& path, double sampleRate);

}  // namespace RenderTool
