#include "core/bank_file.h"

namespace PlugCore::bankfile {

namespace {

void appendBigEndian(std::string& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

}  // namespace

std::string wrapBank(std::int32_t uniqueId, std::int32_t programs, const std::string& chunk) {
    std::string out;
    out.reserve(kHeaderSize + chunk.size());
    appendBigEndian(out, kChunkMagic);
    appendBigEndian(out, static_cast<std::uint32_t>(kHeaderSize - 8 + chunk.size()));
    appendBigEndian(out, kBankChunkType);
    appendBigEndian(out, 1);  // format version
    appendBigEndian(out, static_cast<std::uint32_t>(uniqueId));
    appendBigEndian(out, 1);  // the effect's version
    appendBigEndian(out, static_cast<std::uint32_t>(programs));
    out.append(128, '\0');
    appendBigEndian(out, static_cast<std::uint32_t>(chunk.size()));
    out += chunk;
    return out;
}

}  // namespace PlugCore::bankfile
