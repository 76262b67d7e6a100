#include "tools/render_tool/preset_file.h"

#include <algorithm>
#include <cstring>

namespace RenderTool {
namespace {

constexpr std::uint32_t tag(const char (&t)[5]) {
    return (std::uint32_t(std::uint8_t(t[0])) << 24) | (std::uint32_t(std::uint8_t(t[1])) << 16) |
           (std::uint32_t(std::uint8_t(t[2])) << 8) | std::uint32_t(std::uint8_t(t[3]));
}

constexpr std::uint32_t kContainer = tag("CcnK");
constexpr std::uint32_t kProgramChunk = tag("FPCh");
constexpr std::uint32_t kBankChunk = tag("FBCh");
constexpr std::uint32_t kProgramParams = tag("FxCk");
constexpr std::uint32_t kBankParams = tag("FxBk");

// Offsets shared by both kinds, then where each keeps its chunk size.
constexpr std::size_t kCountOffset = 24;
constexpr std::size_t kNameOffset = 28;
constexpr std::size_t kNameSize = 28;
constexpr std::size_t kProgramSizeOffset = 56;
constexpr std::size_t kBankSizeOffset = 156;

std::uint32_t readBig(const Bytes& b, std::size_t at) {
    return (std::uint32_t(b[at]) << 24) | (std::uint32_t(b[at + 1]) << 16) | (std::uint32_t(b[at + 2]) << 8) |
           std::uint32_t(b[at + 3]);
}

void writeBig(Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = std::uint8_t(v >> 24);
    b[at + 1] = std::uint8_t(v >> 16);
    b[at + 2] = std::uint8_t(v >> 8);
    b[at + 3] = std::uint8_t(v);
}

std::size_t sizeOffset(bool isBank) { return isBank ? kBankSizeOffset : kProgramSizeOffset; }

}  // namespace

bool parsePreset(const Bytes& file, PresetFile& preset, std::string& error) {
    if (file.size() < 12 || readBig(file, 0) != kContainer) {
        error = "not a program or bank file (no 'CcnK' magic)";
        return false;
    }
    const std::uint32_t kind = readBig(file, 8);
    if (kind == kProgramParams || kind == kBankParams) {
        error = "the file holds a plain parameter list ('FxCk'/'FxBk'); only chunk files ('FPCh'/'FBCh') can be loaded";
        return false;
    }
    if (kind != kProgramChunk && kind != kBankChunk) {
        error = "unknown preset kind (expected 'FPCh' or 'FBCh')";
        return false;
    }
    preset.isBank = kind == kBankChunk;
    const std::size_t chunkAt = sizeOffset(preset.isBank) + 4;
    if (file.size() < chunkAt) {
        error = "the file ends inside its header";
        return false;
    }
    // Sizes are unsigned 32-bit on disk; sums are taken in 64 bits so a huge
    // value cannot wrap round and pass.
    const std::uint64_t byteSize = readBig(file, 4);
    if (byteSize + 8 > file.size()) {
        error = "the header's byte size runs beyond the end of the file";
        return false;
    }
    const std::uint64_t chunkSize = readBig(file, sizeOffset(preset.isBank));
    if (chunkSize + chunkAt > file.size() || chunkSize + chunkAt > byteSize + 8) {
        error = "the chunk size runs beyond the end of the file";
        return false;
    }
    preset.fxID = static_cast<std::int32_t>(readBig(file, 16));
    preset.fxVersion = static_cast<std::int32_t>(readBig(file, 20));
    preset.count = static_cast<std::int32_t>(readBig(file, kCountOffset));
    preset.programName.clear();
    if (!preset.isBank) {
        const char* name = reinterpret_cast<const char*>(file.data() + kNameOffset);
        preset.programName.assign(name, strnlen(name, kNameSize));
    }
    preset.chunk.assign(file.begin() + static_cast<std::ptrdiff_t>(chunkAt),
                        file.begin() + static_cast<std::ptrdiff_t>(chunkAt + chunkSize));
    return true;
}

Bytes buildPreset(const PresetFile& preset) {
    const std::size_t chunkAt = sizeOffset(preset.isBank) + 4;
    Bytes file(chunkAt + preset.chunk.size(), 0);
    writeBig(file, 0, kContainer);
    writeBig(file, 4, static_cast<std::uint32_t>(file.size() - 8));
    writeBig(file, 8, preset.isBank ? kBankChunk : kProgramChunk);
    writeBig(file, 12, 1);  // format version
    writeBig(file, 16, static_cast<std::uint32_t>(preset.fxID));
    writeBig(file, 20, static_cast<std::uint32_t>(preset.fxVersion));
    writeBig(file, kCountOffset, static_cast<std::uint32_t>(preset.count));
    if (!preset.isBank) {
        // The name field keeps a terminating zero.
        std::memcpy(file.data() + kNameOffset, preset.programName.data(),
                    std::min(preset.programName.size(), kNameSize - 1));
    }
    writeBig(file, sizeOffset(preset.isBank), static_cast<std::uint32_t>(preset.chunk.size()));
    std::copy(preset.chunk.begin(), preset.chunk.end(), file.begin() + static_cast<std::ptrdiff_t>(chunkAt));
    return file;
}

}  // namespace RenderTool
