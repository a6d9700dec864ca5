// The one way a window or dialog keeps its state: a struct attached to the window when it is
// created (WM_CREATE, WM_INITDIALOG), found by its procedure for every later message, and
// detached at WM_NCDESTROY, the last message the window receives.
#pragma once
#include <windows.h>

#include <memory>

namespace win {

// The state attached to the window; null before it is attached, after it is detached, and
// for a null window.
template <class State>
State* WindowState(HWND wnd) {
    return wnd ? reinterpret_cast<State*>(GetWindowLongPtrA(wnd, GWLP_USERDATA)) : nullptr;
}

// Attaches state owned by the window: DeleteWindowState frees it at WM_NCDESTROY.
template <class State>
State* AttachWindowState(HWND wnd, std::unique_ptr<State> state) {
    SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state.get()));
    return state.release();
}
template <class State>
void DeleteWindowState(HWND wnd) {
    const std::unique_ptr<State> owned(WindowState<State>(wnd));
    SetWindowLongPtrA(wnd, GWLP_USERDATA, 0);
}

// Attaches state the window does not own (a modal dialog's state on the stack of the function
// that runs it); DetachWindowState forgets it at WM_NCDESTROY.
template <class State>
State* AttachBorrowedState(HWND wnd, State* state) {
    SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    return state;
}
inline void DetachWindowState(HWND wnd) { SetWindowLongPtrA(wnd, GWLP_USERDATA, 0); }

}  // namespace win
