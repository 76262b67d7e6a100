#include "win32_test_window.h"

#include <cstdint>
#include <string>

namespace Win32Test {

HWND openHostWindow(const char* className, int stockBrush, int x, int y, int width, int height) {
    WNDCLASSEXA info{};
    info.cbSize = sizeof info;
    info.lpfnWndProc = DefWindowProcA;
    info.hInstance = GetModuleHandleA(nullptr);
    info.hbrBackground = static_cast<HBRUSH>(GetStockObject(stockBrush));
    info.lpszClassName = className;
    RegisterClassExA(&info);  // fails harmlessly once the class exists
    RECT rect{0, 0, width, height};
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE;
    AdjustWindowRect(&rect, style, FALSE);
    return CreateWindowExA(0, className, "host", style, x, y, rect.right - rect.left, rect.bottom - rect.top, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

void pumpPending() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void pumpFor(unsigned milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
        pumpPending();
    }
}

HWND openMenuOf(DWORD thread) {
    HWND found = nullptr;
    EnumThreadWindows(
        thread,
        [](HWND hwnd, LPARAM result) -> BOOL {
            char name[16] = {};
            GetClassNameA(hwnd, name, sizeof name);
            if (std::string(name) != "#32768" || !IsWindowVisible(hwnd)) return TRUE;
            *reinterpret_cast<HWND*>(result) = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

namespace {

DWORD gdiObjects() {
    if (DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return counted;
    DWORD live = 0;
    for (std::uintptr_t index = 1; index < 0x10000; ++index)
        live += GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0;
    return live;
}

}  // namespace

Holdings holdings() {
    Holdings h;
    h.gdi = gdiObjects();
    h.user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND, LPARAM count) -> BOOL {
            ++*reinterpret_cast<int*>(count);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&h.windows));
    return h;
}

void PrintTo(const Holdings& h, std::ostream* out) {
    *out << "GDI " << h.gdi << ", USER " << h.user << ", windows " << h.windows;
}

}  // namespace Win32Test
