#include <cstdio>
#include <cstring>

#include "core/chunk_format.h"
#include "core/plug.h"
#include "services/user_prompt.h"

namespace PlugCore {

namespace {

std::uint16_t readU16(const unsigned char* at) { return static_cast<std::uint16_t>(at[0] | at[1] << 8); }

std::uint32_t readU32(const unsigned char* at) {
    return std::uint32_t(at[0]) | std::uint32_t(at[1]) << 8 | std::uint32_t(at[2]) << 16 | std::uint32_t(at[3]) << 24;
}

std::size_t recordSize(std::uint8_t type) {
    switch (type) {
    case chunkformat::kParameter: return chunkformat::kParameterSize;
    case chunkformat::kMapping: return chunkformat::kMappingSize;
    case chunkformat::kProgram: return chunkformat::kProgramSize;
    case chunkformat::kCurrentProgram: return chunkformat::kCurrentProgramSize;
    case chunkformat::kName: return chunkformat::kNameSize;
    default: return 0;
    }
}

}  // namespace

void Plug::reportChunkError(const char* reason) {
    char title[96];
    char text[256];
    std::snprintf(title, sizeof title, "%s error", name);
    std::snprintf(text, sizeof text, "Error loading chunk: %s", reason);
    Services::showError(title, text);
}

// Header errors change nothing. After the header every record takes effect as it
// is read, so a bad record (or the answer No) leaves the ones before it applied.
bool Plug::setChunk(const void* data, int32 byteSize, bool) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (!bytes || byteSize < static_cast<int32>(chunkformat::kHeaderSize)) {
        reportChunkError("No header");
        return false;
    }
    if (readU32(bytes) != chunkformat::kMagic) {
        reportChunkError("Invalid header");
        return false;
    }
    const auto minor = static_cast<std::int16_t>(readU16(bytes + 4));
    const std::uint16_t major = readU16(bytes + 6);
    if (minor > chunkformat::kMinorVersion || major != chunkformat::kMajorVersion) {
        reportChunkError("Program or bank was saved with a later version.\nPlease update the plugin and try again.");
        return false;
    }
    const unsigned char* end = bytes + byteSize;
    for (const unsigned char* at = bytes + chunkformat::kHeaderSize; at < end;) {
        std::size_t size = recordSize(at[0]);
        if (size == 0 || static_cast<std::size_t>(end - at) < size) {
            reportChunkError("Chunk appears corrupted.");
            return false;
        }
        if (!applyRecord(at)) return false;
        at += size;
    }
    return true;
}

bool Plug::applyRecord(const unsigned char* record) {
    const std::uint8_t index = record[1];
    switch (record[0]) {
    case chunkformat::kParameter:
        if (index < params.size()) setParameterAutomated(index, stepValue(readU16(record + 2)));
        return true;
    case chunkformat::kMapping:
        if (index < params.size()) params.assignController(index, static_cast<std::int16_t>(readU16(record + 2)));
        return true;
    case chunkformat::kProgram:
        if (index < numPrograms) {
            std::memcpy(programs[index].name, record + 2, Program::kNameSize);
            programs[index].name[Program::kNameSize - 1] = 0;
            storeProgram(index);
        }
        return true;
    case chunkformat::kCurrentProgram:
        if (index < numPrograms) curProgram = index;
        return true;
    case chunkformat::kName: return acceptChunkName(reinterpret_cast<const char*>(record + 1));
    default: return false;
    }
}

// A chunk saved by another effect is applied only when the user agrees.
bool Plug::acceptChunkName(const char* field) {
    if (std::strncmp(field, name, chunkformat::kNameField) == 0) return true;
    char stored[chunkformat::kNameField] = {};
    std::memcpy(stored, field, chunkformat::kNameField - 1);  // at most 30 characters, the last byte stays zero
    char text[128];
    std::snprintf(text, sizeof text, "Trying to load a preset for \"%s\"\nDo you want to continue?", stored);
    return Services::askYesNo(name, text);
}

}  // namespace PlugCore
