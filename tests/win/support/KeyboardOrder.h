// What the keyboard reaches in a window: the Tab order and the access keys its captions show.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace testing_support {

// The identifiers of the controls Tab visits, from the first one, with every control enabled
// first (controls a window enables later keep their places).
inline std::vector<int> TabOrder(HWND window) {
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) EnableWindow(c, TRUE);
    std::vector<int> ids;
    const HWND first = GetNextDlgTabItem(window, nullptr, FALSE);
    for (HWND c = first; c && ids.size() < 100 && (ids.empty() || c != first); c = GetNextDlgTabItem(window, c, FALSE))
        ids.push_back(GetDlgCtrlID(c));
    return ids;
}

// The access keys the window's visible buttons and labels show ("&&" is a plain ampersand),
// sorted: a key that two controls share appears twice.
inline std::string AccessKeys(HWND window) {
    std::string keys;
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char text[256] = {}, cls[16] = {};
        GetWindowTextA(c, text, sizeof text);
        GetClassNameA(c, cls, sizeof cls);
        if (!IsWindowVisible(c) || (std::string(cls) != "Button" && std::string(cls) != "Static")) continue;
        const char* p = text;
        while (p[0] && p[1] && !(p[0] == '&' && p[1] != '&')) p += p[0] == '&' ? 2 : 1;
        if (p[0] && p[1]) keys += static_cast<char>(std::toupper(static_cast<unsigned char>(p[1])));
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}

}  // namespace testing_support
