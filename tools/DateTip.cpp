#include "tools/DateTip.h"

#include <array>

#include "common/SystemSeams.h"

namespace tools {

namespace {

// On the tip window, so the auto-pop timer reaches the tip and never the clock's own timers.
constexpr UINT_PTR kAutoPopTimerId = 1;

}  // namespace

std::string ShortDateText(const SYSTEMTIME& date) {
    std::array<char, 128> buf{};
    const int n = GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &date, nullptr, buf.data(),
                                 static_cast<int>(buf.size()));
    if (n <= 0) return {};
    buf.back() = '\0';
    return std::string(buf.data());
}

std::string SpokenDateTimeText(const SYSTEMTIME& moment) {
    std::array<char, 32> time{};
    std::array<char, 128> date{};
    const int timeLength =
        GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &moment, "HH':'mm", time.data(), static_cast<int>(time.size()));
    const int dateLength = GetDateFormatA(LOCALE_USER_DEFAULT, 0, &moment, "dddd d MMMM yyyy", date.data(),
                                          static_cast<int>(date.size()));
    if (timeLength <= 0 || dateLength <= 0) return {};
    time.back() = '\0';
    date.back() = '\0';
    return std::string(time.data()) + ", " + date.data();
}

DateTip::DateTip(HWND clock) : clock_(clock) {
    tip_.CreateTooltip();
    tip_.Tooltip_SetDelayTime(kDateTipAutoPopMs);
    tip_.Tooltip_SetMaxWidth(kDateTipMaxWidth);
    tip_.AddTrackingTool(clock_);
    // The auto-pop timer's way back to this object; the tool tip control keeps its own state in
    // its window's extra bytes.
    SetWindowLongPtrA(hwnd(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

DateTip::~DateTip() {
    KillTimer(hwnd(), kAutoPopTimerId);
    if (IsWindow(clock_)) StopTracking();
}

std::unique_ptr<DateTip> CreateDateTip(HWND clock) { return std::make_unique<DateTip>(clock); }

void DateTip::StartTracking() {
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = TME_HOVER | TME_LEAVE;
    track.hwndTrack = clock_;
    // The tool tip's own initial delay, so the tip comes as soon as a subclassing one would.
    track.dwHoverTime = static_cast<DWORD>(tip_.InitialDelay());
    tracking_ = TrackMouseEvent(&track) != FALSE;
}

void DateTip::StopTracking() {
    if (!tracking_) return;
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = TME_CANCEL | TME_HOVER | TME_LEAVE;
    track.hwndTrack = clock_;
    TrackMouseEvent(&track);
    tracking_ = false;
}

void DateTip::EndVisit() {
    visiting_ = tracking_ = shown_ = false;
    Hide();
}

void DateTip::OnMouseMessage(UINT msg) {
    switch (msg) {
    case WM_MOUSEMOVE:
        visiting_ = true;
        if (!tracking_) StartTracking();
        break;
    case WM_MOUSEHOVER:
        if (!shown_) {
            shown_ = true;
            Show();
        } else if (!IsWindowVisible(hwnd())) {
            // Resting again after the tip has gone: it stays away until the mouse leaves,
            // which the clock's tick watches from now on.
            StopTracking();
        }
        break;
    case WM_MOUSELEAVE:
        // The system has ended the tracking itself.
        tracking_ = false;
        EndVisit();
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: Hide(); break;
    default: break;
    }
}

void DateTip::OnClockTick() {
    if (!visiting_ || tracking_ || ++ticksUnchecked_ < kDateTipLeaveCheckTicks) return;
    ticksUnchecked_ = 0;
    POINT at{};
    if (GetCursorPos(&at) && WindowFromPoint(at) != clock_) EndVisit();
}

void DateTip::Show() {
    POINT at{};
    GetCursorPos(&at);
    at.y += kDateTipBelowPointer;
    // Computed now, so the date is right after midnight and after the user sets the clock.
    tip_.ShowTrackingTip(clock_, ShortDateText(sys::LocalTime()), at);
    SetTimer(hwnd(), kAutoPopTimerId, kDateTipAutoPopMs, AutoPop);
}

void DateTip::Hide() {
    KillTimer(hwnd(), kAutoPopTimerId);
    tip_.HideTrackingTip(clock_);
}

bool DateTip::Shown() const { return IsWindowVisible(hwnd()) != FALSE; }

void CALLBACK DateTip::AutoPop(HWND tipWindow, UINT, UINT_PTR, DWORD) {
    auto* tip = reinterpret_cast<DateTip*>(GetWindowLongPtrA(tipWindow, GWLP_USERDATA));
    if (!tip) return;
    tip->Hide();
    // The mouse has rested here since the tip came; nothing more to show in this visit.
    tip->StopTracking();
}

}  // namespace tools
