// One fuzz input run through the chunk reader, shared by the libFuzzer target
// and the unit test that replays the seed corpus. Aborts when an invariant
// breaks; any thread, one call at a time.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ChunkFuzz {

/// The first byte picks the answer to the name question and whether the input is
/// read as a chunk or as a factory bank file; the rest is the data. Whatever the
/// reader made of it, writing the state and reading that back must reproduce it.
void runOne(const std::uint8_t* data, std::size_t size);

}  // namespace ChunkFuzz
