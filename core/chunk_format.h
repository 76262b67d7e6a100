// The state chunk: an 8-byte little-endian header and a run of typed records up
// to the end, with no count and no trailer. Host projects, presets, the factory
// bank and the defaults file all hold it, so none of these numbers may change.
#pragma once

#include <cstddef>
#include <cstdint>

namespace PlugCore::chunkformat {

constexpr std::uint32_t kMagic = 0x288C3D75;
constexpr std::int16_t kMinorVersion = 5;   // readers take anything up to this
constexpr std::uint16_t kMajorVersion = 0;  // readers take only this
constexpr std::size_t kHeaderSize = 8;

enum RecordType : std::uint8_t {
    kParameter = 0,       // index, step (u16)
    kMapping = 1,         // index, controller key (s16)
    kProgram = 2,         // index, 24-byte name; captures the values set before it
    kCurrentProgram = 3,  // index
    kName = 4,            // the effect's name, 31 bytes
};

// Record sizes, the type byte included.
constexpr std::size_t kParameterSize = 4;
constexpr std::size_t kMappingSize = 4;
constexpr std::size_t kProgramSize = 26;
constexpr std::size_t kCurrentProgramSize = 2;
constexpr std::size_t kNameSize = 32;
constexpr std::size_t kNameField = kNameSize - 1;

}  // namespace PlugCore::chunkformat
