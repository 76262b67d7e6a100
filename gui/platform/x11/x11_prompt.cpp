// The wrapper's OK/Cancel question, through the module's prompt seam.
#include "gui/platform/x11/x11_window.h"

#include "services/user_prompt.h"

namespace Wispkit::platform {

bool confirm(Window* window, const char* caption, const char* text) {
    void* owner = window != nullptr ? reinterpret_cast<void*>(window->id) : nullptr;
    return Services::askOkCancel(caption, text, owner);
}

}  // namespace Wispkit::platform
