#include "biorhythm/VitaroWindow.h"

namespace {
LRESULT CALLBACK VitaroWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(wnd, msg, wp, lp);
}
}  // namespace

// The window's controls and chart arrive with the biorhythm work; for now it is empty.
int RunVitaro(HINSTANCE instance, int show) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = VitaroWndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kVitaroClass;
    if (!RegisterClassA(&wc)) return 1;
    HWND wnd = CreateWindowExA(0, kVitaroClass, kVitaroTitle, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                               CW_USEDEFAULT, CW_USEDEFAULT, 430, 410, nullptr, nullptr, instance, nullptr);
    if (!wnd) return 1;
    ShowWindow(wnd, show);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
