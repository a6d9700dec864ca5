#include "alarms/ModelessKeys.h"

#include "shell/Handles.h"

#include <algorithm>
#include <vector>

namespace alarms {

namespace {

struct ModelessKeys {
    std::vector<HWND> windows;  // not owned
    win::AutoHook hook;
};

ModelessKeys& State() {
    static ModelessKeys state;
    return state;
}

LRESULT CALLBACK GetMessageHook(int code, WPARAM wp, LPARAM lp) {
    auto* msg = reinterpret_cast<MSG*>(lp);
    if (code == HC_ACTION && wp == PM_REMOVE && msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) {
        for (HWND window : State().windows) {
            if (msg->hwnd == window || IsChild(window, msg->hwnd)) {
                if (IsDialogMessageA(window, msg)) msg->message = WM_NULL;  // handled: nothing left to dispatch
                break;
            }
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

void AddModelessWindow(HWND window) {
    ModelessKeys& state = State();
    if (std::find(state.windows.begin(), state.windows.end(), window) == state.windows.end())
        state.windows.push_back(window);
    if (!state.hook)
        state.hook.reset(SetWindowsHookExA(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId()));
}

void RemoveModelessWindow(HWND window) {
    ModelessKeys& state = State();
    state.windows.erase(std::remove(state.windows.begin(), state.windows.end(), window), state.windows.end());
    if (state.windows.empty()) state.hook.reset();
}

}  // namespace alarms
