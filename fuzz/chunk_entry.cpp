#include "fuzz/chunk_entry.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/plug.h"
#include "services/user_prompt.h"

namespace ChunkFuzz {

namespace {

int answer = 0;

int answerPrompt(int, const char*, const char*) { return answer; }

class FuzzPlug : public PlugCore::Plug {
public:
    FuzzPlug() : Plug(nullptr, 16, 9, "Tallow Reed", 1, 1) { reset(); }

    // Back to the state of a new instance, so that instances can be reused between runs.
    void reset() {
        for (std::uint32_t i = 0; i < 9; ++i) {
            params.defineParameter(i, "p", "", 0.125f * static_cast<float>(i));
            params[i].controllerKey.store(-1);
        }
        for (int p = 0; p < 16; ++p) {
            std::snprintf(programs[p].name, PlugCore::Program::kNameSize, "Init %d", p + 1);
            storeProgram(p);
        }
        curProgram = 0;
    }
    void prepareProcessing() override {}
    void resetProcessing() override {}
    bool renderBlock(bool, const PlugCore::Transport*, double**, double**, std::uint32_t) override { return true; }
    void formatParameter(std::uint32_t, char* text, float) override { text[0] = 0; }
};

void require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

void runOne(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return;
    Services::setPromptAnswerer(answerPrompt);
    answer = data[0] & 1;
    const bool asBank = data[0] & 2;
    // A private copy, so the reader can never lean on bytes past the end.
    std::vector<std::uint8_t> bytes(data + 1, data + size);

    static FuzzPlug plug;
    static FuzzPlug reloaded;
    plug.reset();
    reloaded.reset();
    if (asBank) plug.readFactoryBank(std::span<const unsigned char>(bytes.data(), bytes.size()));
    else
        plug.setChunk(bytes.data(), static_cast<PlugCore::int32>(bytes.size()), false);

    for (std::uint32_t i = 0; i < 9; ++i) {
        float v = plug.getParameter(static_cast<PlugCore::int32>(i));
        require(v >= 0.0f && v <= 1.0f);
    }
    require(plug.getProgram() >= 0 && plug.getProgram() < 16);

    // Whatever state the input left, it survives a save and reload unchanged.
    static std::string saved;
    static std::string again;
    plug.writeChunk(false, saved);
    require(saved.size() >= 1070 && (saved.size() - 1070) % 4 == 0 && saved.size() <= 1070 + 9 * 4);
    reloaded.setChunk(saved.data(), static_cast<PlugCore::int32>(saved.size()), false);
    reloaded.writeChunk(false, again);
    require(again == saved);
}

}  // namespace ChunkFuzz
