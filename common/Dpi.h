// The DPI a window is shown at, for layouts kept in 96-DPI units (common/DpiScale.h): the
// platform's per-window DPI where it has one (GetDpiForWindow, Windows 10 1607 and later,
// looked up at run time), the screen's LOGPIXELSY otherwise. Read through the system seam
// (sys::Hooks().windowDpi), so a test can show any window at any DPI.
#pragma once
#include <windows.h>

#include "common/DpiScale.h"

namespace dpi {

// The DPI of `window`; of the screen (the system DPI) for a null window.
int WindowDpi(HWND window);
// The system's DPI: where a window not yet created will be laid out.
inline int SystemDpi() { return WindowDpi(nullptr); }
// 96-DPI units as pixels of `window`.
inline int ForWindow(HWND window, int units) { return Scale(units, WindowDpi(window)); }

// The platform's answer, without the seam: GetDpiForWindow when user32 exports it and the
// window is given, else the screen DC's LOGPIXELSY, else 96.
int PlatformWindowDpi(HWND window);

// WM_DPICHANGED (0x02E0): the new DPI in wParam, the suggested window rectangle in lParam.
inline constexpr UINT kDpiChangedMessage = 0x02E0;

}  // namespace dpi
