#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/user_prompt.h"
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
// Without a display nobody can be asked: the text goes to the error stream and
// the question answers No, so a foreign chunk is never applied unasked.
TEST(UserPrompt, WithoutDisplayTextGoesToStderrAndQuestionsAnswerNo) {
    std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    std::string wayland = std::getenv("WAYLAND_DISPLAY") ? std::getenv("WAYLAND_DISPLAY") : "";
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    ::testing::internal::CaptureStderr();
    int question = PlugCore::platform::nativePrompt(PlugCore::platform::kPromptQuestion, "Tallow Reed",
                                                    "Trying to load a preset for \"X\"");
    int error = PlugCore::platform::nativePrompt(PlugCore::platform::kPromptError, "Tallow Reed error", "Bad");
    std::string text = ::testing::internal::GetCapturedStderr();
    if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
    if (!wayland.empty()) setenv("WAYLAND_DISPLAY", wayland.c_str(), 1);
    EXPECT_EQ(question, 0);
    EXPECT_EQ(error, 1);
    EXPECT_NE(text.find("Tallow Reed: Trying to load a preset for \"X\""), std::string::npos);
    EXPECT_NE(text.find("Tallow Reed error: Bad"), std::string::npos);
}
#endif
