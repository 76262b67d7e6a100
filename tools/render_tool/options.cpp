#include "tools/render_tool/options.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace RenderTool {
namespace {

using Apply = bool (*)(RenderOptions&, const std::string& value, std::string& error);

struct OptionSpec {
    const char* name;
    const char* argument;  // null for a flag
    const char* help;
    Apply apply;
};

bool fail(std::string& error, std::string reason) {
    error = std::move(reason);
    return false;
}

bool parseNumber(const std::string& text, double low, double high, double& out) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
    errno = 0;
    char* end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return errno == 0 && *end == 0 && std::isfinite(out) && out >= low && out <= high;
}

bool parseInteger(const std::string& text, long low, long high, int& out) {
    double d = 0;
    if (!parseNumber(text, static_cast<double>(low), static_cast<double>(high), d) || d != std::floor(d)) return false;
    out = static_cast<int>(d);
    return true;
}

bool setParameter(RenderOptions& o, const std::string& v, std::string& error) {
    const std::size_t eq = v.find('=');
    double value = 0;
    if (eq == std::string::npos || eq == 0) {
        error = "--set expects name=value, got \"" + v + "\"";
        return false;
    }
    if (!parseNumber(v.substr(eq + 1), 0.0, 1.0, value)) {
        error =
            "--set " + v.substr(0, eq) + ": the value must be a number from 0 to 1, got \"" + v.substr(eq + 1) + "\"";
        return false;
    }
    o.settings.emplace_back(v.substr(0, eq), static_cast<float>(value));
    return true;
}

const OptionSpec kOptions[] = {
    {"--module", "PATH", "the VST 2 module to load (required)",
     [](RenderOptions& o, const std::string& v, std::string&) {
         o.modulePath = v;
         return true;
     }},
    {"--input", "FILE", "audio to process (WAV, FLAC, AIFF, mono or stereo); default: a built-in plucked chord",
     [](RenderOptions& o, const std::string& v, std::string&) {
         o.inputPath = v;
         return true;
     }},
    {"--output", "FILE", "where to write the result, 32-bit float WAV (required)",
     [](RenderOptions& o, const std::string& v, std::string&) {
         o.outputPath = v;
         return true;
     }},
    {"--program", "N", "select program N before rendering",
     [](RenderOptions& o, const std::string& v, std::string& e) {
         int n = 0;
         if (!parseInteger(v, 0, 1 << 20, n)) return fail(e, "--program expects a program number, got \"" + v + "\"");
         o.program = n;
         return true;
     }},
    {"--set", "NAME=VALUE", "set a parameter (names as the module reports them) to a value from 0 to 1; repeatable",
     setParameter},
    {"--preset", "FILE", "load a program (.fxp) or bank (.fxb) file into the module first",
     [](RenderOptions& o, const std::string& v, std::string&) {
         o.presetPath = v;
         return true;
     }},
    {"--save-preset", "FILE", "after rendering, save the module's state as a program (.fxp) or bank (.fxb)",
     [](RenderOptions& o, const std::string& v, std::string& e) {
         const std::size_t dot = v.rfind('.');
         const std::string ext = dot == std::string::npos ? "" : v.substr(dot);
         if (ext != ".fxp" && ext != ".fxb" && ext != ".FXP" && ext != ".FXB")
             return fail(e, "--save-preset needs a file name ending in .fxp (program) or .fxb (bank)");
         o.savePresetPath = v;
         return true;
     }},
    {"--midi", "FILE", "feed a standard MIDI file (format 0 or 1) to the module, each event at its frame",
     [](RenderOptions& o, const std::string& v, std::string&) {
         o.midiPath = v;
         return true;
     }},
    {"--rate", "HZ", "sample rate of the built-in signal (8000 to 384000; default 44100)",
     [](RenderOptions& o, const std::string& v, std::string& e) {
         double rate = 0;
         if (!parseNumber(v, 8000.0, 384000.0, rate))
             return fail(e, "--rate expects 8000 to 384000 Hz, got \"" + v + "\"");
         o.sampleRate = rate;
         return true;
     }},
    {"--block", "N", "frames per process call (1 to 65536; default 512)",
     [](RenderOptions& o, const std::string& v, std::string& e) {
         if (!parseInteger(v, 1, 65536, o.blockSize))
             return fail(e, "--block expects 1 to 65536 frames, got \"" + v + "\"");
         return true;
     }},
    {"--double", nullptr, "process in double precision",
     [](RenderOptions& o, const std::string&, std::string&) {
         o.doublePrecision = true;
         return true;
     }},
    {"--tail", "SECONDS", "silence rendered after the input (0 to 600; default 1)",
     [](RenderOptions& o, const std::string& v, std::string& e) {
         if (!parseNumber(v, 0.0, 600.0, o.tailSeconds))
             return fail(e, "--tail expects 0 to 600 seconds, got \"" + v + "\"");
         return true;
     }},
    {"--yes", nullptr, "answer Yes to every question the module asks (they are printed either way)",
     [](RenderOptions& o, const std::string&, std::string&) {
         o.answerYes = true;
         return true;
     }},
    {"--help", nullptr, "show this text",
     [](RenderOptions& o, const std::string&, std::string&) {
         o.showHelp = true;
         return true;
     }},
};

const OptionSpec* findOption(const std::string& name) {
    for (const OptionSpec& option : kOptions)
        if (name == option.name) return &option;
    return nullptr;
}

}  // namespace

bool parseOptions(int argc, const char* const* argv, RenderOptions& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        std::string word = argv[i];
        std::optional<std::string> value;
        if (const std::size_t eq = word.find('='); word.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = word.substr(eq + 1);
            word.resize(eq);
        }
        if (word == "-h") word = "--help";
        const OptionSpec* found = findOption(word);
        if (!found) {
            error = word.rfind("-", 0) == 0 ? "unknown option " + word + " (see --help)"
                                            : "unexpected argument \"" + word + "\" (see --help)";
            return false;
        }
        if (!found->argument && value) {
            error = word + " takes no value";
            return false;
        }
        if (found->argument && !value) {
            if (i + 1 >= argc) {
                error = word + " needs a value: " + found->argument;
                return false;
            }
            value = argv[++i];
        }
        if (!found->apply(options, value.value_or(""), error)) return false;
    }
    if (options.showHelp) return true;
    if (options.modulePath.empty()) error = "no module given (--module PATH)";
    else if (options.outputPath.empty())
        error = "no output file given (--output FILE)";
    else if (options.sampleRate && !options.inputPath.empty())
        error = "--rate sets the rate of the built-in signal; an input file keeps its own rate";
    return error.empty();
}

std::string usageText() {
    std::string text =
        "usage: tallow-render --module PATH --output FILE [options]\n\n"
        "Renders audio offline through a VST 2 effect module.\n\noptions:\n";
    for (const OptionSpec& option : kOptions) {
        std::string left =
            std::string("  ") + option.name + (option.argument ? std::string(" ") + option.argument : "");
        if (left.size() < 24) left.resize(24, ' ');
        else
            left += "  ";
        text += left + option.help + "\n";
    }
    return text;
}

}  // namespace RenderTool
