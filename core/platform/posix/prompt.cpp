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

// The desktop's own dialog programs first, then the one every X server has.
int askOnDisplay(bool question, const std::string& title, const std::string& text) {
    const std::vector<std::vector<std::string>> dialogs = {
        {"zenity", question ? "--question" : "--error", "--no-markup", "--title=" + title, "--text=" + text},
        {"kdialog", "--title", title, question ? "--yesno" : "--error", text},
        {"xmessage", "-center", "-title", title, "-buttons", question ? "Yes:0,No:1" : "OK:0", "-default",
         question ? "No" : "OK", text},
    };
    for (const auto& dialog : dialogs) {
        int status = runDialog(dialog);
        if (status >= 0) return status;
    }
    return -1;
}

}  // namespace

PromptAnswerer hostPromptAnswer() {
    return reinterpret_cast<PromptAnswerer>(dlsym(RTLD_DEFAULT, "tallowReedPromptAnswer"));
}

int nativePrompt(int kind, const char* title, const char* text) {
    const bool question = kind == kPromptQuestion;
    if (displayAvailable()) {
        int status = askOnDisplay(question, title, text);
        if (status >= 0) return status == 0 ? 1 : 0;
    }
    // Nobody can be asked: the text still reaches the user, and a question
    // answers No, so nothing foreign is applied unasked.
    std::fprintf(stderr, "%s: %s%s\n", title, text, question ? "\n(no display to ask on: answered No)" : "");
    return question ? 0 : 1;
}

}  // namespace PlugCore::platform
