// tallow-render --midi end to end: a MIDI file's controller and program
// changes reach a module built on the plug-in core at their exact frames,
// and the host hears no automation for them.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/parameter_table.h"
#include "effect/reed.h"
#include "effect/reed_parameters.h"
#include "formats/vst2/plug_shell.h"
#include "tools/render_tool/audio_file.h"
#include "tools/render_tool/hosted_effect.h"
#include "tools/render_tool/preset_file.h"
#include "tools/render_tool/session.h"

namespace {

namespace fs = std::filesystem;

// 480 ticks a quarter at the default 120 bpm: 960 ticks a second, 50 frames a tick at 48 kHz.
std::vector<std::uint8_t> sweepFile() {
    const std::vector<std::uint8_t> body{0x64, 0xB3, 0x07, 0x7F,  // tick 100: CC 7 = 127 on channel 4   -> frame 5000
                                         0x64, 0x07, 0x00,        // tick 200: CC 7 = 0 (running status) -> frame 10000
                                         0x81, 0x05, 0x07, 0x40,  // tick 333: CC 7 = 64                 -> frame 16650
                                         0x81, 0x27, 0xC0, 0x03,  // tick 500: program change 3          -> frame 25000
                                         0x00, 0xFF, 0x2F, 0x00};
    std::vector<std::uint8_t> f{'M', 'T',  'h',  'd', 0,   0,   0,   6, 0, 0, 0,
                                1,   0x01, 0xE0, 'M', 'T', 'r', 'k', 0, 0, 0, static_cast<std::uint8_t>(body.size())};
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

    std::string write(const char* name, const std::vector<std::uint8_t>& bytes) {
        const std::string path = (dir / name).string();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    int render(const std::vector<std::uint8_t>& midi, const char* block) {
        const std::string midiPath = write("in.mid", midi);
        output = (dir / "out.wav").string();
        const char* argv[] = {
            "tallow-render", "--module", MIDI_PROBE_MODULE, "--midi", midiPath.c_str(), "--output", output.c_str(),
            "--rate",        "48000",    "--tail",          "0",      "--block",        block};
        return RenderTool::runRenderTool(static_cast<int>(std::size(argv)), argv);
    }

    RenderTool::AudioBuffer renderReed(std::vector<const char*> extra, const char* name) {
        const std::string out = (dir / name).string();
        std::vector<const char*> argv{"tallow-render", "--module", REED_MODULE, "--output", out.c_str(),
                                      "--rate",        "48000",    "--tail",    "0"};
        argv.insert(argv.end(), extra.begin(), extra.end());
        EXPECT_EQ(RenderTool::runRenderTool(static_cast<int>(argv.size()), argv.data()), 0);
        RenderTool::AudioBuffer audio;
        std::string error;
        EXPECT_TRUE(RenderTool::readAudioFile(out, audio, error)) << error;
        return audio;
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

// A program file whose chunk holds the effect's name and one mapping record:
// the wet parameter answers controller 7.
std::vector<std::uint8_t> wetOnController7() {
    RenderTool::Bytes chunk{0x75, 0x3D, 0x8C, 0x28, 5, 0, 0, 0, 4};
    std::string name(Reed::kName);
    name.resize(31, '\0');
    for (char c : name) chunk.push_back(static_cast<std::uint8_t>(c));
    for (std::uint8_t b :
         {std::uint8_t{1}, static_cast<std::uint8_t>(ReedParams::kWet), std::uint8_t{0x07}, std::uint8_t{0xB0}})
        chunk.push_back(b);
    RenderTool::PresetFile preset;
    preset.fxID = Vst2::hashName(Reed::kName);
    preset.fxVersion = 1;
    preset.count = ReedParams::kCount;
    preset.programName = "wet on CC 7";
    preset.chunk = chunk;
    return RenderTool::buildPreset(preset);
}

TEST_F(MidiRender, MappedControllerMovesTheRealEffectAtItsFrame) {
    const std::string preset = write("mapped.fxp", wetOnController7());
    const std::string midi = write("sweep.mid", sweepFile());
    const RenderTool::AudioBuffer plain = renderReed({"--preset", preset.c_str()}, "plain.wav");
    const RenderTool::AudioBuffer swept = renderReed({"--preset", preset.c_str(), "--midi", midi.c_str()}, "swept.wav");
    EXPECT_EQ(RenderTool::hostCallCounts().automate, 0u);
    ASSERT_EQ(plain.frames(), swept.frames());
    ASSERT_GT(plain.frames(), 6000u);
    // The effect's output at a frame carries the input of Reed::kLatency frames
    // before, so in the latency-compensated file the change shows that much earlier.
    const std::size_t change = 5000 - Reed::kLatency;
    for (std::size_t i = 0; i < change; ++i) {
        ASSERT_EQ(plain.left[i], swept.left[i]) << i;
        ASSERT_EQ(plain.right[i], swept.right[i]) << i;
    }
    double moved = 0;
    for (std::size_t i = change; i < change + 64; ++i)
        moved = std::max<double>(moved, std::fabs(plain.left[i] - swept.left[i]));
    EXPECT_GT(moved, 1e-6);
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
