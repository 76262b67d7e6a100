#include <dlfcn.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

#include "services/platform/platform.h"

extern char** environ;

namespace Services::platform {

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

// The labels of a two-button prompt; an error box has one OK button.
struct Buttons {
    std::string yes;
    std::string no;
};

// Yes and No are every dialog program's own labels for a question; other
// labels are asked for.
std::vector<std::string> labelled(std::vector<std::string> command, const Buttons* buttons,
                                  std::initializer_list<std::string> labels) {
    if (buttons && buttons->yes != "Yes") command.insert(command.end(), labels);
    return command;
}

// The options that keep a dialog above the host's window (parent, an X11
// window id; 0 for none): zenity and kdialog make themselves transient for
// it. A question's default button is No (Cancel), so a stray Enter applies
// nothing foreign.
std::vector<std::string> zenity(bool question, const std::string& title, const std::string& text,
                                unsigned long parent) {
    std::vector<std::string> command{"zenity", question ? "--question" : "--error", "--no-markup", "--title=" + title,
                                     "--text=" + text};
    if (question) command.push_back("--default-cancel");
    if (parent != 0) command.insert(command.end(), {"--modal", "--attach=" + std::to_string(parent)});
    return command;
}

// kdialog's warning question is the one whose default button is No.
std::vector<std::string> kdialog(bool question, const std::string& title, const std::string& text,
                                 unsigned long parent) {
    std::vector<std::string> command{"kdialog", "--title", title, question ? "--warningyesno" : "--error", text};
    if (parent != 0) command.insert(command.end(), {"--attach", std::to_string(parent)});
    return command;
}

// The desktop's own dialog programs first, then the one every X server has.
Answer askOnDisplay(const Buttons* buttons, const std::string& title, const std::string& text, unsigned long parent) {
    const bool question = buttons != nullptr;
    const std::string yes = question ? buttons->yes : "OK";
    const std::string no = question ? buttons->no : "";
    const Dialog dialogs[] = {
        {labelled(zenity(question, title, text, parent), buttons, {"--ok-label=" + yes, "--cancel-label=" + no}), 0, 1},
        {labelled(kdialog(question, title, text, parent), buttons, {"--yes-label", yes, "--no-label", no}), 0, 1},
        {{"xmessage", "-center", "-title", title, "-buttons", question ? yes + ":10," + no + ":11" : "OK:10",
          "-default", question ? no : "OK", text},
         10,
         11},
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

// X11 dialogs come from other programs; ownerWindow, when given, is the X11
// id of the window they are to stay above.
int nativePrompt(int kind, const char* title, const char* text, void* ownerWindow) {
    static const Buttons yesNo{"Yes", "No"}, okCancel{"OK", "Cancel"};
    const Buttons* buttons = kind == kPromptQuestion ? &yesNo : kind == kPromptOkCancel ? &okCancel : nullptr;
    const auto parent = static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(ownerWindow));
    const Answer answer = displayAvailable() ? askOnDisplay(buttons, title, text, parent) : Answer::NotShown;
    if (answer == Answer::Yes) return 1;
    if (buttons && answer == Answer::No) return 0;
    // The text may not have been seen (no display, no dialog program, or an
    // error box dismissed without its button): it still reaches the error
    // stream, and an unanswered question answers No (Cancel), so nothing
    // foreign is applied unasked.
    if (buttons)
        std::fprintf(stderr, "%s: %s\n(nobody could be asked: answered %s)\n", title, text, buttons->no.c_str());
    else
        std::fprintf(stderr, "%s: %s\n", title, text);
    return buttons ? 0 : 1;
}

}  // namespace Services::platform
