// The bank file that wraps a bank chunk in the factory bank resource: a
// big-endian header of 160 bytes, then the chunk. Constant data and pure
// functions; any thread.
#pragma once

#include <cstdint>
#include <string>

namespace PlugCore::bankfile {

constexpr std::uint32_t kChunkMagic = 0x43636E4B;        // 'CcnK'
constexpr std::uint32_t kBankChunkType = 0x46424368;     // 'FBCh', a bank held as an opaque chunk
constexpr std::uint32_t kProgramChunkType = 0x46504368;  // 'FPCh', one program as an opaque chunk
constexpr std::size_t kHeaderSize = 160;                 // the chunk size field sits at 156

/// A complete bank file around chunk: magic, byte size, 'FBCh', version 1, fxID,
/// fxVersion 1, the program count, 128 zero bytes, the chunk size and the chunk.
std::string wrapBank(std::int32_t uniqueId, std::int32_t programs, const std::string& chunk);

/// The big-endian 32-bit value at offset.
inline std::uint32_t readBigEndian(const unsigned char* at) {
    return std::uint32_t(at[0]) << 24 | std::uint32_t(at[1]) << 16 | std::uint32_t(at[2]) << 8 | at[3];
}

}  // namespace PlugCore::bankfile
