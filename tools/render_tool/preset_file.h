// Program (.fxp) and bank (.fxb) files of the opaque-chunk kind: a
// big-endian header around the module's own state chunk. Pure byte work,
// no file system; any thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace RenderTool {

using Bytes = std::vector<std::uint8_t>;

struct PresetFile {
    bool isBank = false;    // 'FBCh' rather than 'FPCh'
    std::int32_t fxID = 0;  // the unique ID of the module that wrote it
    std::int32_t fxVersion = 0;
    std::int32_t count = 0;   // programs in a bank, parameters in a program
    std::string programName;  // programs only
    Bytes chunk;
};

/// Parses a whole file. Anything but a well-formed opaque-chunk program or
/// bank fails with a reason: another kind, a bad magic, sizes beyond the data.
bool parsePreset(const Bytes& file, PresetFile& preset, std::string& error);

/// The file bytes for preset, header fields big-endian, future area zero.
Bytes buildPreset(const PresetFile& preset);

}  // namespace RenderTool
