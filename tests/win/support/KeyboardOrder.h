// What the keyboard reaches in a window: the Tab order and the access keys its captions show.
#pragma once
#include <windows.h>

#include <cctype>
#include <map>
#include <string>
#include <vector>

namespace testing_support {

// The identifiers of the controls Tab visits, from the first one, with every control enabled
// first (controls a window enables later keep their places).
inline std::vector<int> TabOrder(HWND window) {
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) EnableWindow(c, TRUE);
    std::vector<int> ids;
    const HWND first = GetNextDlgTabItem(window, nullptr, FALSE);
    for (HWND c = first; c && ids.size() < 100; c = GetNextDlgTabItem(window, c, FALSE)) {
        ids.push_back(GetDlgCtrlID(c));
        if (GetNextDlgTabItem(window, c, FALSE) == first) break;
    }
    return ids;
}

// The access keys the window's visible buttons and labels show ("&&" is a plain ampersand), each
// with the identifiers of the controls that show it.
inline std::map<char, std::vector<int>> AccessKeys(HWND window) {
    std::map<char, std::vector<int>> keys;
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char text[256] = {}, cls[16] = {};
        GetWindowTextA(c, text, sizeof text);
        GetClassNameA(c, cls, sizeof cls);
        const std::string kind = cls;
        if (!IsWindowVisible(c) || (kind != "Button" && kind != "Static")) continue;
        for (const char* p = text; p[0] && p[1]; ++p) {
            if (*p != '&') continue;
            if (p[1] == '&') {
                ++p;
                continue;
            }
            keys[static_cast<char>(std::toupper(static_cast<unsigned char>(p[1])))].push_back(GetDlgCtrlID(c));
            break;
        }
    }
    return keys;
}

}  // namespace testing_support
