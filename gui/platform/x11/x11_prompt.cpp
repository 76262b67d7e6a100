// The wrapper's OK/Cancel question: a window of our own answered on the idle
// pump (x11_question.h), never a dialog program the editor's thread would
// wait for.
#include "gui/platform/x11/x11_popup.h"
#include "gui/platform/x11/x11_question.h"
#include "gui/platform/x11/x11_window.h"

#include <cstdio>

namespace Wispkit::platform {

void confirm(Window* window, const char* caption, const char* text, ConfirmedAction onOk) {
    // One question at a time: the editor takes no input while one is open,
    // so nothing of it asks a second, which would be answered Cancel.
    if (window->question) return;
    // A drag or a menu ends as it would when a modal box took over.
    if (window->wrapper->capturedControl() != nullptr) window->wrapper->captureMouse(nullptr);
    if (window->popup) {
        window->popup.reset();
        window->wrapper->menuClosed();
    }
    window->question = Question::open(window, caption, text, std::move(onOk));
    if (!window->question) {
        std::fprintf(stderr, "%s: %s\n(the question could not be shown: answered Cancel)\n", caption, text);
        return;
    }
    window->wrapper->mouseLeave();
}

}  // namespace Wispkit::platform
