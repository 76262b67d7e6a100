#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/user_prompt.h"
#include "scoped_env.h"
#include "state_fixture.h"

using StateTest::PromptRecorder;

TEST(UserPrompt, InstalledAnswererSeesKindTitleAndText) {
    PromptRecorder yes(1);
    PlugCore::showError("Title", "Something broke");
    EXPECT_TRUE(PlugCore::askYesNo("Effect", "Go on?"));
    ASSERT_EQ(yes.prompts.size(), 2u);
    EXPECT_EQ(yes.prompts[0].kind, PlugCore::platform::kPromptError);
    EXPECT_EQ(yes.prompts[0].title, "Title");
    EXPECT_EQ(yes.prompts[0].text, "Something broke");
    EXPECT_EQ(yes.prompts[1].kind, PlugCore::platform::kPromptQuestion);
    PromptRecorder no(0);
    EXPECT_FALSE(PlugCore::askYesNo("Effect", "Go on?"));
}

TEST(UserPrompt, TestProgramsExportNoAnswerer) {
    EXPECT_EQ(PlugCore::platform::hostPromptAnswer(), nullptr);
}

#ifndef _WIN32
using TallowTest::ScopedEnv;

namespace {

struct PromptResult {
    int answer;
    std::string stderrText;
};

PromptResult prompt(int kind, const char* text) {
    ::testing::internal::CaptureStderr();
    const int answer = PlugCore::platform::nativePrompt(kind, "Tallow Reed", text);
    return {answer, ::testing::internal::GetCapturedStderr()};
}

}  // namespace

using PlugCore::platform::kPromptError;
using PlugCore::platform::kPromptQuestion;

// Without a display nobody can be asked: the text goes to the error stream and
// the question answers No, so a foreign chunk is never applied unasked.
TEST(UserPrompt, WithoutDisplayTextGoesToStderrAndQuestionsAnswerNo) {
    ScopedEnv display("DISPLAY", nullptr), wayland("WAYLAND_DISPLAY", nullptr);
    const PromptResult question = prompt(kPromptQuestion, "Trying to load a preset for \"X\"");
    const PromptResult error = prompt(kPromptError, "Bad");
    EXPECT_EQ(question.answer, 0);
    EXPECT_EQ(error.answer, 1);
    EXPECT_NE(question.stderrText.find("Tallow Reed: Trying to load a preset for \"X\""), std::string::npos);
    EXPECT_NE(error.stderrText.find("Tallow Reed: Bad"), std::string::npos);
}

// The only dialog program found is a stand-in for xmessage that exits with
// the status it is told to: its button statuses are answers, and anything
// else (1 is what it gives when the display cannot be opened) means the text
// was never seen, so it goes to the error stream.
TEST(UserPrompt, DialogThatCannotOpenTheDisplayLeavesTheTextOnStderr) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("tallow-dialogs-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::filesystem::path fake = folder / "xmessage";
    std::ofstream(fake) << "#!/bin/sh\nexit \"$FAKE_DIALOG_STATUS\"\n";
    std::filesystem::permissions(fake, std::filesystem::perms::owner_all);
    ScopedEnv display("DISPLAY", ":93"), path("PATH", folder.c_str());

    {
        ScopedEnv status("FAKE_DIALOG_STATUS", "1");
        const PromptResult error = prompt(kPromptError, "Chunk appears corrupted.");
        EXPECT_EQ(error.answer, 1);
        EXPECT_NE(error.stderrText.find("Tallow Reed: Chunk appears corrupted."), std::string::npos);
        const PromptResult question = prompt(kPromptQuestion, "Load it?");
        EXPECT_EQ(question.answer, 0);
        EXPECT_NE(question.stderrText.find("Load it?"), std::string::npos);
    }
    {
        ScopedEnv status("FAKE_DIALOG_STATUS", "10");
        EXPECT_EQ(prompt(kPromptQuestion, "Load it?").answer, 1);
        EXPECT_EQ(prompt(kPromptError, "Shown").stderrText, "");
    }
    {
        ScopedEnv status("FAKE_DIALOG_STATUS", "11");
        const PromptResult no = prompt(kPromptQuestion, "Load it?");
        EXPECT_EQ(no.answer, 0);
        EXPECT_EQ(no.stderrText, "");
    }
    std::filesystem::remove_all(folder);
}
#endif
