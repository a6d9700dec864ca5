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

DateTip::DateTip(HWND clock) : clock_(clock) {
    tip_.CreateTooltip();
    tip_.Tooltip_SetDelayTime(kDateTipAutoPopMs);
    tip_.Tooltip_SetMaxWidth(kDateTipMaxWidth);
    tip_.AddTrackingTool(clock_);
}

DateTip::~DateTip() {
    if (visiting_ && IsWindow(clock_)) TrackMouse(TME_CANCEL | TME_HOVER | TME_LEAVE);
}

std::unique_ptr<DateTip> CreateDateTip(HWND clock) { return std::make_unique<DateTip>(clock); }

void DateTip::TrackMouse(DWORD flags) {
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = flags;
    track.hwndTrack = clock_;
    // The tool tip's own initial delay, so the tip comes as soon as a subclassing one would.
    track.dwHoverTime = static_cast<DWORD>(tip_.InitialDelay());
    TrackMouseEvent(&track);
}

void DateTip::OnMouseMessage(UINT msg) {
    switch (msg) {
    case WM_MOUSEMOVE:
        // One hover notice per visit: after the tip pops it stays away until the mouse leaves.
        if (!visiting_) {
            visiting_ = true;
            TrackMouse(TME_HOVER | TME_LEAVE);
        }
        break;
    case WM_MOUSEHOVER: Show(); break;
    case WM_MOUSELEAVE:
        visiting_ = false;
        Hide();
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: Hide(); break;
    default: break;
    }
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

void CALLBACK DateTip::AutoPop(HWND tipWindow, UINT, UINT_PTR id, DWORD) {
    KillTimer(tipWindow, id);
    // The only tool of the tip is its clock window.
    TTTOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    if (SendMessageA(tipWindow, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&ti)))
        SendMessageA(tipWindow, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
}

}  // namespace tools
