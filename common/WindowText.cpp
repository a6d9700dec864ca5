#include "common/WindowText.h"

namespace win {

std::string WindowText(HWND wnd) {
    if (!wnd) return {};
    const int length = GetWindowTextLengthA(wnd);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    // The length may shrink between the two calls; the copy says how much arrived.
    const int copied = GetWindowTextA(wnd, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

std::string ItemText(HWND parent, int id) { return WindowText(GetDlgItem(parent, id)); }

}  // namespace win
