#include "apps/break/BreakNotice.h"

#include "apps/break/BreakLogic.h"
#include "apps/break/StartRules.h"
#include "common/Dpi.h"
#include "common/MessageLoop.h"
#include "common/Monitors.h"
#include "common/SystemSeams.h"
#include "common/WindowClass.h"
#include "common/WindowState.h"
#include "toolkit/ControlTable.h"

#include <memory>
#include <optional>
#include <string>

namespace break_program {

namespace {

constexpr UINT kNoticePeriodMs = 1000;
constexpr int kFontPoints = 8;

// The notice in 96-DPI units: the sentence above, the buttons below and to the right, where the
// hand goes for "Start now".
constexpr int kNoticeWidth = 300;
constexpr int kNoticeHeight = 84;
constexpr int kNoticeMargin = 12;  // from the edges of the work area
constexpr toolkit::ControlSpec kNoticeControls[] = {
    {"STATIC", kIdNoticeText, "", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 12, 12, 276, 20},
    {"BUTTON", kIdPostpone, kPostponeCaption, BS_PUSHBUTTON, 60, 46, 124, 26},
    {"BUTTON", kIdStartNow, kStartNowCaption, BS_PUSHBUTTON, 192, 46, 96, 26},
};

struct NoticeState {
    HWND wnd = nullptr;
    HINSTANCE instance = nullptr;
    BreakConfig config;
    int show = SW_SHOW;
    breakstart::Options options;
    win::AutoFont font;
    std::uint64_t roundStartMs = 0;             // this start, or the end of the last postponement
    std::optional<std::uint64_t> postponedTo;   // while put off
    int postponesUsed = 0;
    std::optional<breaklogic::Countdown> countdown;  // while the notice shows
    HWND breakWnd = nullptr;                    // once the break runs; not owned
};

NoticeState* StateOf(HWND wnd) { return win::WindowState<NoticeState>(wnd); }

void Hide(NoticeState& s) {
    KillTimer(s.wnd, kNoticeTimerId);
    s.countdown.reset();
    ShowWindow(s.wnd, SW_HIDE);
}

void WaitFor(NoticeState& s, std::uint64_t ms) {
    SetTimer(s.wnd, kWaitTimerId, static_cast<UINT>(ms), nullptr);
}

// The break is not taken: nothing stays on the screen.
void Skip(NoticeState& s) {
    KillTimer(s.wnd, kWaitTimerId);
    DestroyWindow(s.wnd);
}

void OpenBreak(NoticeState& s) {
    KillTimer(s.wnd, kWaitTimerId);
    Hide(s);
    s.breakWnd = CreateBreakWindow(s.instance, s.config, s.show);
    if (s.breakWnd) {
        win::AddModelessWindow(s.breakWnd);  // Tab between the buttons and Esc as Cancel
    } else {
        DestroyWindow(s.wnd);  // nothing to wait for
    }
}

void SetNoticeText(NoticeState& s, int secondsLeft) {
    SetDlgItemTextA(s.wnd, kIdNoticeText, breakstart::NoticeText(s.options.seconds, secondsLeft).c_str());
}

// Shows the notice near the notification area of the primary monitor without taking the focus
// from whatever the person is doing.
void ShowNotice(NoticeState& s, bool postponeOffered) {
    const monitors::Monitor primary = monitors::MonitorOf(nullptr);
    const int at = dpi::WindowDpi(s.wnd);
    const monitors::Rect place =
        breakstart::NoticePlace(primary.area, primary.work, dpi::Scale(kNoticeWidth, at),
                                dpi::Scale(kNoticeHeight, at), dpi::Scale(kNoticeMargin, at));
    ShowWindow(GetDlgItem(s.wnd, kIdPostpone), postponeOffered ? SW_SHOWNA : SW_HIDE);
    s.countdown.emplace(s.options.noticeSeconds, sys::TickCount());
    SetNoticeText(s, s.options.noticeSeconds);
    SetWindowPos(s.wnd, HWND_TOPMOST, place.left, place.top, place.width(), place.height(),
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SetTimer(s.wnd, kNoticeTimerId, kNoticePeriodMs, nullptr);
}

// Asks what to do now and does it; called at the start, while waiting and when a postponement ends.
void Step(NoticeState& s) {
    KillTimer(s.wnd, kWaitTimerId);
    const std::uint64_t now = sys::TickCount();
    if (s.postponedTo) {
        // A timer may fire early against the clock it is measured with: wait for the rest.
        if (now < *s.postponedTo) return WaitFor(s, *s.postponedTo - now);
        s.postponedTo.reset();
        s.roundStartMs = now;
    }
    breakstart::Moment moment;
    moment.busy = breakstart::BusyState(sys::NotificationState());
    moment.waitedMs = now - s.roundStartMs;
    moment.idleMs = sys::LastInputAge();
    moment.postponesUsed = s.postponesUsed;
    const breakstart::Decision d = breakstart::Decide(s.options, moment);
    switch (d.step) {
    case breakstart::Step::Wait:
        return WaitFor(s, breakstart::kBusyCheckMs);
    case breakstart::Step::Skip:
        return Skip(s);
    case breakstart::Step::Notice:
        return ShowNotice(s, d.postponeOffered);
    case breakstart::Step::Break:
        return OpenBreak(s);
    }
}

void OnNoticeTick(NoticeState& s) {
    if (!s.countdown) return;
    const int left = s.countdown->Remaining(sys::TickCount());
    if (left == 0) return OpenBreak(s);
    SetNoticeText(s, left);
}

void Postpone(NoticeState& s) {
    // Only while the button is offered: a stray command cannot put off an enforced break.
    if (!s.countdown || !IsWindowVisible(GetDlgItem(s.wnd, kIdPostpone))) return;
    ++s.postponesUsed;
    Hide(s);
    s.postponedTo = sys::TickCount() + breakstart::kPostponeMs;
    WaitFor(s, breakstart::kPostponeMs);
}

void OnCommand(NoticeState& s, int id) {
    if (id == kIdStartNow && s.countdown) OpenBreak(s);
    if (id == kIdPostpone) Postpone(s);
}

bool OnCreate(HWND wnd, const CREATESTRUCTA* cs) {
    NoticeState* s = win::AttachWindowState(wnd, std::make_unique<NoticeState>());
    s->wnd = wnd;
    s->instance = cs->hInstance;
    s->config = *static_cast<const BreakConfig*>(cs->lpCreateParams);
    s->options = ReadBreakOptions(s->config.iniPath);
    s->roundStartMs = sys::TickCount();
    s->font.reset(CreateFontA(dpi::PointsToFontHeight(kFontPoints, dpi::WindowDpi(wnd)), 0, 0, 0, FW_NORMAL, FALSE,
                              FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                              DEFAULT_PITCH | FF_SWISS, "Tahoma"));
    return toolkit::CreateControls(wnd, s->font.get(), kNoticeControls);
}

void OnDestroy(NoticeState& s) {
    KillTimer(s.wnd, kWaitTimerId);
    KillTimer(s.wnd, kNoticeTimerId);
    // Once the break runs, its window ends the program when it closes.
    if (!s.breakWnd && s.config.quitOnClose) PostQuitMessage(0);
}

LRESULT CALLBACK NoticeWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CREATE) return OnCreate(wnd, reinterpret_cast<const CREATESTRUCTA*>(lp)) ? 0 : -1;
    NoticeState* s = StateOf(wnd);
    if (!s) return DefWindowProcA(wnd, msg, wp, lp);
    switch (msg) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;  // a click on the notice leaves the focus where the person typed
    case WM_TIMER:
        if (wp == kWaitTimerId) Step(*s);
        if (wp == kNoticeTimerId) OnNoticeTick(*s);
        return 0;
    case WM_COMMAND:
        OnCommand(*s, LOWORD(wp));
        return 0;
    case WM_CLOSE:
        return 0;  // no caption: only the buttons end the notice
    case WM_DESTROY:
        OnDestroy(*s);
        return 0;
    case WM_NCDESTROY:
        win::DeleteWindowState<NoticeState>(wnd);
        break;
    default:
        break;
    }
    return DefWindowProcA(wnd, msg, wp, lp);
}

