// The baseline of the resource figures: the least a desktop clock can be. One borderless
// window that repaints 110 x 25 pixels once a second with the time, and nothing else.
#include <windows.h>

#include <cstdio>

namespace {

constexpr UINT_PTR kTimer = 1;
constexpr RECT kTimeArea{5, 7, 115, 32};

void Paint(HDC dc) {
    SYSTEMTIME st;
    GetLocalTime(&st);
    char text[16];
    snprintf(text, sizeof text, "%02u:%02u:%02u", st.wHour, st.wMinute, st.wSecond);
    RECT r = kTimeArea;
    HBRUSH face = CreateSolidBrush(RGB(18, 24, 38));
    FillRect(dc, &r, face);
    DeleteObject(face);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(120, 224, 255));
    DrawTextA(dc, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_TIMER:
        InvalidateRect(wnd, &kTimeArea, FALSE);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(wnd, &ps);
        Paint(dc);
        EndPaint(wnd, &ps);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(wnd, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = CreateSolidBrush(RGB(18, 24, 38));
    wc.lpszClassName = "BaselineClock";
    if (!RegisterClassA(&wc)) return 1;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - 120) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - 38) / 2;
    HWND wnd = CreateWindowExA(WS_EX_TOOLWINDOW, "BaselineClock", "Baseline", WS_POPUP | WS_VISIBLE, x, y, 120, 38,
                               nullptr, nullptr, instance, nullptr);
    if (!wnd) return 1;
    SetTimer(wnd, kTimer, 1000, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
