#include <windows.h>

#include "services/platform/platform.h"

namespace Services::platform {

PromptAnswerer hostPromptAnswer() {
    return reinterpret_cast<PromptAnswerer>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(nullptr), "tallowReedPromptAnswer")));
}

// Task-modal, so the host's windows wait for the answer; an editor's
// confirmation also belongs to its window so that it stays in front of it.
int nativePrompt(int kind, const char* title, const char* text, void* ownerWindow) {
    HWND owner = static_cast<HWND>(ownerWindow);
    if (kind == kPromptOkCancel)
        return MessageBoxA(owner, text, title, MB_OKCANCEL | MB_ICONQUESTION | MB_TASKMODAL) == IDOK ? 1 : 0;
    if (kind == kPromptQuestion)
        return MessageBoxA(owner, text, title, MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL) == IDYES ? 1 : 0;
    MessageBoxA(owner, text, title, MB_OK | MB_ICONERROR | MB_TASKMODAL);
    return 1;
}

}  // namespace Services::platform