bool RegisterNoticeClass() {
    win::WindowClass spec;
    spec.name = kNoticeClass;
    spec.procedure = NoticeWndProc;
    spec.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    return win::RegisterWindowClass(spec);
}

// The mutex of this desktop's break. A window lookup would miss a break that waits with no
// window shown and race with one being made; the mutex is claimed atomically and the system
// frees it when its process ends, however it ends. Named after the desktop, since a break covers
// the screens of one desktop.
std::string OnlyBreakName() {
    char desktop[256] = {};
    DWORD needed = 0;
    // The thread's desktop handle is not owned: it is never closed.
    if (!GetUserObjectInformationA(GetThreadDesktop(GetCurrentThreadId()), UOI_NAME, desktop, sizeof(desktop) - 1,
                                   &needed)) {
        desktop[0] = '\0';
    }
    std::string name = desktop;
    for (char& c : name) {
        if (c == '\\') c = '_';  // the one backslash a name may hold is the namespace's
    }
    return "Local\\ZentaroBreak." + name;
}

}  // namespace

win::AutoHandle ClaimOnlyBreak() {
    win::AutoHandle mutex(CreateMutexA(nullptr, FALSE, OnlyBreakName().c_str()));
    if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) mutex.reset();
    return mutex;
}

HWND StartBreak(HINSTANCE instance, const BreakConfig& config, int show) {
    if (!RegisterNoticeClass()) return nullptr;
    HWND wnd = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kNoticeClass, kNoticeTitle,
                               WS_POPUP | WS_BORDER, 0, 0, 0, 0, nullptr, nullptr, instance,
                               const_cast<BreakConfig*>(&config));
    if (!wnd) return nullptr;
    if (NoticeState* s = StateOf(wnd)) {
        s->show = show;
        Step(*s);
    }
    return wnd;
}

HWND NoticeBreakWindow(HWND notice) {
    char cls[32] = {};
    if (!IsWindow(notice) || !GetClassNameA(notice, cls, static_cast<int>(sizeof(cls))) ||
        lstrcmpA(cls, kNoticeClass) != 0) {
        return nullptr;
    }
    const NoticeState* s = StateOf(notice);
    return s && IsWindow(s->breakWnd) ? s->breakWnd : nullptr;
}

int RunBreak(HINSTANCE instance, int show) {
    SetUnhandledExceptionFilter(BreakCrashFilter);
    // A break due while another one waits or runs is the same break: this start ends at once.
    const win::AutoHandle only = ClaimOnlyBreak();
    if (!only) return 0;
    HWND notice = StartBreak(instance, DefaultBreakConfig(), show);
    if (!notice) return 1;
    const int code = win::RunMessageLoop();
    // Asked to quit while the break is still there: end it properly, which puts the screen-saver
    // flag back.
    if (HWND brk = NoticeBreakWindow(notice)) {
        win::RemoveModelessWindow(brk);
        DestroyWindow(brk);
    }
    if (IsWindow(notice)) DestroyWindow(notice);
    return code;
}

}  // namespace break_program
