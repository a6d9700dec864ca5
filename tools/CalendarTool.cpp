#include "tools/CalendarTool.h"

#include <commctrl.h>

#include <string>
#include <string_view>

#include "common/Handles.h"
#include "common/SystemSeams.h"
#include "toolkit/ControlTable.h"
#include "toolkit/Controls.h"
#include "tools/DayCount.h"
#include "toolkit/Dialog.h"

namespace tools {

using namespace calendar_tool;

namespace {

// Layout in pixels of the client area. The long date format ("Wednesday, September 30,
// 2026") and the month grid with its "Today" line set the widths; the number field and its
// labels follow the date field on the same row.
constexpr int kFrameLeft = 10, kFrameRight = 410, kFrameTop = 12, kFrameBottom = 236;
constexpr int kRowY = 25, kRowHeight = 20;
constexpr int kDateFieldX = 21, kDateFieldWidth = 224;
constexpr int kDistanceLabelX = kDateFieldX + kDateFieldWidth + 12;
constexpr int kNumberFieldX = kDistanceLabelX + 56, kNumberFieldWidth = 64;
constexpr int kDaysLabelX = kNumberFieldX + kNumberFieldWidth + 6;
constexpr int kMonthCalendarWidth = 290, kMonthCalendarHeight = 176, kMonthCalendarY = 54;
constexpr int kMonthCalendarX = (kFrameLeft + kFrameRight - kMonthCalendarWidth) / 2;  // centred in the frame
constexpr int kOkWidth = 72, kOkHeight = 21, kOkX = kFrameRight - 3 - kOkWidth, kOkY = 276;

// The controls in creation order, which is the Tab order. The date controls and the spinner
// keep their own font; the labels and the rest take the dialog's, and the labels are then
// fitted to their text.
struct CalendarControl {
    toolkit::ControlSpec spec;
    bool dialogFont;
};
constexpr CalendarControl kControls[] = {
    {{"STATIC", 0, "Current date", controls::kLabelStyle, kFrameLeft + 12, 8, controls::kLabelWidth,
      controls::kLabelHeight}, true},
    {{DATETIMEPICK_CLASSA, kDateFieldId, nullptr, controls::kDatePickerStyle | DTS_UPDOWN | DTS_LONGDATEFORMAT,
      kDateFieldX, kRowY, kDateFieldWidth, kRowHeight}, false},
    {{"STATIC", 0, "Distance", controls::kLabelStyle, kDistanceLabelX, kRowY + 3, controls::kLabelWidth,
      controls::kLabelHeight}, true},
    {{"Edit", kNumberFieldId, nullptr, controls::kEditStyle, kNumberFieldX, kRowY, kNumberFieldWidth, kRowHeight,
      WS_EX_CLIENTEDGE}, true},
    // Placed beside the number field when it becomes the field's buddy.
    // No Tab stop of its own: the arrow keys in the number field move it.
    {{UPDOWN_CLASSA, kSpinnerId, nullptr, (controls::kUpDownStyle | UDS_ARROWKEYS) & ~WS_TABSTOP, controls::kUpDownX,
      controls::kUpDownY,
      controls::kUpDownWidth, controls::kUpDownHeight}, false},
    {{"STATIC", 0, "Days", controls::kLabelStyle, kDaysLabelX, kRowY + 3, controls::kLabelWidth,
      controls::kLabelHeight}, true},
    // The month calendar is reached by Tab too (its arrows move the day), before OK below it.
    {{MONTHCAL_CLASSA, kMonthCalendarId, nullptr, controls::kMonthCalStyle | WS_TABSTOP, kMonthCalendarX,
      kMonthCalendarY, kMonthCalendarWidth, kMonthCalendarHeight}, false},
    {{"BUTTON", kOkId, "OK(&O)", controls::kButtonStyle | BS_DEFPUSHBUTTON, kOkX, kOkY, kOkWidth, kOkHeight}, true},
};

// Everything the open dialog owns; lives on the stack of ShowCalendarTool.
struct CalendarState {
    win::AutoFont font;  // the controls' font: outlives them, which go with the dialog
    // Set while the tool itself moves the date controls, so that a control echoing that move
    // as a notification is not taken for the user's choice.
    bool movingDates = false;
};

toolkit::CivilDate Today() {
    const SYSTEMTIME now = sys::LocalTime();
    return {now.wYear, now.wMonth, now.wDay};
}

toolkit::CivilDate DateOf(const SYSTEMTIME& st) { return {st.wYear, st.wMonth, st.wDay}; }

// Both date controls to today plus `days`; a date the controls cannot show changes nothing.
void MoveDatesBy(HWND dlg, CalendarState& s, long long days) {
    if (!toolkit::TodayPlusInRange(Today(), days)) return;
    s.movingDates = true;
    controls::DatePicker::SetTodayPlus(dlg, kDateFieldId, static_cast<int>(days));
    controls::MonthCalendar::SetTodayPlus(dlg, kMonthCalendarId, static_cast<int>(days));
    s.movingDates = false;
}

// The number field shows the distance from today to `chosen`; its change moves the date controls.
void ShowDistanceTo(HWND dlg, const SYSTEMTIME& chosen) {
    controls::Edit::SetEditText(dlg, kNumberFieldId, std::to_string(toolkit::DayDistance(Today(), DateOf(chosen))));
}

BOOL OnInitDialog(HWND dlg, CalendarState& s) {
    toolkit::AttachDialogState(dlg, reinterpret_cast<LPARAM>(&s));
    toolkit::CentreDialogOnDesktop(dlg, kDialogWidth, kDialogHeight, kTitle);
    s.font = toolkit::CreateDialogFont(dlg);
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_DATE_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&classes);
    for (const CalendarControl& row : kControls) {
        HWND control = toolkit::CreateChildControl(dlg, row.dialogFont ? s.font.get() : nullptr, row.spec);
        if (std::string_view(row.spec.className) == "STATIC") controls::Label::FitToText(control);
    }
    SetFocus(GetDlgItem(dlg, kDateFieldId));
    controls::DatePicker::SetTodayPlus(dlg, kDateFieldId, 0);
    SendDlgItemMessageA(dlg, kNumberFieldId, EM_LIMITTEXT, kNumberFieldMaxChars, 0);
    SendDlgItemMessageA(dlg, kSpinnerId, UDM_SETRANGE32, static_cast<WPARAM>(controls::kUpDownMin),
                        controls::kUpDownMax);
    controls::UpDown::SetBuddy(dlg, kSpinnerId, GetDlgItem(dlg, kNumberFieldId));
    controls::MonthCalendar::SetTodayPlus(dlg, kMonthCalendarId, 0);
    controls::Edit::SetEditText(dlg, kNumberFieldId, "0");
    return FALSE;  // the focus is set above
}

void OnClose(HWND dlg) {
    EndDialog(dlg, 0);
}

// Notifications are told apart by their code alone: each comes from one control only.
void OnNotify(HWND dlg, CalendarState& s, const NMHDR& hdr) {
    switch (hdr.code) {
    case UDN_DELTAPOS: {
        // Before the spinner moves: the date controls go to where it is about to stand. The
        // spinner stops at its range ends, and an accelerated step moves by its whole delta.
        const auto& ud = reinterpret_cast<const NMUPDOWN&>(hdr);
        long long target = static_cast<long long>(ud.iPos) + ud.iDelta;
        if (target < controls::kUpDownMin) target = controls::kUpDownMin;
        if (target > controls::kUpDownMax) target = controls::kUpDownMax;
        MoveDatesBy(dlg, s, target);
        break;  // the spinner then writes its new position into the number field
    }
    case DTN_DATETIMECHANGE: {
        if (s.movingDates) break;
        const auto& change = reinterpret_cast<const NMDATETIMECHANGE&>(hdr);
        if (change.dwFlags != GDT_VALID) break;
        SYSTEMTIME chosen = change.st;
        s.movingDates = true;
        SendDlgItemMessageA(dlg, kMonthCalendarId, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&chosen));
        s.movingDates = false;
        ShowDistanceTo(dlg, chosen);
        break;
    }
    case MCN_SELCHANGE: {
        if (s.movingDates) break;
        ShowDistanceTo(dlg, reinterpret_cast<const NMSELCHANGE&>(hdr).stSelStart);
        break;
    }
    }
}

