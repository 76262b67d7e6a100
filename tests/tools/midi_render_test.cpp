// tallow-render --midi end to end: a MIDI file's controller and program
// changes reach a module built on the plug-in core at their exact frames,
// and the host hears no automation for them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/parameter_table.h"
#include "tools/render_tool/audio_file.h"
#include "tools/render_tool/hosted_effect.h"
#include "tools/render_tool/session.h"

namespace {

namespace fs = std::filesystem;

// 480 ticks a quarter at the default 120 bpm: 960 ticks a second, 50 frames a tick at 48 kHz.
std::vector<std::uint8_t> sweepFile() {
    const std::vector<std::uint8_t> body{
        0x64, 0xB3, 0x07, 0x7F,        // tick 100: CC 7 = 127 on channel 4   -> frame 5000
        0x64, 0x07, 0x00,              // tick 200: CC 7 = 0 (running status) -> frame 10000
        0x81, 0x05, 0x07, 0x40,        // tick 333: CC 7 = 64                 -> frame 16650
        0x81, 0x27, 0xC0, 0x03,        // tick 500: program change 3          -> frame 25000
        0x00, 0xFF, 0x2F, 0x00};
    std::vector<std::uint8_t> f{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0, 'M', 'T', 'r', 'k', 0, 0, 0,
                                static_cast<std::uint8_t>(body.size())};
    for (std::uint8_t b : body) f.push_back(b);
    return f;
}

class MidiRender : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        dir = fs::temp_directory_path() / ("tallow_midi_render_" + test + "_" + std::to_string(std::random_device{}()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    int render(const std::vector<std::uint8_t>& midi, const char* block) {
        const std::string midiPath = (dir / "in.mid").string();
        std::ofstream(midiPath, std::ios::binary).write(reinterpret_cast<const char*>(midi.data()),
                                                         static_cast<std::streamsize>(midi.size()));
        output = (dir / "out.wav").string();
        const char* argv[] = {"tallow-render", "--module", MIDI_PROBE_MODULE, "--midi", midiPath.c_str(),
                              "--output",      output.c_str(), "--rate", "48000", "--tail", "0", "--block", block};
        return RenderTool::runRenderTool(static_cast<int>(std::size(argv)), argv);
    }

    fs::path dir;
    std::string output;
};

TEST_F(MidiRender, ControllerAndProgramChangesLandAtTheirFrames) {
    for (const char* block : {"512", "64", "4096"}) {
        ASSERT_EQ(render(sweepFile(), block), 0) << block;
        RenderTool::AudioBuffer audio;
        std::string error;
        ASSERT_TRUE(RenderTool::readAudioFile(output, audio, error)) << error;
        ASSERT_GT(audio.frames(), 25000u);
        const float half = PlugCore::quantise(64 * 0.007874016f);
        EXPECT_EQ(audio.left[4999], 0.0f) << block;
        EXPECT_EQ(audio.left[5000], 1.0f) << block;
        EXPECT_EQ(audio.left[9999], 1.0f) << block;
        EXPECT_EQ(audio.left[10000], 0.0f) << block;
        EXPECT_EQ(audio.left[16649], 0.0f) << block;
        EXPECT_EQ(audio.left[16650], half) << block;
        EXPECT_EQ(audio.right[24999], 0.5f) << block;
        EXPECT_EQ(audio.right[25000], PlugCore::quantise(0.25f)) << block;
        EXPECT_EQ(audio.left[25000], 0.0f) << block;  // program 3's own value; the mapping stays
        EXPECT_EQ(audio.left[24999], half) << block;
        EXPECT_EQ(RenderTool::hostCallCounts().automate, 0u) << block;
        EXPECT_EQ(RenderTool::hostCallCounts().updateDisplay, 1u) << block;
    }
}

TEST_F(MidiRender, MalformedFileIsAClearError) {
    std::vector<std::uint8_t> broken = sweepFile();
    broken.resize(broken.size() - 6);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(render(broken, "512"), 1);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("MIDI file"), std::string::npos) << err;
    EXPECT_NE(err.find("runs past the end of the file"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(output));
}

}  // namespace
