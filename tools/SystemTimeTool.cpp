#include "tools/SystemTimeTool.h"

#include <commctrl.h>

#include <string>
#include <string_view>

#include "common/Handles.h"
#include "common/SystemSeams.h"
#include "toolkit/ControlTable.h"
#include "toolkit/Controls.h"
#include "toolkit/Dialog.h"

namespace tools {

using namespace system_time_tool;

namespace {

// Layout in pixels of the client area. The long date format ("Wednesday, September 30,
// 2026") and a 12-hour time with its marker set the fields' widths; OK, Apply and Cancel
// span the frame below them.
constexpr int kFrameLeft = 10, kFrameRight = 372;
constexpr int kFieldY = 25, kFieldHeight = 20;
constexpr int kDateFieldX = 22, kDateFieldWidth = 224;
constexpr int kTimeFieldX = kDateFieldX + kDateFieldWidth + 10, kTimeFieldWidth = 104;
constexpr int kButtonWidth = 70, kButtonHeight = 20, kButtonY = 67;
constexpr int kButtonX[] = {kFrameLeft + 5, (kFrameLeft + kFrameRight) / 2 - kButtonWidth / 2,
                            kFrameRight - 5 - kButtonWidth};

// The controls in creation order, which is the Tab order. The date and time fields keep their
// own font; the buttons and the label take the dialog's, and the label is fitted to its text.
struct SystemTimeControl {
    toolkit::ControlSpec spec;
    bool dialogFont;
};
constexpr SystemTimeControl kControls[] = {
    {{"BUTTON", kOkId, "OK(&O)", controls::kButtonStyle | WS_GROUP | BS_DEFPUSHBUTTON, kButtonX[0], kButtonY,
      kButtonWidth, kButtonHeight}, true},
    {{"BUTTON", kApplyId, "Apply(&A)", controls::kButtonStyle | WS_DISABLED, kButtonX[1], kButtonY, kButtonWidth,
      kButtonHeight}, true},
    {{"BUTTON", kCancelId, "Cancel(&C)", controls::kButtonStyle, kButtonX[2], kButtonY, kButtonWidth, kButtonHeight},
     true},
    {{DATETIMEPICK_CLASSA, kDateFieldId, nullptr, controls::kDatePickerStyle | WS_GROUP | DTS_LONGDATEFORMAT,
      kDateFieldX, kFieldY, kDateFieldWidth, kFieldHeight}, false},
    {{DATETIMEPICK_CLASSA, kTimeFieldId, nullptr, controls::kDatePickerStyle | DTS_TIMEFORMAT, kTimeFieldX, kFieldY,
      kTimeFieldWidth, kFieldHeight}, false},
    {{"STATIC", 0, "Date and Time", controls::kLabelStyle, kFrameLeft + 11, 6, controls::kLabelWidth,
      controls::kLabelHeight}, true},
};

// Everything the open dialog owns; lives on the stack of ShowSystemTimeTool.
struct SystemTimeState {
    HWND dialog = nullptr;
    win::AutoFont font;  // the controls' font: outlives them, which go with the dialog
    // Set while the tool itself puts the clock into the fields, so that a field echoing that
    // as a change notification is not taken for the user's edit.
    bool showingClock = false;
    // Keeps Escape away from the dialog manager (see EscapeFilter).
    win::AutoHook escapeFilter;
    SystemTimeState* enclosing = nullptr;  // an outer open tool of this thread, if any
};

// The innermost open tool, for the thread's message filter, which has no context of its own.
SystemTimeState* g_innermost = nullptr;

HWND ApplyButton(const SystemTimeState& s) { return GetDlgItem(s.dialog, kApplyId); }

// Escape makes the dialog manager send the cancel command, whose identifier (2) is Apply's
// here: it would set the clock. Escape is turned into the Cancel button's command instead.
LRESULT CALLBACK EscapeFilter(int code, WPARAM wp, LPARAM lp) {
    if (code == MSGF_DIALOGBOX && g_innermost) {
        const MSG& m = *reinterpret_cast<const MSG*>(lp);
        const HWND dlg = g_innermost->dialog;
        if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE && (m.hwnd == dlg || IsChild(dlg, m.hwnd))) {
            SendMessageA(dlg, WM_COMMAND, kCancelId, 0);
            return TRUE;
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

void ShowLiveClock(HWND dlg, SystemTimeState& s) {
    SYSTEMTIME now = sys::LocalTime();
    s.showingClock = true;
    SendDlgItemMessageA(dlg, kDateFieldId, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&now));
    SendDlgItemMessageA(dlg, kTimeFieldId, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&now));
    s.showingClock = false;
}

void GoLive(HWND dlg, SystemTimeState& s, UINT periodMs) {
    EnableWindow(ApplyButton(s), FALSE);
    ShowLiveClock(dlg, s);
    SetTimer(dlg, kClockTimerId, periodMs, nullptr);
}

bool Edited(const SystemTimeState& s) { return IsWindowEnabled(ApplyButton(s)) != FALSE; }

std::string SystemReason(DWORD error) {
    char buf[512] = {};
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, buf,
                                   sizeof buf, nullptr);
    std::string reason(buf, n < sizeof buf ? n : sizeof buf - 1);
    while (!reason.empty() && (reason.back() == '\r' || reason.back() == '\n' || reason.back() == ' '))
        reason.pop_back();
    return reason.empty() ? "Error " + std::to_string(error) + "." : reason;
}

// Sets the clock from the two fields and returns to the live clock; a refusal is reported.
void ApplyFields(HWND dlg, SystemTimeState& s) {
    SYSTEMTIME date{}, time{};
    SendDlgItemMessageA(dlg, kDateFieldId, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date));
    SendDlgItemMessageA(dlg, kTimeFieldId, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
    const BOOL set = sys::SetLocalClock(CombineDateAndTime(date, time));
    const DWORD error = set ? ERROR_SUCCESS : GetLastError();
    GoLive(dlg, s, kTickAfterApplyMs);
    if (!set) {
        const std::string text = std::string(kRefusedText) + "\n\n" + SystemReason(error);
        MessageBoxA(dlg, text.c_str(), kTitle, MB_OK | MB_ICONWARNING);
    }
}

BOOL OnInitDialog(HWND dlg, SystemTimeState& s) {
    toolkit::AttachDialogState(dlg, reinterpret_cast<LPARAM>(&s));
    s.dialog = dlg;
    toolkit::CentreDialogOnDesktop(dlg, kDialogWidth, kDialogHeight, kTitle);
    s.font = toolkit::CreateDialogFont(dlg);
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_DATE_CLASSES};
    InitCommonControlsEx(&classes);
    for (const SystemTimeControl& row : kControls) {
        HWND control = toolkit::CreateChildControl(dlg, row.dialogFont ? s.font.get() : nullptr, row.spec);
        if (std::string_view(row.spec.className) == "STATIC") controls::Label::FitToText(control);
    }
    // Tab in reading order: the fields, then the buttons below them.
    toolkit::PutLastInTabOrder(dlg, {kOkId, kApplyId, kCancelId});
    SetFocus(GetDlgItem(dlg, kDateFieldId));

