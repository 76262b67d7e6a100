#include "test_host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>

namespace HostTest {
namespace {
constexpr double kTwoPi = 6.283185307179586;
}  // namespace

int HostState::count(vst::int32 opcode) const {
    int n = 0;
    for (const HostCall& c : calls) n += c.opcode == opcode;
    return n;
}

void HostState::reset() { *this = HostState{}; }

HostState& host() {
    static HostState state;
    return state;
}

vst::VstIntPtr hostCallback(vst::AEffect* effect, vst::int32 opcode, vst::int32 index, vst::VstIntPtr value, void* ptr,
                            float opt) {
    HostState& h = host();
    h.calls.push_back({effect, opcode, index, value, opt});
    switch (opcode) {
    case vst::audioMasterVersion: return h.versionAnswer;
    case vst::audioMasterGetTime: return h.giveTime ? reinterpret_cast<vst::VstIntPtr>(&h.time) : 0;
    default: return 0;
    }
}

std::string modulePath() {
    const char* overridden = std::getenv("TALLOW_MODULE");
    return overridden && *overridden ? overridden : TALLOW_MODULE_PATH;
}

const HostKit::ModuleLibrary& module() {
    static std::unique_ptr<HostKit::ModuleLibrary> library;
    static std::string error;
    if (!library) library = HostKit::openModule(modulePath(), error);
    if (!library) {
        ADD_FAILURE() << "cannot load " << modulePath() << ": " << error;
        std::abort();
    }
    return *library;
}

Effect::Effect() {
    HostKit::EntryFunction entry = module().entry();
    record = entry ? entry(hostCallback) : nullptr;
    if (!record) {
        ADD_FAILURE() << "the entry gave no effect";
        std::abort();
    }
}

Effect::~Effect() { record->dispatcher(record, vst::effClose, 0, 0, nullptr, 0.0f); }

vst::VstIntPtr Effect::dispatch(vst::int32 opcode, vst::int32 index, vst::VstIntPtr value, void* ptr, float opt) const {
    return record->dispatcher(record, opcode, index, value, ptr, opt);
}

std::string Effect::text(vst::int32 opcode, vst::int32 index) const {
    char buffer[256] = {};
    dispatch(opcode, index, 0, buffer);
    return buffer;
}

void Effect::start(float rate, vst::int32 blockSize) const {
    dispatch(vst::effSetSampleRate, 0, 0, nullptr, rate);
    dispatch(vst::effSetBlockSize, 0, blockSize);
    dispatch(vst::effMainsChanged, 0, 1);
}

template <typename T>
Stereo<T> testSignal(std::size_t frames, std::size_t offset) {
    Stereo<T> s(frames);
    unsigned noise = 12345u + static_cast<unsigned>(offset);
    for (std::size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i + offset) / 44100.0;
        noise = noise * 1664525u + 1013904223u;
        const double n = (static_cast<double>(noise >> 8) / 16777216.0 - 0.5) * 0.02;
        s.left[i] = static_cast<T>(0.5 * std::sin(kTwoPi * 220.0 * t) + n);
        s.right[i] = static_cast<T>(0.5 * std::sin(kTwoPi * 331.0 * t) - n);
    }
    return s;
}

}  // namespace HostTest

extern "C" int tallowReedPromptAnswer(int kind, const char* title, const char* text) {
    HostTest::HostState& h = HostTest::host();
    h.prompts.push_back(std::string(title ? title : "") + ": " + (text ? text : ""));
    return kind == 0 ? 1 : h.promptAnswer;  // questions and confirmations alike
}

namespace HostTest {

template Stereo<float> testSignal<float>(std::size_t, std::size_t);
template Stereo<double> testSignal<double>(std::size_t, std::size_t);

}  // namespace HostTest
