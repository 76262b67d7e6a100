// A minimal effect on the core that records what the core asks of it, so
// tests can see sub-block boundaries, change flags and transport values.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/plug.h"

namespace testing_support {

struct RenderCall {
    bool changed;
    PlugCore::Transport transport;
    std::uint32_t frames;
    std::vector<double> firstInputs;  // inputs[0][0], inputs[1][0]
};

class TestPlug : public PlugCore::Plug {
public:
    explicit TestPlug(PlugCore::HostLink* host = nullptr, PlugCore::int32 params = 3)
        : Plug(host, 16, params, "Test Plug", 1, 1) {}

    void prepareProcessing() override { log.push_back("prepare"); }
    void resetProcessing() override { log.push_back("reset"); }
    bool renderBlock(bool changed, const PlugCore::Transport* transport, double** inputs, double** outputs,
                     std::uint32_t frames) override {
        calls.push_back({changed, *transport, frames, {inputs[0][0], inputs[1][0]}});
        for (std::uint32_t i = 0; i < frames; ++i) {
            outputs[0][i] = inputs[0][i] * gain;
            outputs[1][i] = inputs[1][i] * gain;
        }
        return renderResult;
    }
    void formatParameter(std::uint32_t index, char* text, float value) override {
        if (index < params.size()) std::snprintf(text, 32, "%.2f", value);
    }
    PlugCore::int32 getLatency() override { return latency; }

    using Plug::parameters;

    std::vector<std::string> log;
    std::vector<RenderCall> calls;
    double gain = 1.0;
    bool renderResult = true;
    PlugCore::int32 latency = 16;
};

}  // namespace testing_support