    // The fields show the clock at once rather than at the first tick.
    ShowLiveClock(dlg, s);
    SetTimer(dlg, kClockTimerId, kFirstTickMs, nullptr);

    s.enclosing = g_innermost;
    g_innermost = &s;
    s.escapeFilter.reset(SetWindowsHookExA(WH_MSGFILTER, EscapeFilter, nullptr, GetCurrentThreadId()));
    return FALSE;  // the focus is set above
}

void OnClose(HWND dlg, SystemTimeState& s) {
    KillTimer(dlg, kClockTimerId);
    s.escapeFilter.reset();
    g_innermost = s.enclosing;
    EndDialog(dlg, 0);
}

void OnFieldEdited(HWND dlg, SystemTimeState& s) {
    if (s.showingClock) return;
    EnableWindow(ApplyButton(s), TRUE);
    KillTimer(dlg, kClockTimerId);
}

void OnCommand(HWND dlg, SystemTimeState& s, WPARAM wp) {
    switch (wp) {
    case kApplyId:
        // Only a user's edit can be applied: the button is disabled while the fields run live.
        if (Edited(s)) ApplyFields(dlg, s);
        break;
    case kOkId:
        // Without an edit the fields hold the last tick, which is behind the clock: nothing to set.
        if (Edited(s)) ApplyFields(dlg, s);
        SendMessageA(dlg, WM_CLOSE, 0, 0);
        break;
    case kCancelId:
        SendMessageA(dlg, WM_CLOSE, 0, 0);
        break;
    }
}

INT_PTR CALLBACK SystemTimeProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) return OnInitDialog(dlg, *reinterpret_cast<SystemTimeState*>(lp));
    SystemTimeState* s = toolkit::DialogState<SystemTimeState>(dlg);
    if (!s) return FALSE;
    switch (msg) {
    case WM_TIMER:
        ShowLiveClock(dlg, *s);
        return TRUE;
    case WM_NOTIFY: {
        const NMHDR& hdr = *reinterpret_cast<const NMHDR*>(lp);
        if (hdr.code == DTN_DATETIMECHANGE && (hdr.idFrom == kDateFieldId || hdr.idFrom == kTimeFieldId))
            OnFieldEdited(dlg, *s);
        return FALSE;
    }
    case WM_COMMAND:
        OnCommand(dlg, *s, wp);
        return TRUE;
    case WM_PAINT:
        toolkit::PaintDialog(dlg, PaintSystemTimeTool);
        return TRUE;
    case WM_CLOSE:
        OnClose(dlg, *s);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

SYSTEMTIME CombineDateAndTime(const SYSTEMTIME& dateField, const SYSTEMTIME& timeField) {
    SYSTEMTIME out = timeField;  // the day of the week stays as the time field gave it
    out.wYear = dateField.wYear;
    out.wMonth = dateField.wMonth;
    out.wDay = dateField.wDay;
    return out;
}

void PaintSystemTimeTool(HDC dc) {
    toolkit::DrawEtchedFrame(dc, kFrameLeft, kFrameRight, 10, 58);
    for (int x : kButtonX) toolkit::DrawSunkenFrame(dc, x - 1, x + kButtonWidth + 1, kButtonY - 1, kButtonY + kButtonHeight + 1);
}

void ShowSystemTimeTool(HWND owner) {
    SystemTimeState state;
    toolkit::RunDialogWithState(owner, SystemTimeProc, state);
    // A dialog destroyed with its owner ends without WM_CLOSE: forget it here.
    if (g_innermost == &state) g_innermost = state.enclosing;
}

}  // namespace tools
