#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <unistd.h>

#include "tools/render_tool/audio_file.h"
#include "tools/render_tool/demo_signal.h"

using RenderTool::AudioBuffer;

namespace {

std::string tempPath(const std::string& name) {
    return ::testing::TempDir() + "render_tool_" + std::to_string(::getpid()) + "_" + name;
}

void writeRaw(const std::string& path, int channels, int format, const std::vector<float>& interleaved) {
    SF_INFO info{};
    info.samplerate = 48000;
    info.channels = channels;
    info.format = format;
    SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(f, nullptr) << sf_strerror(nullptr);
    sf_writef_float(f, interleaved.data(),
                    static_cast<sf_count_t>(interleaved.size() / static_cast<std::size_t>(channels)));
    sf_close(f);
}

TEST(AudioFile, FloatWavRoundTripsExactly) {
    AudioBuffer a;
    a.sampleRate = 96000;
    a.resize(10000);
    for (std::size_t i = 0; i < a.frames(); ++i) {
        a.left[i] = std::sin(static_cast<float>(i) * 0.01f) * 1.5f;  // above full scale survives in float
        a.right[i] = -1e-30f * static_cast<float>(i);
    }
    const std::string path = tempPath("roundtrip.wav");
    std::string error;
    ASSERT_TRUE(RenderTool::writeFloatWav(path, a, error)) << error;
    AudioBuffer b;
    ASSERT_TRUE(RenderTool::readAudioFile(path, b, error)) << error;
    EXPECT_EQ(b.sampleRate, 96000);
    EXPECT_EQ(b.left, a.left);
    EXPECT_EQ(b.right, a.right);
    std::remove(path.c_str());
}

TEST(AudioFile, MonoFeedsBothChannelsInAnyReadableFormat) {
    for (int format :
         {SF_FORMAT_WAV | SF_FORMAT_PCM_16, SF_FORMAT_FLAC | SF_FORMAT_PCM_16, SF_FORMAT_AIFF | SF_FORMAT_PCM_24}) {
        const std::string path = tempPath("mono");
        writeRaw(path, 1, format, {0.5f, -0.25f, 0.125f, 0.0f});
        AudioBuffer a;
        std::string error;
        ASSERT_TRUE(RenderTool::readAudioFile(path, a, error)) << error;
        EXPECT_EQ(a.sampleRate, 48000);
        EXPECT_EQ(a.left, (std::vector<float>{0.5f, -0.25f, 0.125f, 0.0f}));
        EXPECT_EQ(a.right, a.left);
        std::remove(path.c_str());
    }
}

TEST(AudioFile, RefusesWhatItCannotRenderWithAReason) {
    const std::string three = tempPath("three.wav");
    writeRaw(three, 3, SF_FORMAT_WAV | SF_FORMAT_FLOAT, {0.1f, 0.2f, 0.3f});
    AudioBuffer a;
    std::string error;
    EXPECT_FALSE(RenderTool::readAudioFile(three, a, error));
    EXPECT_NE(error.find("3 channels"), std::string::npos) << error;

    const std::string empty = tempPath("empty.wav");
    writeRaw(empty, 2, SF_FORMAT_WAV | SF_FORMAT_FLOAT, {});
    EXPECT_FALSE(RenderTool::readAudioFile(empty, a, error));
    EXPECT_NE(error.find("no audio"), std::string::npos) << error;

    const std::string text = tempPath("text.wav");
    std::ofstream(text) << "this is not audio at all, just some words in a file\n";
    EXPECT_FALSE(RenderTool::readAudioFile(text, a, error));
    EXPECT_NE(error.find(text), std::string::npos) << error;

    EXPECT_FALSE(RenderTool::readAudioFile(tempPath("missing.wav"), a, error));
    EXPECT_NE(error.find("cannot read"), std::string::npos) << error;
    for (const auto& p : {three, empty, text}) std::remove(p.c_str());
}

TEST(AudioFile, WritingIntoAMissingFolderFailsCleanly) {
    AudioBuffer a;
    a.resize(4);
    std::string error;
    EXPECT_FALSE(RenderTool::writeFloatWav(tempPath("no/such/folder/out.wav"), a, error));
    EXPECT_NE(error.find("cannot create"), std::string::npos) << error;
}

TEST(AudioLevel, PeakAndRmsOverBothChannelsSkippingNonFinite) {
    AudioBuffer a;
    a.left = {0.5f, -1.0f, std::numeric_limits<float>::quiet_NaN()};
    a.right = {0.0f, 0.5f, std::numeric_limits<float>::infinity()};
    const RenderTool::Level level = RenderTool::measure(a);
    EXPECT_EQ(level.peak, 1.0);
    EXPECT_NEAR(level.rms, std::sqrt((0.25 + 1.0 + 0.0 + 0.25) / 4.0), 1e-12);
    EXPECT_EQ(level.nonFinite, 2u);
    EXPECT_EQ(RenderTool::measure(AudioBuffer{}).rms, 0.0);
}

TEST(DemoSignal, AFewSecondsOfAStereoChordBelowFullScale) {
    for (double rate : {44100.0, 96000.0}) {
        const AudioBuffer demo = RenderTool::makeDemoSignal(rate);
        EXPECT_EQ(demo.sampleRate, rate);
        EXPECT_NEAR(static_cast<double>(demo.frames()) / rate, 4.5, 0.01);
        const RenderTool::Level level = RenderTool::measure(demo);
        EXPECT_GT(level.peak, 0.1);
        EXPECT_LT(level.peak, 1.0);
        EXPECT_EQ(level.nonFinite, 0u);
        EXPECT_NE(demo.left, demo.right);
        // Both strums are heard: energy right after each one.
        for (double at : {0.1, 2.35}) {
            double energy = 0;
            for (std::size_t i = 0; i < 4410; ++i)
                energy += std::fabs(demo.left[static_cast<std::size_t>(at * rate) + i]);
            EXPECT_GT(energy / 4410, 0.01) << "at " << at << " s";
        }
        // It ends in silence rather than being cut off while it rings, and has no DC.
        for (const std::vector<float>* channel : {&demo.left, &demo.right}) {
            const auto lastTenth = static_cast<std::size_t>(0.1 * rate);
            float tail = 0;
            for (std::size_t i = channel->size() - lastTenth; i < channel->size(); ++i)
                tail = std::fmax(tail, std::fabs((*channel)[i]));
            EXPECT_LT(tail, 0.002f);
            EXPECT_EQ(channel->back(), 0.0f);
            double sum = 0;
            for (float x : *channel) sum += x;
            EXPECT_LT(std::fabs(sum / static_cast<double>(channel->size())), 0.001);
        }
    }
    EXPECT_EQ(RenderTool::makeDemoSignal(44100).left, RenderTool::makeDemoSignal(44100).left);
}

}  // namespace
