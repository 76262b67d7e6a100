#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "tools/render_tool/options.h"

using RenderTool::RenderOptions;

namespace {

struct Parsed {
    bool ok;
    RenderOptions options;
    std::string error;
};

Parsed parse(std::initializer_list<const char*> words) {
    std::vector<const char*> argv{"tallow-render"};
    argv.insert(argv.end(), words);
    Parsed p;
    p.ok = RenderTool::parseOptions(static_cast<int>(argv.size()), argv.data(), p.options, p.error);
    return p;
}

TEST(RenderOptions, ReadsEveryOptionInBothForms) {
    Parsed p = parse({"--module",  "m.so",        "--output=o.wav", "--input", "in.flac",  "--program", "3",   "--set",
                      "depth=0.7", "--set=Wet=1", "--block",        "64",      "--double", "--tail",    "2.5", "--yes",
                      "--preset",  "a.fxp",       "--save-preset",  "b.fxb"});
    ASSERT_TRUE(p.ok) << p.error;
    const RenderOptions& o = p.options;
    EXPECT_EQ(o.modulePath, "m.so");
    EXPECT_EQ(o.outputPath, "o.wav");
    EXPECT_EQ(o.inputPath, "in.flac");
    EXPECT_EQ(o.program, 3);
    ASSERT_EQ(o.settings.size(), 2u);
    EXPECT_EQ(o.settings[0].first, "depth");
    EXPECT_FLOAT_EQ(o.settings[0].second, 0.7f);
    EXPECT_EQ(o.settings[1].first, "Wet");
    EXPECT_EQ(o.settings[1].second, 1.0f);
    EXPECT_EQ(o.blockSize, 64);
    EXPECT_TRUE(o.doublePrecision);
    EXPECT_EQ(o.tailSeconds, 2.5);
    EXPECT_TRUE(o.answerYes);
    EXPECT_EQ(o.presetPath, "a.fxp");
    EXPECT_EQ(o.savePresetPath, "b.fxb");
}

TEST(RenderOptions, DefaultsNeedOnlyModuleAndOutput) {
    Parsed p = parse({"--module", "m.so", "--output", "o.wav"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.blockSize, 512);
    EXPECT_FALSE(p.options.doublePrecision);
    EXPECT_FALSE(p.options.program.has_value());
    EXPECT_FALSE(p.options.sampleRate.has_value());
    EXPECT_TRUE(p.options.inputPath.empty());
}

TEST(RenderOptions, RefusesBadValuesWithTheOptionNamed) {
    struct Case {
        std::initializer_list<const char*> words;
        const char* mentions;
    };
    const Case cases[] = {
        {{"--set", "depth"}, "name=value"},  {{"--set", "=0.5"}, "name=value"},
        {{"--set", "depth=1.5"}, "depth"},   {{"--set", "depth=-0.1"}, "depth"},
        {{"--set", "depth=abc"}, "abc"},     {{"--set", "depth=nan"}, "nan"},
        {{"--set", "depth=0.5x"}, "0.5x"},   {{"--set", "depth="}, "depth"},
        {{"--block", "0"}, "--block"},       {{"--block", "65537"}, "--block"},
        {{"--block", "1.5"}, "--block"},     {{"--tail", "-1"}, "--tail"},
        {{"--tail", "inf"}, "--tail"},       {{"--program", "-1"}, "--program"},
        {{"--program", "two"}, "--program"}, {{"--rate", "100"}, "--rate"},
        {{"--rate", " 44100"}, "--rate"},    {{"--save-preset", "state.bin"}, ".fxp"},
        {{"--double=1"}, "takes no value"},  {{"--colour", "red"}, "unknown option --colour"},
        {{"stray"}, "unexpected argument"},  {{"--input"}, "needs a value"},
    };
    for (const Case& c : cases) {
        std::vector<const char*> words{"--module", "m.so", "--output", "o.wav"};
        words.insert(words.end(), c.words);
        std::vector<const char*> argv{"tallow-render"};
        argv.insert(argv.end(), words.begin(), words.end());
        RenderOptions o;
        std::string error;
        EXPECT_FALSE(RenderTool::parseOptions(static_cast<int>(argv.size()), argv.data(), o, error)) << c.mentions;
        EXPECT_NE(error.find(c.mentions), std::string::npos) << "error \"" << error << "\" lacks " << c.mentions;
    }
}

TEST(RenderOptions, RequiresModuleAndOutputAndKeepsRateForTheBuiltInSignal) {
    EXPECT_NE(parse({"--output", "o.wav"}).error.find("no module"), std::string::npos);
    EXPECT_NE(parse({"--module", "m.so"}).error.find("no output"), std::string::npos);
    Parsed withFile = parse({"--module", "m.so", "--output", "o.wav", "--input", "a.wav", "--rate", "48000"});
    EXPECT_FALSE(withFile.ok);
    EXPECT_NE(withFile.error.find("--rate"), std::string::npos);
    Parsed generated = parse({"--module", "m.so", "--output", "o.wav", "--rate", "48000"});
    ASSERT_TRUE(generated.ok) << generated.error;
    EXPECT_EQ(generated.options.sampleRate, 48000.0);
}

TEST(RenderOptions, HelpNeedsNothingElseAndListsEveryOption) {
    Parsed p = parse({"--help"});
    ASSERT_TRUE(p.ok);
    EXPECT_TRUE(p.options.showHelp);
    const std::string usage = RenderTool::usageText();
    for (const char* name : {"--module", "--input", "--output", "--program", "--set", "--rate", "--block", "--double",
                             "--tail", "--preset", "--save-preset", "--yes"})
        EXPECT_NE(usage.find(name), std::string::npos) << name;
}

}  // namespace
