#include "apps/zentaro/AboutWindow.h"

#include <memory>
#include <utility>

#include "resources/resource_ids.h"
#include "common/Dpi.h"
#include "common/Handles.h"
#include "common/WindowClass.h"
#include "common/WindowState.h"
#include "toolkit/ToolWindow.h"

namespace zentaro {

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;

// State of the about window: attached at WM_NCCREATE, freed at WM_NCDESTROY.
struct AboutState {
    win::AutoBitmap picture;
};

void OnPaint(HWND wnd, const AboutState& s) {
    win::PaintScope ps(wnd);
    PaintAbout(ps.dc(), s.picture.get());
}

LRESULT CALLBACK AboutProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        // The window takes the picture its creator loaded; a creation that fails before this
        // point leaves it with the creator, which frees it.
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lp);
        auto state = std::make_unique<AboutState>();
        state->picture = std::move(*static_cast<win::AutoBitmap*>(create->lpCreateParams));
        win::AttachWindowState(wnd, std::move(state));
        return DefWindowProcA(wnd, msg, wp, lp);
    }
    if (msg == WM_NCDESTROY) {
        win::DeleteWindowState<AboutState>(wnd);
        return DefWindowProcA(wnd, msg, wp, lp);
    }
    const AboutState* s = win::WindowState<AboutState>(wnd);
    if (!s) return DefWindowProcA(wnd, msg, wp, lp);
    switch (msg) {
    case WM_PAINT: OnPaint(wnd, *s); return 0;
    case WM_ERASEBKGND: return 1;  // the picture covers the whole client area
    case WM_LBUTTONUP: DestroyWindow(wnd); return 0;
    case dpi::kDpiChangedMessage:
        if (const auto* suggested = reinterpret_cast<const RECT*>(lp))
            SetWindowPos(wnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                         suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateRect(wnd, nullptr, FALSE);
        return 0;
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
    // The picture is 96-DPI units: enlarged with the window, in pixel blocks at whole factors
    // and smoothed between.
    const int at = dpi::WindowDpi(WindowFromDC(dc));
    const int width = dpi::Scale(bm.bmWidth, at), height = dpi::Scale(bm.bmHeight, at);
    if (width == bm.bmWidth && height == bm.bmHeight) {
        BitBlt(dc, 0, 0, bm.bmWidth, bm.bmHeight, src.get(), 0, 0, SRCCOPY);
        return;
    }
    const int previous = SetStretchBltMode(dc, dpi::WholeFactor(at) ? COLORONCOLOR : HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, 0, 0, width, height, src.get(), 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    SetStretchBltMode(dc, previous);
}

// The about window exists at most once: it is found by its class, not kept in a variable.
HWND AboutWindowHandle() { return toolkit::FindToolWindow(kAboutClass); }

HWND ShowAboutWindow(HWND owner) {
    if (HWND open = AboutWindowHandle()) {
        toolkit::BringToFront(open);
        return open;
    }
    HINSTANCE inst = GetModuleHandleA(nullptr);
    if (!RegisterAboutClass()) return nullptr;
    win::AutoBitmap picture(static_cast<HBITMAP>(
        LoadImageA(inst, MAKEINTRESOURCEA(IDB_ABOUT), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    BITMAP bm{};
    if (picture) GetObjectA(picture.get(), sizeof bm, &bm);
    const RECT r = toolkit::CentredWindowRect(bm.bmWidth, bm.bmHeight, kStyle, kExStyle, owner);
    HWND wnd = CreateWindowExA(kExStyle, kAboutClass, kAboutTitle, kStyle, r.left, r.top, r.right - r.left,
                               r.bottom - r.top, owner, nullptr, inst, &picture);
    if (!wnd) return nullptr;
    ShowWindow(wnd, SW_SHOWNORMAL);
    UpdateWindow(wnd);
    return wnd;
}

}  // namespace zentaro
