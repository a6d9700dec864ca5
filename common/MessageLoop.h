// The one message loop of each program's user-interface thread. Modeless windows that take
// dialog keys (Tab, Enter, Esc, the arrows, access keys) register while they are open; the
// loop offers each message to IsDialogMessage for the registered window it is aimed at.
#pragma once
#include <windows.h>

namespace win {

// Registers an open modeless window (a modeless dialog or a tool window with dialog keys);
// registering it twice is harmless. Remove it when it is destroyed (WM_DESTROY).
void AddModelessWindow(HWND window);
void RemoveModelessWindow(HWND window);

// Offers msg to IsDialogMessage for the registered window it is aimed at (the window itself
// or one of its controls); true when that window took it, so it must not be dispatched.
bool RouteDialogKeys(MSG& msg);

// Gets, routes, translates and dispatches the thread's messages until WM_QUIT; returns the
// quit message's exit code.
int RunMessageLoop();

}  // namespace win
