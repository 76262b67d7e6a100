#include <cmath>

#include "core/bank_file.h"
#include "core/plug.h"
#include "services/resources.h"
#include "services/user_prompt.h"

namespace PlugCore {

void Plug::loadFactoryBank() {
    // Programs the bank does not replace keep the values the effect has now.
    for (int32 p = 0; p < numPrograms; ++p)
        for (std::uint32_t i = 0; i < params.size(); ++i) programs[p].values[i] = std::fabs(params.get(i));
    std::span<const unsigned char> resource = Services::findResource("FXB", "FactoryBank");
    if (!resource.empty()) readFactoryBank(resource);
}

// The sizes are summed in 64 bits: a header claiming nearly 4 GiB must not wrap
// round to a small number and send the chunk reader past the resource's end.
void Plug::readFactoryBank(std::span<const unsigned char> file) {
    const unsigned char* bytes = file.data();
    const std::uint64_t size = file.size();
    if (size < 4 || bankfile::readBigEndian(bytes) != bankfile::kChunkMagic) {
        Services::showError(name, "Bad chunk magic in factory bank!");
        return;
    }
    if (size < 12 || bankfile::readBigEndian(bytes + 8) != bankfile::kBankChunkType) {
        Services::showError(name, "Invalid chunk type in factory bank!");
        return;
    }
    if (size < bankfile::kHeaderSize || std::uint64_t(bankfile::readBigEndian(bytes + 4)) + 8 > size ||
        std::uint64_t(bankfile::readBigEndian(bytes + 156)) + bankfile::kHeaderSize > size) {
        Services::showError(name, "Truncated or corrupt factory bank!");
        return;
    }
    const std::uint32_t chunkSize = bankfile::readBigEndian(bytes + 156);
    setChunk(bytes + bankfile::kHeaderSize, static_cast<int32>(chunkSize), false);
}

}  // namespace PlugCore
