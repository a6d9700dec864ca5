// Top-level tool windows built on a window class of their own rather than on a dialog
// template (the alarm list, the alarm item editors, the break settings window): the class
// with dialog looks, the frame centred on its owner's monitor, the child controls, and bringing an
// open one back to the front.
#pragma once
#include <windows.h>

namespace toolkit {

// Registers `className` with dialog looks: arrow cursor, button-face background and, unless
// withIcon is false, the program's icon. The common control classes named by `commonControls`
// (ICC_ flags) are initialised first. True when the class exists afterwards, registered now
// or before.
bool RegisterToolWindowClass(const char* className, WNDPROC proc, DWORD commonControls, bool withIcon = true);

// The open top-level window of `className` that belongs to this process, or null: a tool
// window that exists at most once is found this way rather than kept in a variable.
HWND FindToolWindow(const char* className);

// Creates a hidden tool window of `style` with a dialog frame whose client area is
// clientWidth x clientHeight 96-DPI units at the system DPI, centred on the work area of the
// monitor `owner` is on (the primary monitor's without an owner) and owned by `owner`; `createParam`
// reaches WM_CREATE. Tab and the arrow keys move into its controls (WS_EX_CONTROLPARENT).
HWND CreateCentredToolWindow(const char* className, const char* title, DWORD style, int clientWidth,
                             int clientHeight, HWND owner, void* createParam = nullptr);

// A window's rectangle in screen coordinates when its client area is clientWidth x
// clientHeight 96-DPI units at the system DPI and it stands centred on the work area of the
// monitor `owner` is on (the primary monitor's for no owner).
RECT CentredWindowRect(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, HWND owner = nullptr);

// Shows an open window restored and in the foreground.
void BringToFront(HWND window);

}  // namespace toolkit
