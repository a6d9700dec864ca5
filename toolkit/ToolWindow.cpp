#include "toolkit/ToolWindow.h"

#include "common/Dpi.h"
#include "common/Monitors.h"
#include "common/WindowClass.h"

#include <commctrl.h>

#include "resources/resource_ids.h"

namespace toolkit {

namespace {

constexpr DWORD kToolWindowExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

}  // namespace

bool RegisterToolWindowClass(const char* className, WNDPROC proc, DWORD commonControls, bool withIcon) {
    INITCOMMONCONTROLSEX icc{sizeof icc, commonControls};
    InitCommonControlsEx(&icc);
    win::WindowClass spec;
    spec.name = className;
    spec.procedure = proc;
    spec.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    if (withIcon) spec.icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_ZENTARO));
    return win::RegisterWindowClass(spec);
}

HWND FindToolWindow(const char* className) {
    const DWORD self = GetCurrentProcessId();
    for (HWND w = FindWindowExA(nullptr, nullptr, className, nullptr); w;
         w = FindWindowExA(nullptr, w, className, nullptr)) {
        DWORD process = 0;
        GetWindowThreadProcessId(w, &process);
        if (process == self) return w;
    }
    return nullptr;
}

RECT CentredWindowRect(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, HWND owner) {
    const int at = dpi::SystemDpi();
    RECT frame{0, 0, dpi::Scale(clientWidth, at), dpi::Scale(clientHeight, at)};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    const monitors::Rect area = monitors::WorkAreaOf(owner);
    const int x = area.left + (area.width() - width) / 2, y = area.top + (area.height() - height) / 2;
    return RECT{x, y, x + width, y + height};
}

HWND CreateCentredToolWindow(const char* className, const char* title, DWORD style, int clientWidth,
                             int clientHeight, HWND owner, void* createParam) {
    const RECT r = CentredWindowRect(clientWidth, clientHeight, style, kToolWindowExStyle, owner);
    return CreateWindowExA(kToolWindowExStyle, className, title, style, r.left, r.top, r.right - r.left,
                           r.bottom - r.top, owner, nullptr, GetModuleHandleA(nullptr), createParam);
}

void BringToFront(HWND window) {
    ShowWindow(window, SW_SHOWNORMAL);
    SetForegroundWindow(window);
}

}  // namespace toolkit
