// The processor as the host reaches it: through Reed and the core's block
// driver, in single and double precision.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "effect/reed.h"
#include "effect/reed_parameters.h"
#include "processor_harness.h"

namespace {

std::unique_ptr<Reed> startedEffect(float rate, PlugCore::int32 block) {
    auto reed = std::make_unique<Reed>(nullptr);
    reed->setSampleRate(rate);
    reed->setBlockSize(block);
    reed->resume();
    return reed;
}

TEST(ReedProcessing, SingleAndDoublePrecisionPathsAgree) {
    auto single = startedEffect(48000.0f, 256);
    auto twin = startedEffect(48000.0f, 256);
    const ReedTest::Stereo source = ReedTest::noise(256 * 40, 0.9);
    std::vector<float> inL(256), inR(256), outL(256), outR(256);
    std::vector<double> dInL(256), dInR(256), dOutL(256), dOutR(256);
    double loudest = 0.0;
    for (std::size_t block = 0; block < 40; ++block) {
        for (std::size_t i = 0; i < 256; ++i) {
            inL[i] = static_cast<float>(source.left[block * 256 + i]);
            inR[i] = static_cast<float>(source.right[block * 256 + i]);
            dInL[i] = inL[i], dInR[i] = inR[i];
        }
        float* in[2] = {inL.data(), inR.data()};
        float* out[2] = {outL.data(), outR.data()};
        double* dIn[2] = {dInL.data(), dInR.data()};
        double* dOut[2] = {dOutL.data(), dOutR.data()};
        single->processReplacing(in, out, 256);
        twin->processDoubleReplacing(dIn, dOut, 256);
        for (std::size_t i = 0; i < 256; ++i) {
            ASSERT_EQ(outL[i], static_cast<float>(dOutL[i])) << block << ":" << i;
            ASSERT_EQ(outR[i], static_cast<float>(dOutR[i])) << block << ":" << i;
            loudest = std::max(loudest, std::fabs(dOutL[i]));
        }
    }
    EXPECT_GT(loudest, 0.1);
}

TEST(ReedProcessing, ABlockSizeRaisedWithoutAResumeNeverOverrunsThePreparedBuffers) {
    auto reed = startedEffect(44100.0f, 32);
    reed->setBlockSize(2048);  // no resume follows
    std::vector<float> inL(2048, 0.5f), inR(2048, -0.5f), outL(2048, 3.0f), outR(2048, 3.0f);
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {outL.data(), outR.data()};
    reed->processReplacing(in, out, 2048);
    for (std::size_t i = 0; i < 2048; ++i) ASSERT_EQ(outL[i], 0.0f) << i;
    // The next resume prepares for the new size and the sound returns.
    reed->resume();
    for (int k = 0; k < 4; ++k) reed->processReplacing(in, out, 2048);
    EXPECT_NE(outL[1000], 0.0f);
}

TEST(ReedProcessing, ParameterChangesReachTheProcessor) {
    auto reed = startedEffect(44100.0f, 64);
    reed->setParameter(ReedParams::kWet, 0.0f);
    std::vector<float> inL(64, 0.25f), inR(64, 0.25f), outL(64), outR(64);
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {outL.data(), outR.data()};
    for (int k = 0; k < 20; ++k) reed->processReplacing(in, out, 64);
    EXPECT_EQ(outL[10], 0.25f);  // dry alone once the fade-in is over
}

}  // namespace
