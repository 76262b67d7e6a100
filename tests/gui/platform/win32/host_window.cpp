#include "host_window.h"

#include <cstdio>

namespace WispkitTest {

std::vector<std::string> journal;

std::vector<std::string> entries(const std::string& prefix)
{
    std::vector<std::string> found;
    for (const std::string& entry : journal)
        if (entry.rfind(prefix, 0) == 0) found.push_back(entry);
    return found;
}

Recorder::Recorder(Wispkit::Container* parent, const char* name, int x, int y, unsigned w, unsigned h)
    : Control(parent, x, y, w, h), name(name)
{
}

Recorder::~Recorder()
{
    journal.push_back(name + " deleted");
}

bool Recorder::mouseMove(int x, int y, int keys)
{
    return note("move", x, y, 0, keys);
}

bool Recorder::mouseDown(int x, int y, int button, int keys)
{
    if (dragOnPress && button == Wispkit::kLeftButton) parent->captureMouse(this);
    return note("down", x, y, button, keys);
}

bool Recorder::mouseUp(int x, int y, int button, int keys)
{
    note("up", x, y, button, keys);
    if (dragOnPress && button == Wispkit::kLeftButton) parent->captureMouse(nullptr);
    return true;
}

bool Recorder::doubleClick(int x, int y, int button, int keys)
{
    return note("double", x, y, button, keys);
}

bool Recorder::mouseWheel(int x, int y, float delta, int keys)
{
    char text[80];
    std::snprintf(text, sizeof text, " wheel %d,%d %+.3f k%d", x, y, delta, keys);
    journal.push_back(name + text);
    return true;
}

void Recorder::mouseLeave()
{
    journal.push_back(name + " leave");
}

void Recorder::captureLost()
{
    journal.push_back(name + " capture lost");
}

void Recorder::menuCommand(unsigned id)
{
    journal.push_back(name + " command " + std::to_string(id));
}

bool Recorder::note(const char* what, int x, int y, int button, int keys)
{
    char text[80];
    std::snprintf(text, sizeof text, " %s %d,%d b%d k%d", what, x, y, button, keys);
    journal.push_back(name + text);
    return true;
}

namespace {

const char* hostClass()
{
    static const char* name = [] {
        WNDCLASSEXA info{};
        info.cbSize = sizeof info;
        info.lpfnWndProc = DefWindowProcA;
        info.hInstance = GetModuleHandleA(nullptr);
        info.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        info.lpszClassName = "WispkitTestHost";
        RegisterClassExA(&info);
        return "WispkitTestHost";
    }();
    return name;
}

// Away from the corner where the renderer's tests open their windows.
HWND createHost()
{
    RECT rect{0, 0, 480, 110};
    DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE;
    AdjustWindowRect(&rect, style, FALSE);
    return CreateWindowExA(0, hostClass(), "host", style, 500, 560, rect.right - rect.left, rect.bottom - rect.top,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

HWND sharedHost()
{
    static HWND host = createHost();
    return host;
}

}  // namespace

HostWindow::HostWindow(bool ownHost, bool pump) : ownHost(ownHost)
{
    // A pointer left over the window by another program would send moves of its own.
    SetCursorPos(1010, 750);
    host = ownHost ? createHost() : sharedHost();
    wrapper = new Wispkit::Winwrapper(&controller, 480, 110, host);
    child = reinterpret_cast<HWND>(wrapper->nativeHandle());
    if (pump) pumpPending();
}

HostWindow::~HostWindow()
{
    if (IsWindow(child)) DestroyWindow(child);
    if (ownHost && IsWindow(host)) DestroyWindow(host);
    pumpPending();
}

POINT onScreen(HWND hwnd, int x, int y)
{
    POINT point{x, y};
    ClientToScreen(hwnd, &point);
    return point;
}

void pumpPending()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void pumpFor(unsigned milliseconds)
{
    ULONGLONG end = GetTickCount64() + milliseconds;
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
        pumpPending();
    }
}

}  // namespace WispkitTest
