#include "state_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace StateTest {

namespace {

PromptRecorder* current = nullptr;

int recordPrompt(int kind, const char* title, const char* text) {
    if (!current) return 0;
    current->prompts.push_back({kind, title, text});
    return current->answer;
}

// No test may ever wait for a person: until a test installs its own recorder,
// every prompt is answered No and counted as a failure.
int unexpectedPrompt(int kind, const char* title, const char* text) {
    ADD_FAILURE() << "unexpected prompt \"" << title << "\": " << text;
    return 0;
}

struct NoPromptsEnvironment : ::testing::Environment {
    void SetUp() override { Services::setPromptAnswerer(unexpectedPrompt); }
};

[[maybe_unused]] auto* const environment = ::testing::AddGlobalTestEnvironment(new NoPromptsEnvironment);

}  // namespace

// The host is a member, built after the core: the core only keeps its address until then.
TestPlug::TestPlug(const char* name) : Plug(&host, 16, 9, name, 1, 1) { setDefinedDefaults(); }

void TestPlug::setDefinedDefaults() {
    static const char* const names[9] = {"p0", "p1", "p2", "p3", "p4", "p5", "p6", "p7", "p8"};
    for (std::uint32_t i = 0; i < 9; ++i) params.defineParameter(i, names[i], "", 0.1f * static_cast<float>(i));
}

void TestPlug::formatParameter(std::uint32_t, char* text, float value) { std::snprintf(text, 16, "%.3f", value); }

void TestPlug::load(const std::string& bytes) {
    std::string copy = bytes;  // the effect must not depend on the host's buffer staying put
    setChunk(copy.data(), static_cast<PlugCore::int32>(copy.size()), false);
}

std::string TestPlug::chunkOf(bool isPreset) {
    void* data = nullptr;
    auto size = getChunk(&data, isPreset);
    return std::string(static_cast<const char*>(data), static_cast<std::size_t>(size));
}

PromptRecorder::PromptRecorder(int answer) : answer(answer) {
    current = this;
    Services::setPromptAnswerer(recordPrompt);
}

PromptRecorder::~PromptRecorder() {
    current = nullptr;
    Services::setPromptAnswerer(unexpectedPrompt);
}

ChunkBuilder& ChunkBuilder::header(std::int16_t minor, std::uint16_t major) {
    raw({0x75, 0x3D, 0x8C, 0x28});
    u16(static_cast<std::uint16_t>(minor));
    u16(major);
    return *this;
}

ChunkBuilder& ChunkBuilder::name(const char* text) {
    char field[31] = {};
    std::memcpy(field, text, strnlen(text, 31));
    bytes.push_back(4);
    bytes.append(field, 31);
    return *this;
}

ChunkBuilder& ChunkBuilder::parameter(std::uint8_t index, std::uint16_t step) {
    raw({0, index});
    u16(step);
    return *this;
}

ChunkBuilder& ChunkBuilder::mapping(std::uint8_t index, std::int16_t key) {
    raw({1, index});
    u16(static_cast<std::uint16_t>(key));
    return *this;
}

ChunkBuilder& ChunkBuilder::program(std::uint8_t index, const char* text) {
    char field[24] = {};
    std::memcpy(field, text, strnlen(text, 24));
    raw({2, index});
    bytes.append(field, 24);
    return *this;
}

ChunkBuilder& ChunkBuilder::current(std::uint8_t index) { return raw({3, index}); }

ChunkBuilder& ChunkBuilder::raw(std::initializer_list<std::uint8_t> list) {
    for (std::uint8_t b : list) bytes.push_back(static_cast<char>(b));
    return *this;
}

void ChunkBuilder::u16(std::uint16_t v) {
    raw({static_cast<std::uint8_t>(v & 0xFF), static_cast<std::uint8_t>(v >> 8)});
}

}  // namespace StateTest
