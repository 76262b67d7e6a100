#include "gui/platform/win32/win32_window.h"

#include "services/platform/win32/module_handle.h"

#include <commctrl.h>

namespace Wispkit::platform {

namespace {

// Removes the class when the module goes away (a static destructor runs at
// DLL detach), so that a later load of the module can register it afresh.
class ClassRegistration {
public:
    ~ClassRegistration() {
        if (atom != 0) UnregisterClassA(MAKEINTATOM(atom), moduleInstance());
    }

    ATOM atom = 0;
};

ClassRegistration registration;

ATOM registerClass() {
    WNDCLASSEXA info{};
    info.cbSize = sizeof info;
    info.style = CS_DBLCLKS;
    info.lpfnWndProc = wrapperProcedure;
    info.hInstance = moduleInstance();
    info.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    info.hIconSm = LoadIconA(nullptr, IDI_APPLICATION);
    info.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    info.lpszClassName = "WispkitWinwrapper";
    return RegisterClassExA(&info);
}

}  // namespace

HINSTANCE moduleInstance() {
    HINSTANCE instance = Services::platform::moduleHandle();
    if (instance != nullptr) return instance;
    // A program that links the toolkit directly has no DllMain to tell it:
    // the module is the one holding this code.
    HMODULE own = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&moduleInstance), &own);
    return own;
}

ATOM wrapperClass() {
    if (registration.atom != 0) return registration.atom;
    registration.atom = registerClass();
    if (registration.atom == 0)
        MessageBoxA(nullptr, "Couldn't create a wrapper windowclass.", "Error!", MB_ICONWARNING);
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = 8;
    controls.dwICC = 0xFF;
    InitCommonControlsEx(&controls);
    return registration.atom;
}

ManifestScope::ManifestScope() {
    ACTCTXA info{};
    info.cbSize = sizeof info;
    info.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    info.lpResourceName = MAKEINTRESOURCEA(2);
    info.hModule = moduleInstance();
    context = CreateActCtxA(&info);
    if (context != INVALID_HANDLE_VALUE && !ActivateActCtx(context, &cookie)) {
        ReleaseActCtx(context);
        context = INVALID_HANDLE_VALUE;
    }
}

ManifestScope::~ManifestScope() {
    if (context == INVALID_HANDLE_VALUE) return;
    DeactivateActCtx(0, cookie);
    ReleaseActCtx(context);
}

}  // namespace Wispkit::platform
