// The clock face's date tip: today's date in the system's short date form, shown once per
// visit of the mouse when it comes to rest over the clock window, and hidden after a few
// seconds, when the mouse leaves or when a button is pressed. The clock window owns it for its
// life and hands it its mouse messages and its ticks.
//
// The tip asks the system for hover and leave notices (TrackMouseEvent) instead of following
// every mouse move. Leave notices cost a poll of the pointer several times a second for as long
// as they are asked for, so once the tip has been shown and the mouse rests again the tip stops
// asking, and every few of the clock's own ticks tell whether the mouse is still there: a pointer resting on
// the clock then costs next to nothing.
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
// Clock ticks between two looks at the pointer while no leave notice is asked for. Each look
// asks the display server where the pointer is, the largest part of what a resting pointer costs.
inline constexpr int kDateTipLeaveCheckTicks = 3;

class DateTip {
public:
    explicit DateTip(HWND clock);
    DateTip(const DateTip&) = delete;
    DateTip& operator=(const DateTip&) = delete;
    ~DateTip();

    // The clock window's WM_MOUSEMOVE, WM_MOUSEHOVER, WM_MOUSELEAVE and button-down messages.
    void OnMouseMessage(UINT msg);
    // The clock's once-a-second tick.
    void OnClockTick();
    // The tip window (a top-most tool tip control).
    HWND hwnd() const { return tip_.hwnd(); }
    bool Shown() const;

private:
    void Show();
    void Hide();
    void StartTracking();
    void StopTracking();
    void EndVisit();
    static void CALLBACK AutoPop(HWND tipWindow, UINT, UINT_PTR, DWORD);

    HWND clock_;             // not owned: the window the tip belongs to
    controls::Tooltip tip_;
    bool visiting_ = false;  // the mouse is over the clock
    bool tracking_ = false;  // hover and leave notices are asked for
    bool shown_ = false;     // the tip has been shown in this visit
    int ticksUnchecked_ = 0; // clock ticks since the pointer was last looked for
};

// Creates the date tip of `clock`; destroying the result removes it.
std::unique_ptr<DateTip> CreateDateTip(HWND clock);
// The local date in the system's short date form.
std::string ShortDateText(const SYSTEMTIME& date);
// The time and date as a screen reader speaks them, to the minute, with the user's day and
// month names: "07:31, Wednesday 9 December 2026". Empty when the platform refuses the date.
std::string SpokenDateTimeText(const SYSTEMTIME& moment);

}  // namespace tools
