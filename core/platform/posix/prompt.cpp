#include <dlfcn.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/platform/platform.h"

extern char** environ;

namespace PlugCore::platform {

namespace {

bool displayAvailable() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

// Runs a dialog program without a shell (the texts may come from a foreign chunk)
// and waits for it. Its exit status, or -1 when it could not be started.
int runDialog(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
    int status = 0;
    while (waitpid(child, &status, 0) < 0)
        if (errno != EINTR) return 1;  // the host reaps its children itself: take it as No
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 127) return -1;
    return WEXITSTATUS(status);
}

enum class Answer { Yes, No, NotShown };

// A dialog program and the exit statuses of its two buttons. xmessage's
// buttons get statuses of their own, because it exits with 1 when it cannot
// open the display at all.
struct Dialog {
    std::vector<std::string> command;
    int yes;
    int no;
};

// The desktop's own dialog programs first, then the one every X server has.
Answer askOnDisplay(bool question, const std::string& title, const std::string& text) {
    const Dialog dialogs[] = {
        {{"zenity", question ? "--question" : "--error", "--no-markup", "--title=" + title, "--text=" + text}, 0, 1},
        {{"kdialog", "--title", title, question ? "--yesno" : "--error", text}, 0, 1},
        {{"xmessage", "-center", "-title", title, "-buttons", question ? "Yes:10,No:11" : "OK:10", "-default",
          question ? "No" : "OK", text},
         10, 11},
    };
    for (const Dialog& dialog : dialogs) {
        const int status = runDialog(dialog.command);
        if (status == dialog.yes) return Answer::Yes;
        if (status == dialog.no) return Answer::No;
    }
    return Answer::NotShown;
}

}  // namespace

PromptAnswerer hostPromptAnswer() {
    return reinterpret_cast<PromptAnswerer>(dlsym(RTLD_DEFAULT, "tallowReedPromptAnswer"));
}

int nativePrompt(int kind, const char* title, const char* text) {
    const bool question = kind == kPromptQuestion;
    const Answer answer = displayAvailable() ? askOnDisplay(question, title, text) : Answer::NotShown;
    if (answer == Answer::Yes) return 1;
    if (question && answer == Answer::No) return 0;
    // The text may not have been seen (no display, no dialog program, or an
    // error box dismissed without its button): it still reaches the error
    // stream, and an unanswered question answers No, so nothing foreign is
    // applied unasked.
    std::fprintf(stderr, "%s: %s%s\n", title, text, question ? "\n(nobody could be asked: answered No)" : "");
    return question ? 0 : 1;
}

}  // namespace PlugCore::platform
