// Drives a modal template dialog from inside its own message loop: a thread timer set before
// the dialog opens finds it by title, runs the test's steps on it, and closes it if the steps
// left it open. A dialog that never appears or never closes fails the test instead of hanging.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/win/support/TestSupport.h"

#include <functional>
#include <string>

namespace tools_test {

class DialogDriver {
public:
    // Opens the dialog with `open` and runs `steps` on it once it shows `title`.
    static void Run(const char* title, const std::function<void()>& open, const std::function<void(HWND)>& steps) {
        DialogDriver& d = Current();
        d.title_ = title;
        d.steps_ = steps;
        d.dialog_ = nullptr;
        d.ran_ = false;
        d.deadline_ = GetTickCount64() + kDeadlineMs;
        const UINT_PTR timer = SetTimer(nullptr, 0, kPollMs, Tick);
        open();
        KillTimer(nullptr, timer);
        EXPECT_TRUE(d.ran_) << "the dialog \"" << title << "\" never opened";
        EXPECT_FALSE(d.dialog_ && IsWindow(d.dialog_)) << "the dialog is still open after its loop ended";
    }
    // The dialog found by the last Run.
    static HWND Dialog() { return Current().dialog_; }

private:
    static constexpr UINT kPollMs = 20;
    static constexpr ULONGLONG kDeadlineMs = 20000;

    // This thread's dialog of that title: other test programs on the same display may show one
    // of the same title at the same time.
    static HWND ThreadDialog(const std::string& title) {
        struct Search {
            const std::string* title;
            HWND found;
        } search{&title, nullptr};
        EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM data) {
            auto* s = reinterpret_cast<Search*>(data);
            char cls[16] = {}, text[128] = {};
            GetClassNameA(w, cls, sizeof cls);
            GetWindowTextA(w, text, sizeof text);
            if (std::string(cls) != "#32770" || *s->title != text) return TRUE;
            s->found = w;
            return FALSE;
        }, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    static DialogDriver& Current() {
        static DialogDriver d;
        return d;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        DialogDriver& d = Current();
        if (!d.ran_) {
            // The dialog manager shows a template dialog once its queue first runs empty.
            const HWND dlg = ThreadDialog(d.title_);
            if (!dlg || !IsWindowVisible(dlg)) return;
            d.ran_ = true;  // before the steps: they may run nested loops that dispatch this timer
            d.dialog_ = dlg;
            d.steps_(dlg);
            if (IsWindow(dlg)) PostMessageA(dlg, WM_CLOSE, 0, 0);
        } else if (GetTickCount64() > d.deadline_ && d.dialog_ && IsWindow(d.dialog_)) {
            ADD_FAILURE() << "the dialog did not close by itself";
            PostMessageA(d.dialog_, WM_CLOSE, 0, 0);
        }
    }

    std::string title_;
    std::function<void(HWND)> steps_;
    HWND dialog_ = nullptr;
    bool ran_ = false;
    ULONGLONG deadline_ = 0;
};

inline std::string TextOfItem(HWND dlg, int id) {
    char buf[256] = {};
    GetDlgItemTextA(dlg, id, buf, sizeof buf);
    return buf;
}

}  // namespace tools_test
