// The sixteen factory programs rendered through the effect's double-precision
// process call, compared with a recording of the same rendering: a faster
// processor may add in a different order, but it must not move the sound.
//
// To record afresh (only when the sound is meant to change), run the test
// with TALLOW_RECORD_FACTORY=<file> and check the file in as
// factory_rendering.inc.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "effect/reed.h"

namespace {

struct Probe {
    double left;
    double right;
};

constexpr int kPrograms = 16;
constexpr int kProbes = 16;

const Probe kRecorded[kPrograms][kProbes] = {
#include "factory_rendering.inc"
};

vst::VstIntPtr quietHost(vst::AEffect*, vst::int32 opcode, vst::int32, vst::VstIntPtr, void*, float) {
    return opcode == vst::audioMasterVersion ? 2400 : 0;
}

// A small generator of its own, so that every library gives the same signal.
double nextNoise(std::uint64_t& state) {
    state = state * 6364136223846793005u + 1442695040888963407u;
    return static_cast<double>(state >> 11) / 9007199254740992.0 - 0.5;
}

constexpr std::size_t kFrames = 44100;
constexpr std::uint32_t kBlock = 512;

std::size_t probeFrame(int k) { return 2000 + 2625 * static_cast<std::size_t>(k); }

std::vector<Probe> renderProgram(int program) {
    auto reed = std::make_unique<Reed>(quietHost);
    reed->setSampleRate(44100.0f);
    reed->setBlockSize(kBlock);
    reed->setProgram(program);
    reed->resume();
    std::vector<double> left(kFrames), right(kFrames), outL(kFrames), outR(kFrames);
    std::uint64_t state = 12345 + static_cast<std::uint64_t>(program);
    for (std::size_t i = 0; i < kFrames; ++i) left[i] = nextNoise(state), right[i] = nextNoise(state);
    for (std::size_t at = 0; at < kFrames; at += kBlock) {
        const auto n = static_cast<vst::int32>(std::min<std::size_t>(kBlock, kFrames - at));
        double* in[2] = {left.data() + at, right.data() + at};
        double* out[2] = {outL.data() + at, outR.data() + at};
        reed->processDoubleReplacing(in, out, n);
    }
    std::vector<Probe> probes;
    for (int k = 0; k < kProbes; ++k) probes.push_back({outL[probeFrame(k)], outR[probeFrame(k)]});
    return probes;
}

TEST(FactoryRendering, EveryProgramSoundsAsRecordedWithinOneBillionthOfFullScale) {
    const char* recordTo = std::getenv("TALLOW_RECORD_FACTORY");
    std::FILE* record = recordTo ? std::fopen(recordTo, "w") : nullptr;
    double worst = 0.0;
    for (int p = 0; p < kPrograms; ++p) {
        const std::vector<Probe> probes = renderProgram(p);
        if (record) std::fprintf(record, "{");
        for (int k = 0; k < kProbes; ++k) {
            if (record) std::fprintf(record, "{%a, %a},%s", probes[k].left, probes[k].right, k % 2 ? "\n" : " ");
            worst = std::max({worst, std::fabs(probes[k].left - kRecorded[p][k].left),
                              std::fabs(probes[k].right - kRecorded[p][k].right)});
            EXPECT_NEAR(probes[k].left, kRecorded[p][k].left, 1e-9) << "program " << p << ", probe " << k;
            EXPECT_NEAR(probes[k].right, kRecorded[p][k].right, 1e-9) << "program " << p << ", probe " << k;
        }
        if (record) std::fprintf(record, "},\n");
    }
    if (record) std::fclose(record);
    char text[32];
    std::snprintf(text, sizeof text, "%.3g", worst);
    RecordProperty("worst", text);
}

}  // namespace
