// Small owners for Win32 handles: each releases its handle on every path out of a scope.
// A raw handle the code does not own is never put into one of these.
#pragma once
#include <windows.h>
#include <memory>
#include <utility>

namespace win {

// Owner of one handle of type H, released with Release::free(h) unless it is the null value.
template <typename H, typename Release>
class Owned {
public:
    Owned() = default;
    explicit Owned(H h) : h_(h) {}
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& o) noexcept : h_(std::exchange(o.h_, H{})) {}
    Owned& operator=(Owned&& o) noexcept {
        if (this != &o) reset(std::exchange(o.h_, H{}));
        return *this;
    }
    ~Owned() { reset(); }

    H get() const { return h_; }
    explicit operator bool() const { return h_ != H{}; }
    // Gives up ownership without releasing.
    H release() { return std::exchange(h_, H{}); }
    void reset(H h = H{}) {
        if (h_ != H{} && h_ != h) Release::free(h_);
        h_ = h;
    }

private:
    H h_{};
};

struct GdiObjectRelease { static void free(HGDIOBJ h) { DeleteObject(h); } };
struct DcRelease        { static void free(HDC h) { DeleteDC(h); } };
struct KeyRelease       { static void free(HKEY h) { RegCloseKey(h); } };
struct KernelRelease    { static void free(HANDLE h) { CloseHandle(h); } };
struct IconRelease      { static void free(HICON h) { DestroyIcon(h); } };
struct MenuRelease      { static void free(HMENU h) { DestroyMenu(h); } };
struct HookRelease      { static void free(HHOOK h) { UnhookWindowsHookEx(h); } };
struct ModuleRelease    { static void free(HMODULE h) { FreeLibrary(h); } };
struct WindowRelease    { static void free(HWND h) { if (IsWindow(h)) DestroyWindow(h); } };
struct TimerQueueRelease{ static void free(HANDLE h) { CloseHandle(h); } };

using AutoBitmap = Owned<HBITMAP, GdiObjectRelease>;
using AutoFont = Owned<HFONT, GdiObjectRelease>;
using AutoBrush = Owned<HBRUSH, GdiObjectRelease>;
using AutoPen = Owned<HPEN, GdiObjectRelease>;
using AutoRegion = Owned<HRGN, GdiObjectRelease>;
using AutoMemDC = Owned<HDC, DcRelease>;
using AutoKey = Owned<HKEY, KeyRelease>;
using AutoHandle = Owned<HANDLE, KernelRelease>;
using AutoIcon = Owned<HICON, IconRelease>;
using AutoMenu = Owned<HMENU, MenuRelease>;
using AutoHook = Owned<HHOOK, HookRelease>;
using AutoModule = Owned<HMODULE, ModuleRelease>;
using AutoWindow = Owned<HWND, WindowRelease>;

// Selects a GDI object into a DC and puts the previous one back at scope end.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;
    ~ScopedSelect() { if (old_) SelectObject(dc_, old_); }
private:
    HDC dc_;  // not owned
    HGDIOBJ old_;
};

// A window's DC from GetDC, released with ReleaseDC.
class WindowDC {
public:
    explicit WindowDC(HWND wnd) : wnd_(wnd), dc_(GetDC(wnd)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() { if (dc_) ReleaseDC(wnd_, dc_); }
    HDC get() const { return dc_; }
private:
    HWND wnd_;  // not owned
    HDC dc_;
};

// BeginPaint/EndPaint pair for WM_PAINT.
class PaintScope {
public:
    explicit PaintScope(HWND wnd) : wnd_(wnd) { dc_ = BeginPaint(wnd, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { EndPaint(wnd_, &ps_); }
    HDC dc() const { return dc_; }
    const PAINTSTRUCT& info() const { return ps_; }
private:
    HWND wnd_;  // not owned
    HDC dc_{};
    PAINTSTRUCT ps_{};
};

// Sets a DC's background mode and text colour for a scope.
class ScopedTextStyle {
public:
    ScopedTextStyle(HDC dc, int bkMode, COLORREF color)
        : dc_(dc), oldMode_(SetBkMode(dc, bkMode)), oldColor_(SetTextColor(dc, color)) {}
    ScopedTextStyle(const ScopedTextStyle&) = delete;
    ScopedTextStyle& operator=(const ScopedTextStyle&) = delete;
    ~ScopedTextStyle() { SetBkMode(dc_, oldMode_); SetTextColor(dc_, oldColor_); }
private:
    HDC dc_;  // not owned
    int oldMode_;
    COLORREF oldColor_;
};

}  // namespace win
