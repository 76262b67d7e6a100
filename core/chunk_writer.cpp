#include <cmath>
#include <cstring>

#include "core/chunk_format.h"
#include "core/plug.h"

namespace PlugCore {

namespace {

void appendU16(std::string& out, std::uint16_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}

void appendHeader(std::string& out) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((chunkformat::kMagic >> shift) & 0xFF));
    appendU16(out, static_cast<std::uint16_t>(chunkformat::kMinorVersion));
    appendU16(out, chunkformat::kMajorVersion);
}

// The step comes from the parameter grid's own rule, so a value that is a
// stored step is written as that step and a save/load cycle never creeps.
void appendParameter(std::string& out, std::uint32_t index, float value) {
    out.push_back(static_cast<char>(chunkformat::kParameter));
    out.push_back(static_cast<char>(index));
    appendU16(out, static_cast<std::uint16_t>(quantiseStep(value)));
}

}  // namespace

void Plug::writeChunk(bool isPreset, std::string& out) {
    out.clear();
    const std::size_t perProgram = params.size() * chunkformat::kParameterSize + chunkformat::kProgramSize;
    out.reserve(chunkformat::kHeaderSize + chunkformat::kNameSize + numPrograms * perProgram +
                chunkformat::kCurrentProgramSize + 2 * params.size() * chunkformat::kParameterSize);
    appendHeader(out);

    out.push_back(static_cast<char>(chunkformat::kName));
    char nameField[chunkformat::kNameField] = {};
    std::memcpy(nameField, name, strnlen(name, chunkformat::kNameField));  // 31 characters fill it unterminated
    out.append(nameField, chunkformat::kNameField);

    const std::uint32_t count = params.size();
    if (!isPreset) {
        for (int32 p = 0; p < numPrograms; ++p) {
            for (std::uint32_t i = 0; i < count; ++i) appendParameter(out, i, programs[p].values[i]);
            out.push_back(static_cast<char>(chunkformat::kProgram));
            out.push_back(static_cast<char>(p));
            out.append(programs[p].name, Program::kNameSize);
        }
        out.push_back(static_cast<char>(chunkformat::kCurrentProgram));
        out.push_back(static_cast<char>(curProgram));
    }
    for (std::uint32_t i = 0; i < count; ++i) appendParameter(out, i, std::fabs(params.get(i)));
    for (std::uint32_t i = 0; i < count; ++i) {
        std::int32_t key = params[i].controllerKey.load(std::memory_order_relaxed);
        if (key == -1) continue;
        out.push_back(static_cast<char>(chunkformat::kMapping));
        out.push_back(static_cast<char>(i));
        appendU16(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(key)));
    }
}

int32 Plug::getChunk(void** data, bool isPreset) {
    writeChunk(isPreset, chunk);
    *data = chunk.data();
    return static_cast<int32>(chunk.size());
}

}  // namespace PlugCore
