// A minimal host for testing the built module from the outside: it loads the
// module once through its exported entry, answers the host callback and
// records every call the effect makes to it.
//
// Threads: the test thread only. Ownership: each Effect closes its record
// through effClose when it goes; the module stays mapped for the whole run.
#pragma once

#include <string>
#include <vector>

#include "formats/vst2/aeffect.h"
#include "tools/host_kit/module_library.h"

namespace HostTest {

struct HostCall {
    vst::AEffect* effect;
    vst::int32 opcode;
    vst::int32 index;
    vst::VstIntPtr value;
    float opt;
};

/// What the callback answers and what it has been asked. Reset per test.
struct HostState {
    vst::VstIntPtr versionAnswer = 2400;
    bool giveTime = true;  // answer audioMasterGetTime with `time`
    vst::VstTimeInfo time{};
    std::vector<HostCall> calls;
    int promptAnswer = 0;              // what the module's questions are answered
    std::vector<std::string> prompts;  // every text the module showed

    int count(vst::int32 opcode) const;
    void reset();
};

HostState& host();

#if defined(_WIN32)
#define HOST_TEST_EXPORT __declspec(dllexport)
#else
#define HOST_TEST_EXPORT __attribute__((visibility("default")))
#endif
vst::VstIntPtr hostCallback(vst::AEffect* effect, vst::int32 opcode, vst::int32 index, vst::VstIntPtr value, void* ptr,
                            float opt);

/// The module under test, loaded on first use. Fails the calling test when
/// the module cannot be mapped.
const HostKit::ModuleLibrary& module();
std::string modulePath();

/// One effect instance created through VSTPluginMain and closed on scope exit.
class Effect {
public:
    Effect();
    ~Effect();
    Effect(const Effect&) = delete;
    Effect& operator=(const Effect&) = delete;

    vst::AEffect* operator->() const { return record; }
    vst::AEffect* get() const { return record; }
    vst::VstIntPtr dispatch(vst::int32 opcode, vst::int32 index = 0, vst::VstIntPtr value = 0, void* ptr = nullptr,
                            float opt = 0.0f) const;
    std::string text(vst::int32 opcode, vst::int32 index = 0) const;

    /// Sample rate, block size and resume, as a host does before audio.
    void start(float rate = 44100.0f, vst::int32 blockSize = 512) const;

private:
    vst::AEffect* record;
};

/// Planar stereo buffers of one sample type.
template <typename T>
struct Stereo {
    explicit Stereo(std::size_t frames, T fill = T(0)) : left(frames, fill), right(frames, fill) {}
    T** channels() {
        pointers[0] = left.data();
        pointers[1] = right.data();
        return pointers;
    }
    std::vector<T> left, right;
    T* pointers[2] = {};
};

/// A deterministic test signal: two detuned sines with a little noise.
template <typename T>
Stereo<T> testSignal(std::size_t frames, std::size_t offset = 0);

}  // namespace HostTest

/// The module looks this up in the executable and shows its messages and
/// questions here instead of on the desktop, so no test ever waits for a click.
extern "C" HOST_TEST_EXPORT int tallowReedPromptAnswer(int kind, const char* title, const char* text);
