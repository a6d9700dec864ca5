// Dialog keys (Tab, Enter, Esc, arrows, access keys) for the modeless alarm windows. The main
// window's message loop does not call IsDialogMessage, so while such a window exists a
// message hook of this thread offers it each key message aimed at it or its controls.
#pragma once
#include <windows.h>

namespace alarms {

void AddModelessWindow(HWND window);
void RemoveModelessWindow(HWND window);

}  // namespace alarms
