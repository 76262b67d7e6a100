// The sixteen factory programs rendered through the effect's double-precision
// process call: a faster processor may add in a different order, but it must
// not move the sound. Compared with the plain tick-by-tick rendering of the
// same settings, and, where the C library is the one the recording was made
// with (its power and cosine functions shape the settings), with a recording.
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
#include "effect/reed_parameters.h"
#include "reference_processor.h"

namespace {

// A small generator of its own, so that every library gives the same signal.
double nextNoise(std::uint64_t& state) {
    state = state * 6364136223846793005u + 1442695040888963407u;
    return static_cast<double>(state >> 11) / 9007199254740992.0 - 0.5;
}

constexpr int kPrograms = 16;
constexpr std::size_t kFrames = 44100;
constexpr std::uint32_t kBlock = 512;

struct Rendering {
    std::vector<double> left, right;
};

Rendering noiseInput(int program) {
    Rendering in{std::vector<double>(kFrames), std::vector<double>(kFrames)};
    std::uint64_t state = 12345 + static_cast<std::uint64_t>(program);
    for (std::size_t i = 0; i < kFrames; ++i) in.left[i] = nextNoise(state), in.right[i] = nextNoise(state);
    return in;
}

Rendering renderProgram(int program) {
    auto reed = std::make_unique<Reed>(nullptr);
    reed->setSampleRate(44100.0f);
    reed->setBlockSize(kBlock);
    reed->setProgram(program);
    reed->resume();
    Rendering in = noiseInput(program);
    Rendering out{std::vector<double>(kFrames), std::vector<double>(kFrames)};
    for (std::size_t at = 0; at < kFrames; at += kBlock) {
        const auto n = static_cast<PlugCore::int32>(std::min<std::size_t>(kBlock, kFrames - at));
        double* i[2] = {in.left.data() + at, in.right.data() + at};
        double* o[2] = {out.left.data() + at, out.right.data() + at};
        reed->processDoubleReplacing(i, o, n);
    }
    return out;
}

Rendering renderPlainly(int program) {
    const auto reed = std::make_unique<Reed>(nullptr);
    const float* v = reed->program(program).values.get();
    using namespace ReedParams;
    const ReedDsp::Settings settings{v[kDelay], v[kRate],  v[kDepth],  v[kSpread], v[kPhase],
                                     v[kWet],   v[kShape], v[kInvert], v[kRange]};
    ReedTest::ReferenceProcessor plain(ReedDsp::InterpolationTable::shared());
    plain.prepare(44100.0f, kBlock);
    plain.reset();
    const Rendering in = noiseInput(program);
    Rendering out{std::vector<double>(kFrames), std::vector<double>(kFrames)};
    for (std::size_t at = 0; at < kFrames; at += kBlock) {
        const auto n = static_cast<std::uint32_t>(std::min<std::size_t>(kBlock, kFrames - at));
        const double* i[2] = {in.left.data() + at, in.right.data() + at};
        double* o[2] = {out.left.data() + at, out.right.data() + at};
        plain.render(at == 0, settings, i, o, n);
    }
    return out;
}

TEST(FactoryRendering, EveryProgramSoundsAsThePlainRenderingWithinOneBillionthOfFullScale) {
    for (int p = 0; p < kPrograms; ++p) {
        const Rendering out = renderProgram(p), expected = renderPlainly(p);
        double worst = 0.0;
        for (std::size_t i = 0; i < kFrames; ++i)
            worst = std::max(
                {worst, std::fabs(out.left[i] - expected.left[i]), std::fabs(out.right[i] - expected.right[i])});
        EXPECT_LE(worst, 1e-9) << "program " << p;
    }
}

#if defined(__GLIBC__)

struct Probe {
    double left;
    double right;
};

constexpr int kProbes = 16;

const Probe kRecorded[kPrograms][kProbes] = {
#include "factory_rendering.inc"
};

std::size_t probeFrame(int k) { return 2000 + 2625 * static_cast<std::size_t>(k); }

TEST(FactoryRendering, EveryProgramSoundsAsRecordedWithinOneBillionthOfFullScale) {
    const char* recordTo = std::getenv("TALLOW_RECORD_FACTORY");
    std::FILE* record = recordTo ? std::fopen(recordTo, "w") : nullptr;
    double worst = 0.0;
    for (int p = 0; p < kPrograms; ++p) {
        const Rendering out = renderProgram(p);
        std::vector<Probe> probes;
        for (int k = 0; k < kProbes; ++k) probes.push_back({out.left[probeFrame(k)], out.right[probeFrame(k)]});
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
#endif

}  // namespace
