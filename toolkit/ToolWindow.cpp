#include "toolkit/ToolWindow.h"

#include "toolkit/ControlTable.h"

#include <commctrl.h>

#include "resources/resource_ids.h"

namespace toolkit {

namespace {

constexpr DWORD kToolWindowExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

}  // namespace

bool RegisterToolWindowClass(const char* className, WNDPROC proc, DWORD commonControls) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    if (GetClassInfoA(instance, className, &wc)) return true;
    INITCOMMONCONTROLSEX icc{sizeof icc, commonControls};
    InitCommonControlsEx(&icc);
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = LoadIcon(instance, MAKEINTRESOURCE(IDI_ZENTARO));
    wc.lpszClassName = className;
    return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

RECT CentredWindowRect(int clientWidth, int clientHeight, DWORD style, DWORD exStyle) {
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    return RECT{x, y, x + width, y + height};
}

HWND CreateCentredToolWindow(const char* className, const char* title, DWORD style, int clientWidth,
                             int clientHeight, HWND owner, void* createParam) {
    const RECT r = CentredWindowRect(clientWidth, clientHeight, style, kToolWindowExStyle);
    return CreateWindowExA(kToolWindowExStyle, className, title, style, r.left, r.top, r.right - r.left,
                           r.bottom - r.top, owner, nullptr, GetModuleHandleA(nullptr), createParam);
}

void BringToFront(HWND window) {
    ShowWindow(window, SW_SHOWNORMAL);
    SetForegroundWindow(window);
}

HWND CreateChildControl(HWND parent, HFONT font, const char* className, const char* text, DWORD style, int x,
                        int y, int width, int height, int id, DWORD exStyle) {
    return CreateChildControl(parent, font, ControlSpec{className, id, text, style, x, y, width, height, exStyle});
}

}  // namespace toolkit
