#include "break/BreakWindow.h"

namespace {
LRESULT CALLBACK BreakWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(wnd, msg, wp, lp);
}
}  // namespace

// The break itself (picture, countdown, enforcement) arrives with the break work.
int RunBreak(HINSTANCE instance, int show) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = BreakWndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kBreakClass;
    if (!RegisterClassA(&wc)) return 1;
    HWND wnd = CreateWindowExA(0, kBreakClass, kBreakTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 640,
                               480, nullptr, nullptr, instance, nullptr);
    if (!wnd) return 1;
    ShowWindow(wnd, show);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
