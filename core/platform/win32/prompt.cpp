#include <windows.h>

#include "core/platform/platform.h"

namespace PlugCore::platform {

PromptAnswerer hostPromptAnswer() {
    return reinterpret_cast<PromptAnswerer>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(nullptr), "tallowReedPromptAnswer")));
}

// Owned by no window and task-modal, so the host's windows wait for the answer.
int nativePrompt(int kind, const char* title, const char* text) {
    if (kind == kPromptQuestion)
        return MessageBoxA(nullptr, text, title, MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL) == IDYES ? 1 : 0;
    MessageBoxA(nullptr, text, title, MB_OK | MB_ICONERROR | MB_TASKMODAL);
    return 1;
}

}  // namespace PlugCore::platform
