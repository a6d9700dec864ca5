// The one way to register a window class of this program.
#pragma once
#include <windows.h>

namespace win {

struct WindowClass {
    const char* name = nullptr;
    WNDPROC procedure = nullptr;
    UINT style = 0;
    HBRUSH background = nullptr;  // a system colour brush (COLOR_x + 1) or null
    HICON icon = nullptr;         // not owned: a resource icon lives as long as the program
    LPCSTR cursor = IDC_ARROW;    // a system cursor
};

// Registers the class in this program's module; true when it exists afterwards, registered
// now or before.
bool RegisterWindowClass(const WindowClass& spec);

}  // namespace win
