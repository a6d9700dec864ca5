#include "common/MessageLoop.h"

#include <algorithm>
#include <vector>

namespace win {
namespace {

// The open modeless windows of this (the only user-interface) thread; not owned.
std::vector<HWND>& ModelessWindows() {
    static std::vector<HWND> windows;
    return windows;
}

}  // namespace

void AddModelessWindow(HWND window) {
    auto& windows = ModelessWindows();
    if (window && std::find(windows.begin(), windows.end(), window) == windows.end()) windows.push_back(window);
}

void RemoveModelessWindow(HWND window) {
    auto& windows = ModelessWindows();
    windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
}

bool RouteDialogKeys(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    for (HWND window : ModelessWindows()) {
        if (msg.hwnd == window || IsChild(window, msg.hwnd)) return IsDialogMessageA(window, &msg) != FALSE;
    }
    return false;
}

int RunMessageLoop() {
    MSG msg{};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (RouteDialogKeys(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace win
