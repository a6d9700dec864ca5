// The baseline of the resource figures: the least a desktop clock can be. One borderless
// window that repaints 110 x 25 pixels once a second with the time, and nothing else.
// Built a second time with BASELINE_DATE_TIP: then the window is also layered and shaped and
// carries a date tool tip of the ordinary kind (one that subclasses the window and follows
// every mouse move), the baseline for a clock the pointer rests on.
#include <windows.h>
#include <commctrl.h>

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

#ifdef BASELINE_DATE_TIP
constexpr char kClassName[] = "BaselineTipClock";
constexpr char kTitle[] = "Baseline tip";
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_LAYERED;

void AddDateTip(HWND wnd, HINSTANCE instance) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    HWND tip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    SetWindowPos(tip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageA(tip, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(4000, 0));
    SYSTEMTIME today;
    GetLocalTime(&today);
    char date[64] = {};
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &today, nullptr, date, sizeof date);
    TTTOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.uId = reinterpret_cast<UINT_PTR>(wnd);
    ti.hinst = instance;
    ti.lpszText = date;
    SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

void Decorate(HWND wnd, HINSTANCE instance) {
    SetLayeredWindowAttributes(wnd, 0, 230, LWA_ALPHA);
    SetWindowRgn(wnd, CreateRoundRectRgn(0, 0, 121, 39, 12, 12), TRUE);  // the window owns the region
    AddDateTip(wnd, instance);
}
#else
constexpr char kClassName[] = "BaselineClock";
constexpr char kTitle[] = "Baseline";
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;

void Decorate(HWND, HINSTANCE) {}
#endif

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = CreateSolidBrush(RGB(18, 24, 38));
    wc.lpszClassName = kClassName;
    if (!RegisterClassA(&wc)) return 1;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - 120) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - 38) / 2;
    HWND wnd = CreateWindowExA(kExStyle, kClassName, kTitle, WS_POPUP, x, y, 120, 38, nullptr, nullptr, instance,
                               nullptr);
    if (!wnd) return 1;
    Decorate(wnd, instance);
    ShowWindow(wnd, SW_SHOWNORMAL);
    SetTimer(wnd, kTimer, 1000, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
