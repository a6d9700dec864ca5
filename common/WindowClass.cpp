#include "common/WindowClass.h"

namespace win {

bool RegisterWindowClass(const WindowClass& spec) {
    WNDCLASSA wc{};
    wc.style = spec.style;
    wc.lpfnWndProc = spec.procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hIcon = spec.icon;
    wc.hCursor = LoadCursorA(nullptr, spec.cursor);
    wc.hbrBackground = spec.background;
    wc.lpszClassName = spec.name;
    return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace win
