// Mappings made by MIDI learn travel in the state chunk and answer their
// controllers again once the chunk is loaded.
#include <gtest/gtest.h>

#include <string>

#include "core/controller_key.h"
#include "midi_test_effect.h"

using miditest::Events;
using miditest::TestEffect;

namespace {

void learn(TestEffect& fx, int param, int controller) {
    fx.beginLearn(param);
    Events e;
    e.cc(0, controller, 0);
    fx.run(e.list());
}

std::string bankChunk(TestEffect& fx) {
    void* data = nullptr;
    const PlugCore::int32 size = fx.getChunk(&data, false);
    return std::string(static_cast<const char*>(data), static_cast<std::size_t>(size));
}

// 8 header + 32 name + 16 programs of (9 parameters + program record) + current program + 9 live values.
constexpr std::size_t kBankWithoutMappings = 8 + 32 + 16 * (9 * 4 + 26) + 2 + 9 * 4;

TEST(MidiMappingChunk, BankChunkEndsWithOneRecordPerMapping) {
    TestEffect fx;
    learn(fx, 3, 74);
    learn(fx, 7, 1);
    learn(fx, 5, 74);  // takes 74 from parameter 3
    const std::string chunk = bankChunk(fx);
    ASSERT_EQ(chunk.size(), kBankWithoutMappings + 2 * 4);
    // In parameter order: 5 -> CC 74 (bytes 4A B0), 7 -> CC 1 (bytes 01 B0).
    EXPECT_EQ(chunk.substr(kBankWithoutMappings), std::string("\x01\x05\x4A\xB0\x01\x07\x01\xB0", 8));
}

TEST(MidiMappingChunk, LoadedMappingsAnswerTheirControllers) {
    TestEffect source;
    learn(source, 2, 7);
    learn(source, 8, 102);
    const std::string chunk = bankChunk(source);

    TestEffect fx;
    learn(fx, 4, 7);   // a key the chunk gives to another parameter is taken away
    learn(fx, 6, 20);  // a mapping the chunk does not mention stays
    std::string copy = chunk;
    fx.setChunk(copy.data(), static_cast<PlugCore::int32>(copy.size()), false);
    EXPECT_EQ(fx.getMapping(2), PlugCore::controllerKey(7));
    EXPECT_EQ(fx.getMapping(8), PlugCore::controllerKey(102));
    EXPECT_EQ(fx.getMapping(4), -1);
    EXPECT_EQ(fx.getMapping(6), PlugCore::controllerKey(20));

    Events e;
    e.cc(0, 102, 127, 4).cc(0, 7, 0);
    fx.run(e.list());
    EXPECT_EQ(fx.getParameter(8), 1.0f);
    EXPECT_EQ(fx.getParameter(2), 0.0f);
}

}  // namespace
