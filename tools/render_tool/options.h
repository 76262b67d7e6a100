// The command line of tallow-render. Options live in one table, so a new
// option is one row and one field. Parsing only checks form and ranges;
// whether a parameter name exists is known once the module is loaded.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace RenderTool {

struct RenderOptions {
    std::string modulePath;
    std::string inputPath;  // empty: the built-in demo signal
    std::string outputPath;
    std::string presetPath;
    std::string savePresetPath;
    std::string midiPath;  // empty: no MIDI
    std::optional<int> program;
    std::vector<std::pair<std::string, float>> settings;  // --set name=value, in order
    std::optional<double> sampleRate;                     // generated input only
    int blockSize = 512;
    bool doublePrecision = false;
    double tailSeconds = 1.0;
    bool answerYes = false;
    bool showHelp = false;
};

/// Fills options from argv; false with one readable reason on bad input.
bool parseOptions(int argc, const char* const* argv, RenderOptions& options, std::string& error);

/// The usage text, built from the option table.
std::string usageText();

}  // namespace RenderTool
