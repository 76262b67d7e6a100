// A HostLink that records what the core tells its host, for tests that drive
// an effect without any plug-in format around it.
#pragma once

#include <cstdint>
#include <vector>

#include "core/host_link.h"

namespace testing_support {

class RecordingHost final : public PlugCore::HostLink {
public:
    enum Kind { Begin, End, Automate, UpdateDisplay };
    struct Call {
        Kind kind;
        std::int32_t index;
        float value;
    };

    void beginEdit(std::int32_t index) override { calls.push_back({Begin, index, 0.0f}); }
    void endEdit(std::int32_t index) override { calls.push_back({End, index, 0.0f}); }
    void automate(std::int32_t index, float value) override { calls.push_back({Automate, index, value}); }
    void updateDisplay() override { calls.push_back({UpdateDisplay, 0, 0.0f}); }
    bool getTime(PlugCore::HostTime& t) override {
        ++timeQueries;
        if (giveTime) t = time;
        return giveTime;
    }

    int count(Kind kind) const {
        int n = 0;
        for (const Call& c : calls) n += c.kind == kind;
        return n;
    }

    std::vector<Call> calls;
    bool giveTime = false;  // answer getTime with `time`
    PlugCore::HostTime time;
    int timeQueries = 0;
};

}  // namespace testing_support
