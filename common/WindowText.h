// The one way to read a window's text as a string.
#pragma once
#include <windows.h>

#include <string>

namespace win {

// The whole text of a window or control, however long; empty when it has none or is gone.
std::string WindowText(HWND wnd);
// The text of parent's child with the identifier; empty when there is no such child.
std::string ItemText(HWND parent, int id);

}  // namespace win
