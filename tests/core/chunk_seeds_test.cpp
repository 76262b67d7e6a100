#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "fuzz/chunk_entry.h"
#include "state_fixture.h"

// The fuzzer's seed corpus through the fuzzer's own entry: every seed must pass
// its invariants (a broken one aborts the test program).
TEST(ChunkFuzzSeeds, EverySeedKeepsTheInvariants) {
    const std::filesystem::path folder = TALLOW_SOURCE_DIR "/fuzz/seeds/chunk";
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        SCOPED_TRACE(entry.path().filename().string());
        ChunkFuzz::runOne(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        ++count;
    }
    EXPECT_GE(count, 14);
    StateTest::PromptRecorder restore;  // puts the tests' own answerer back
}