void OnNumberFieldChange(HWND dlg, CalendarState& s) {
    if (const auto days = toolkit::ParseDayCount(controls::Edit::Text(dlg, kNumberFieldId))) MoveDatesBy(dlg, s, *days);
}

void OnCommand(HWND dlg, CalendarState& s, WPARAM wp) {
    if (LOWORD(wp) == kNumberFieldId && HIWORD(wp) == EN_CHANGE) {
        OnNumberFieldChange(dlg, s);
    } else if (wp == kOkId) {
        SendMessageA(dlg, WM_CLOSE, 0, 0);
    } else if (wp == IDCANCEL) {
        // Escape: the dialog manager sends the cancel command (identifier 2 with code 0,
        // which the number field never sends).
        SendMessageA(dlg, WM_CLOSE, 0, 0);
    }
}

INT_PTR CALLBACK CalendarProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) return OnInitDialog(dlg, *reinterpret_cast<CalendarState*>(lp));
    CalendarState* s = toolkit::DialogState<CalendarState>(dlg);
    if (!s) return FALSE;
    switch (msg) {
    case WM_NOTIFY:
        OnNotify(dlg, *s, *reinterpret_cast<const NMHDR*>(lp));
        return FALSE;  // 0: let the spinner move
    case WM_COMMAND:
        OnCommand(dlg, *s, wp);
        return TRUE;
    case WM_PAINT:
        toolkit::PaintDialog(dlg, PaintCalendarTool);
        return TRUE;
    case WM_CLOSE:
        OnClose(dlg);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

void PaintCalendarTool(HDC dc) {
    toolkit::DrawEtchedFrame(dc, kFrameLeft, kFrameRight, kFrameTop, kFrameBottom);
    toolkit::DrawSunkenFrame(dc, kOkX - 1, kOkX + kOkWidth + 1, kOkY - 1, kOkY + kOkHeight + 1);
}

void ShowCalendarTool(HWND owner) {
    CalendarState state;
    toolkit::RunDialogWithState(owner, CalendarProc, state);
}

}  // namespace tools
