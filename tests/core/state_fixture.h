// Shared pieces of the state tests: a small effect on the bare core, a prompt
// recorder that answers in place of the user, and a builder for hand-made chunks.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/plug.h"
#include "services/user_prompt.h"
#include "support/recording_host.h"

namespace StateTest {

/// Sixteen programs and nine parameters, like the real effect, with no audio.
/// Its host records the values it is told of.
class TestPlug : public PlugCore::Plug {
public:
    static constexpr const char* kName = "Test Effect";
    explicit TestPlug(const char* name = kName);

    void prepareProcessing() override {}
    void resetProcessing() override {}
    bool renderBlock(bool, const PlugCore::Transport*, double**, double**, std::uint32_t) override { return true; }
    void formatParameter(std::uint32_t, char* text, float value) override;

    std::string bankChunk() { return chunkOf(false); }
    std::string programChunk() { return chunkOf(true); }
    /// Hands bytes to the effect the way a host does.
    void load(const std::string& bytes);
    void setDefinedDefaults();
    int automated() const { return host.count(testing_support::RecordingHost::Automate); }

    testing_support::RecordingHost host;

private:
    std::string chunkOf(bool isPreset);
};

/// Every prompt shown while it lives, answered with `answer`. Installed for its lifetime.
struct PromptRecorder {
    struct Prompt {
        int kind;
        std::string title;
        std::string text;
    };
    explicit PromptRecorder(int answer = 0);
    ~PromptRecorder();
    std::vector<Prompt> prompts;
    int answer;
};

/// Builds chunks byte by byte, little-endian, for the reader tests.
class ChunkBuilder {
public:
    ChunkBuilder& header(std::int16_t minor = 5, std::uint16_t major = 0);
    ChunkBuilder& name(const char* text);
    ChunkBuilder& parameter(std::uint8_t index, std::uint16_t step);
    ChunkBuilder& mapping(std::uint8_t index, std::int16_t key);
    ChunkBuilder& program(std::uint8_t index, const char* text);
    ChunkBuilder& current(std::uint8_t index);
    ChunkBuilder& raw(std::initializer_list<std::uint8_t> bytes);
    std::string bytes;

private:
    void u16(std::uint16_t v);
};

/// The step of a stored value.
inline std::int32_t stepOf(float v) { return PlugCore::quantiseStep(v); }

}  // namespace StateTest
