// One stored program: a name and one normalised value per parameter.
// Owned by PlugCore::Plug; touched by the UI thread (programs, chunks) and by
// MIDI program changes on the audio thread, without locks.
#pragma once

#include <cstdint>
#include <memory>

namespace PlugCore {

struct Program {
    static constexpr int kNameSize = 24;  // 23 characters and the terminator

    char name[kNameSize] = {};
    std::unique_ptr<float[]> values;
};

}  // namespace PlugCore
