#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/scoped_env.h"
#include "services/platform/platform.h"
#include "services/user_prompt.h"

namespace {

struct Prompt {
    int kind;
    std::string title;
    std::string text;
};

std::vector<Prompt> prompts;
int answer = 0;

int record(int kind, const char* title, const char* text) {
    prompts.push_back({kind, title, text});
    return answer;
}

// Installs the recorder for one test and takes it out again, so no later
// prompt of this program could wait for a person.
class UserPrompt : public ::testing::Test {
protected:
    void SetUp() override {
        prompts.clear();
        Services::setPromptAnswerer(record);
    }
    void TearDown() override { Services::setPromptAnswerer(nullptr); }
};

}  // namespace

TEST_F(UserPrompt, InstalledAnswererSeesKindTitleAndText) {
    answer = 1;
    Services::showError("Title", "Something broke");
    EXPECT_TRUE(Services::askYesNo("Effect", "Go on?"));
    EXPECT_TRUE(Services::askOkCancel("Editor", "Replace it?", nullptr));
    ASSERT_EQ(prompts.size(), 3u);
    EXPECT_EQ(prompts[0].kind, Services::kPromptError);
    EXPECT_EQ(prompts[0].title, "Title");
    EXPECT_EQ(prompts[0].text, "Something broke");
    EXPECT_EQ(prompts[1].kind, Services::kPromptQuestion);
    EXPECT_EQ(prompts[2].kind, Services::kPromptOkCancel);
    EXPECT_EQ(prompts[2].text, "Replace it?");
    answer = 0;
    EXPECT_FALSE(Services::askYesNo("Effect", "Go on?"));
    EXPECT_FALSE(Services::askOkCancel("Editor", "Replace it?", nullptr));
}

TEST(UserPromptHost, TestProgramsExportNoAnswerer) { EXPECT_EQ(Services::platform::hostPromptAnswer(), nullptr); }

#ifndef _WIN32
using TallowTest::ScopedEnv;

