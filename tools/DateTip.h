// The clock face's date tip: today's date in the system's short date form, shown when the
// mouse comes to rest over the clock window and hidden after a few seconds, when the mouse
// leaves or when a button is pressed. The clock window owns it for its life and hands it its
// mouse messages; the tip asks the system for one hover and one leave notice per visit
// (TrackMouseEvent) instead of watching every mouse move, so a pointer resting on the clock
// costs next to nothing.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "toolkit/Controls.h"

namespace tools {

inline constexpr int kDateTipAutoPopMs = 4000;
inline constexpr int kDateTipMaxWidth = 288;
// The tip's top left corner lies this far below the pointer's hot spot.
inline constexpr int kDateTipBelowPointer = 20;

class DateTip {
public:
    explicit DateTip(HWND clock);
    DateTip(const DateTip&) = delete;
    DateTip& operator=(const DateTip&) = delete;
    ~DateTip();

    // The clock window's WM_MOUSEMOVE, WM_MOUSEHOVER, WM_MOUSELEAVE and button-down messages.
    void OnMouseMessage(UINT msg);
    // The tip window (a top-most tool tip control).
    HWND hwnd() const { return tip_.hwnd(); }
    bool Shown() const;

private:
    void Show();
    void Hide();
    void TrackMouse(DWORD flags);
    static void CALLBACK AutoPop(HWND tipWindow, UINT, UINT_PTR, DWORD);

    HWND clock_;             // not owned: the window the tip belongs to
    controls::Tooltip tip_;
    bool visiting_ = false;  // the mouse is over the clock and a leave notice is asked for
};

// Creates the date tip of `clock`; destroying the result removes it.
std::unique_ptr<DateTip> CreateDateTip(HWND clock);
// The local date in the system's short date form.
std::string ShortDateText(const SYSTEMTIME& date);

}  // namespace tools
