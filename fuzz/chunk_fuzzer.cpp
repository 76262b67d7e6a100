// libFuzzer entry for the state chunk reader and the factory bank header checks.
#include <cstddef>
#include <cstdint>

#include "fuzz/chunk_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ChunkFuzz::runOne(data, size);
    return 0;
}