namespace {

struct PromptResult {
    int answer;
    std::string stderrText;
};

PromptResult nativePrompt(int kind, const char* text) {
    ::testing::internal::CaptureStderr();
    const int answer = Services::platform::nativePrompt(kind, "Tallow Reed", text, nullptr);
    return {answer, ::testing::internal::GetCapturedStderr()};
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

using Services::kPromptError;
using Services::kPromptOkCancel;
using Services::kPromptQuestion;

// Without a display nobody can be asked: the text goes to the error stream and
// questions answer No (Cancel), so a foreign chunk is never applied unasked.
TEST(NativePrompt, WithoutDisplayTextGoesToStderrAndQuestionsAnswerNo) {
    ScopedEnv display("DISPLAY", nullptr), wayland("WAYLAND_DISPLAY", nullptr);
    const PromptResult question = nativePrompt(kPromptQuestion, "Trying to load a preset for \"X\"");
    const PromptResult confirmation = nativePrompt(kPromptOkCancel, "Replace the bank?");
    const PromptResult error = nativePrompt(kPromptError, "Bad");
    EXPECT_EQ(question.answer, 0);
    EXPECT_EQ(confirmation.answer, 0);
    EXPECT_EQ(error.answer, 1);
    EXPECT_NE(question.stderrText.find("Tallow Reed: Trying to load a preset for \"X\""), std::string::npos);
    EXPECT_NE(confirmation.stderrText.find("Replace the bank?\n(nobody could be asked: answered Cancel)"),
              std::string::npos);
    EXPECT_NE(error.stderrText.find("Tallow Reed: Bad"), std::string::npos);
}

// The only dialog program found is a stand-in for xmessage that notes its
// arguments and exits with the status it is told to: its button statuses are
// answers, and anything else (1 is what it gives when the display cannot be
// opened) means the text was never seen, so it goes to the error stream.
TEST(NativePrompt, DialogStatusesAreAnswersAndAnythingElseLeavesTheTextOnStderr) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("tallow-dialogs-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::filesystem::path fake = folder / "xmessage", arguments = folder / "arguments";
    std::ofstream(fake) << "#!/bin/sh\necho \"$@\" > \"$FAKE_DIALOG_ARGUMENTS\"\nexit \"$FAKE_DIALOG_STATUS\"\n";
    std::filesystem::permissions(fake, std::filesystem::perms::owner_all);
    ScopedEnv display("DISPLAY", ":93"), path("PATH", folder.c_str()), log("FAKE_DIALOG_ARGUMENTS", arguments.c_str());

    {
        ScopedEnv status("FAKE_DIALOG_STATUS", "1");
        const PromptResult error = nativePrompt(kPromptError, "Chunk appears corrupted.");
        EXPECT_EQ(error.answer, 1);
        EXPECT_NE(error.stderrText.find("Tallow Reed: Chunk appears corrupted."), std::string::npos);
        const PromptResult question = nativePrompt(kPromptQuestion, "Load it?");
        EXPECT_EQ(question.answer, 0);
        EXPECT_NE(question.stderrText.find("Load it?"), std::string::npos);
    }
    {
        ScopedEnv status("FAKE_DIALOG_STATUS", "10");
        EXPECT_EQ(nativePrompt(kPromptQuestion, "Load it?").answer, 1);
        EXPECT_NE(readFile(arguments).find("-buttons Yes:10,No:11 -default No"), std::string::npos);
        EXPECT_EQ(nativePrompt(kPromptOkCancel, "Replace it?").answer, 1);
        EXPECT_NE(readFile(arguments).find("-buttons OK:10,Cancel:11 -default Cancel"), std::string::npos);
        EXPECT_EQ(nativePrompt(kPromptError, "Shown").stderrText, "");
    }
    {
        ScopedEnv status("FAKE_DIALOG_STATUS", "11");
        const PromptResult no = nativePrompt(kPromptQuestion, "Load it?");
        EXPECT_EQ(no.answer, 0);
        EXPECT_EQ(no.stderrText, "");
        EXPECT_EQ(nativePrompt(kPromptOkCancel, "Replace it?").answer, 0);
    }
    std::filesystem::remove_all(folder);
}

// The desktop's dialog programs, each found alone: with a prompt parent set
// (the editor's host window) they are asked to stay above it, and a
// question's default button is No; clearing another window keeps the parent.
TEST(NativePrompt, DesktopDialogsAttachToThePromptParentAndQuestionsDefaultToNo) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("tallow-desktop-dialogs-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::filesystem::path arguments = folder / "arguments";
    ScopedEnv display("DISPLAY", ":93"), path("PATH", folder.c_str()), log("FAKE_DIALOG_ARGUMENTS", arguments.c_str()),
        status("FAKE_DIALOG_STATUS", "0");
    void* const host = reinterpret_cast<void*>(std::uintptr_t{0x2a00007});
    struct Case {
        const char* program;
        bool parent;
        bool question;
        std::vector<std::string> present, absent;
    };
    const Case cases[] = {
        {"zenity", true, true, {"--question", "--default-cancel", "--modal", "--attach=44040199"}, {}},
        {"zenity", false, false, {"--error"}, {"--modal", "--attach", "--default-cancel"}},
        {"kdialog", true, true, {"--warningyesno", "--attach 44040199"}, {"--yesno"}},
        {"kdialog", false, false, {"--error"}, {"--attach"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.program) + (c.parent ? " with parent" : "") + (c.question ? " question" : ""));
        std::filesystem::remove(folder / "zenity");
        std::filesystem::remove(folder / "kdialog");
        const std::filesystem::path fake = folder / c.program;
        std::ofstream(fake) << "#!/bin/sh\necho \"$@\" > \"$FAKE_DIALOG_ARGUMENTS\"\nexit \"$FAKE_DIALOG_STATUS\"\n";
        std::filesystem::permissions(fake, std::filesystem::perms::owner_all);
        if (c.parent) Services::setPromptParent(host);
        Services::clearPromptParent(reinterpret_cast<void*>(std::uintptr_t{0x1234}));  // not the parent: kept
        if (c.question) EXPECT_TRUE(Services::askYesNo("Tallow Reed", "Load it?"));
        else
            Services::showError("Tallow Reed", "Chunk appears corrupted.");
        Services::clearPromptParent(host);
        const std::string seen = readFile(arguments);
        for (const std::string& option : c.present) EXPECT_NE(seen.find(option), std::string::npos) << seen;
        for (const std::string& option : c.absent) EXPECT_EQ(seen.find(option), std::string::npos) << seen;
    }
    std::filesystem::remove_all(folder);
}
#endif
