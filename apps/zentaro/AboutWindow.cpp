#include "apps/zentaro/AboutWindow.h"

#include "resources/resource_ids.h"
#include "common/Handles.h"
#include "common/WindowClass.h"
#include "toolkit/ToolWindow.h"

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;

struct AboutState {
    HWND wnd = nullptr;  // destroyed by the window itself (click, close) or with its owner
    win::AutoBitmap picture;
    SIZE pictureSize{};
};

AboutState& State() {
    static AboutState state;
    return state;
}

void OnPaint(HWND wnd) {
    win::PaintScope ps(wnd);
    PaintAbout(ps.dc(), State().picture.get());
}

void OnDestroy() {
    AboutState& s = State();
    s.wnd = nullptr;
    s.picture.reset();
}

LRESULT CALLBACK AboutProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: OnPaint(wnd); return 0;
    case WM_ERASEBKGND: return 1;  // the picture covers the whole client area
    case WM_LBUTTONUP: DestroyWindow(wnd); return 0;
    case WM_DESTROY: OnDestroy(); return 0;
    default: return DefWindowProcA(wnd, msg, wp, lp);
    }
}

bool RegisterAboutClass() {
    return win::RegisterWindowClass({kAboutClass, AboutProc, 0,
                                     reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)), nullptr,
                                     IDC_HAND});
}

}  // namespace

void PaintAbout(HDC dc, HBITMAP picture) {
    if (!picture) return;
    BITMAP bm{};
    GetObjectA(picture, sizeof bm, &bm);
    win::AutoMemDC src(CreateCompatibleDC(dc));
    win::ScopedSelect keep(src.get(), picture);
    BitBlt(dc, 0, 0, bm.bmWidth, bm.bmHeight, src.get(), 0, 0, SRCCOPY);
}

HWND AboutWindowHandle() { return State().wnd; }

HWND ShowAboutWindow(HWND owner) {
    AboutState& s = State();
    if (s.wnd) {
        toolkit::BringToFront(s.wnd);
        return s.wnd;
    }
    HINSTANCE inst = GetModuleHandleA(nullptr);
    if (!RegisterAboutClass()) return nullptr;
    s.picture.reset(static_cast<HBITMAP>(
        LoadImageA(inst, MAKEINTRESOURCEA(IDB_ABOUT), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    BITMAP bm{};
    if (s.picture) GetObjectA(s.picture.get(), sizeof bm, &bm);
    const RECT r = toolkit::CentredWindowRect(bm.bmWidth, bm.bmHeight, kStyle, kExStyle);
    s.wnd = CreateWindowExA(kExStyle, kAboutClass, kAboutTitle, kStyle, r.left, r.top, r.right - r.left,
                            r.bottom - r.top, owner, nullptr, inst, nullptr);
    if (!s.wnd) {
        s.picture.reset();
        return nullptr;
    }
    ShowWindow(s.wnd, SW_SHOWNORMAL);
    UpdateWindow(s.wnd);
    return s.wnd;
}
