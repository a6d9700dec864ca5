#include "toolkit/Controls.h"

#include <commctrl.h>

#include "common/WindowText.h"
#include "common/Handles.h"
#include "common/Monitors.h"
#include "common/SystemSeams.h"
#include "toolkit/ControlTable.h"
#include "toolkit/DateMath.h"

#include <algorithm>
#include <string>

namespace {

// Pixels an open combo-box list adds around an item's text: its borders and item margins.
constexpr int kDropListMargin = 8;

HINSTANCE ProgramInstance() { return GetModuleHandleA(nullptr); }

// One wrapper's control through the one creation primitive; font may be null (the control's
// own font).
HWND CreateChild(HWND parent, HFONT font, const toolkit::ControlSpec& spec) {
    return toolkit::CreateChildControl(parent, font, spec);
}

void InitControlGroup(DWORD group) {
    INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), group};
    InitCommonControlsEx(&icc);
}

// Today's local date (through the clock seam) moved by whole days, as a date-only SYSTEMTIME.
SYSTEMTIME TodayPlus(int days) {
    const SYSTEMTIME now = sys::LocalTime();
    // A SYSTEMTIME date moved by an int of days always has a date.
    const toolkit::CivilDate d = toolkit::AddDays({now.wYear, now.wMonth, now.wDay}, days).value_or(toolkit::CivilDate{});
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(d.year);
    st.wMonth = static_cast<WORD>(d.month);
    st.wDay = static_cast<WORD>(d.day);
    return st;
}

void DestroyIfWindow(HWND h) {
    if (h && IsWindow(h)) DestroyWindow(h);
}

}  // namespace

namespace controls {

void MultiControl::Release() {
    for (HWND& h : handles_) {
        DestroyIfWindow(h);
        h = nullptr;
    }
    handles_.clear();
}

void SingleControl::Release() {
    DestroyIfWindow(handle_);
    handle_ = nullptr;
}

// --- buttons ---

void Button::CreateButton(HWND parent, const std::string& text, int id, int x, int y, int width, int height,
                             HFONT font, DWORD style) {
    Remember(CreateChild(parent, font, {"BUTTON", id, text.c_str(), controls::kButtonStyle | style, x, y, width, height}));
}

bool Button::GetButtonState(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void Button::SetButtonState(HWND dialog, int id, int state) {
    SendDlgItemMessageA(dialog, id, BM_SETCHECK, static_cast<WPARAM>(state), 0);
}

// --- track bar ---

Trackbar::Trackbar() { InitControlGroup(ICC_BAR_CLASSES); }

void Trackbar::CreateTrackBar(HWND parent, int id, int x, int y, DWORD style) {
    HWND h = CreateChild(parent, nullptr,
                         {TRACKBAR_CLASSA, id, nullptr, controls::kTrackbarStyle | style, x, y,
                          controls::kTrackbarWidth, controls::kTrackbarHeight});
    Remember(h);
    SendMessageA(h, TBM_SETRANGE, TRUE, MAKELPARAM(controls::kTrackbarMin, controls::kTrackbarMax));
    SendMessageA(h, TBM_SETPAGESIZE, 0, controls::kTrackbarStep);
    SendMessageA(h, TBM_SETLINESIZE, 0, controls::kTrackbarStep);
}

int Trackbar::Value() const { return static_cast<int>(SendMessageA(hwnd(), TBM_GETPOS, 0, 0)); }

void Trackbar::SetValue(int position) { SendMessageA(hwnd(), TBM_SETPOS, TRUE, position); }

// --- drop-down lists ---

void ComboBox::CreateCombox(HWND parent, int id, int x, int y, int width, int height, HFONT font,
                               DWORD style) {
    Remember(CreateChild(parent, font, {"COMBOBOX", id, nullptr, controls::kComboStyle | style, x, y, width, height}));
}

void ComboBox::AddItem(HWND dialog, int id, const std::string& item) {
    SendDlgItemMessageA(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void ComboBox::ListIndex(HWND dialog, int id, int index) {
    SendDlgItemMessageA(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int ComboBox::GetSelItem(HWND dialog, int id) {
    return static_cast<int>(SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0));
}

int ComboBox::ListCount(HWND dialog, int id) {
    return static_cast<int>(SendDlgItemMessageA(dialog, id, CB_GETCOUNT, 0, 0));
}

void ComboBox::DeleteItem(HWND dialog, int id) {
    for (int i = ListCount(dialog, id) - 1; i >= 1; --i)
        SendDlgItemMessageA(dialog, id, CB_DELETESTRING, static_cast<WPARAM>(i), 0);
    ListIndex(dialog, id, 0);
}

void ComboBox::FitDropDownWidth(HWND dialog, int id) {
    HWND combo = GetDlgItem(dialog, id);
    if (!combo) return;
    RECT box{};
    GetWindowRect(combo, &box);
    int widest = box.right - box.left;
    {
        win::WindowDC dc(combo);
        win::ScopedSelect select(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(combo, WM_GETFONT, 0, 0)));
        const int count = ListCount(dialog, id);
        for (int i = 0; i < count; ++i) {
            const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
            if (length <= 0) continue;
            std::string text(static_cast<size_t>(length) + 1, '\0');
            const LRESULT got =
                SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
            if (got <= 0) continue;
            text.resize(std::min(static_cast<size_t>(got), static_cast<size_t>(length)));
            // The list's own border and item margins, and a scroll bar when the list is long.
            widest = std::max(widest, win::TextWidth(dc.get(), text) + kDropListMargin + GetSystemMetrics(SM_CXVSCROLL));
        }
    }
    widest = std::min(widest, monitors::WorkAreaOf(combo).width());  // the monitor the list drops on
    SendMessageA(combo, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(widest), 0);
}

std::string ComboBox::SelIndexText(HWND dialog, int id) {
    const int sel = GetSelItem(dialog, id);
    if (sel == CB_ERR) return {};
    const LRESULT len = SendDlgItemMessageA(dialog, id, CB_GETLBTEXTLEN, static_cast<WPARAM>(sel), 0);
    if (len == CB_ERR || len < 0) return {};
    // The item's own text, with room for its terminator.
    std::string buf(static_cast<size_t>(len) + 1, '\0');
    const LRESULT got = SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(sel),
                                            reinterpret_cast<LPARAM>(buf.data()));
    if (got == CB_ERR || got < 0) return {};
    buf.resize(static_cast<size_t>(got) < buf.size() ? static_cast<size_t>(got) : buf.size() - 1);
    return buf.substr(0, buf.find('\0'));
}

// --- edit fields ---

void Edit::CreateEdit(HWND parent, int id, int x, int y, int width, int height, HFONT font, DWORD style,
                         int maxText) {
    HWND h = CreateChild(parent, font,
                         {"Edit", id, nullptr, controls::kEditStyle | style, x, y, width, height, WS_EX_CLIENTEDGE});
    Remember(h);
    SendMessageA(h, EM_LIMITTEXT, static_cast<WPARAM>(maxText), 0);
}

std::string Edit::Text(HWND dialog, int id) { return win::ItemText(dialog, id); }

void Edit::SetEditText(HWND dialog, int id, const std::string& text) { SetDlgItemTextA(dialog, id, text.c_str()); }

// --- date pickers ---

DatePicker::DatePicker() { InitControlGroup(ICC_DATE_CLASSES); }

void DatePicker::CreateDTPicker(HWND parent, int id, int x, int y, int width, int height, DWORD style) {
    Remember(CreateChild(parent, nullptr,
                         {DATETIMEPICK_CLASSA, id, nullptr, controls::kDatePickerStyle | style, x, y, width, height}));
}

void DatePicker::SetTodayPlus(HWND dialog, int id, int days) {
    SYSTEMTIME st = TodayPlus(days);
    SendDlgItemMessageA(dialog, id, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

// --- labels ---

void Label::CreateLabel(HWND parent, const std::string& text, int x, int y, HFONT font, DWORD style, int id) {
    Remember(CreateChild(parent, font,
                         {"STATIC", id, text.c_str(), controls::kLabelStyle | style, x, y, controls::kLabelWidth,
                          controls::kLabelHeight}));
}

void Label::FitToText(HWND label) {
    if (!label) return;
    const std::string text = win::WindowText(label);
    win::WindowDC dc(label);
    RECT r{};
    {
        // Without a font of its own the label draws with the DC's default one.
        win::ScopedSelect select(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(label, WM_GETFONT, 0, 0)));
        const std::wstring wide = win::Wide(text);
        DrawTextW(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &r, DT_CALCRECT | DT_SINGLELINE);
    }
    if (r.right > 0) SetWindowPos(label, nullptr, 0, 0, r.right, r.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// --- up-down spinners ---

UpDown::UpDown() { InitControlGroup(ICC_UPDOWN_CLASS); }

void UpDown::CreateUpDown(HWND parent, int id) {
    HWND h = CreateChild(parent, nullptr,
                         {UPDOWN_CLASSA, id, nullptr, controls::kUpDownStyle, controls::kUpDownX, controls::kUpDownY,
                          controls::kUpDownWidth, controls::kUpDownHeight});
    Remember(h);
    SendMessageA(h, UDM_SETRANGE32, static_cast<WPARAM>(controls::kUpDownMin), controls::kUpDownMax);
}

void UpDown::SetBuddy(HWND dialog, int id, HWND buddy) {
    SendDlgItemMessageA(dialog, id, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
}

// --- month calendars ---

MonthCalendar::MonthCalendar() { InitControlGroup(ICC_DATE_CLASSES); }

void MonthCalendar::CreateMonthCalendar(HWND parent, int id) {
    Remember(CreateChild(parent, nullptr,
                         {MONTHCAL_CLASSA, id, nullptr, controls::kMonthCalStyle, controls::kMonthCalX,
                          controls::kMonthCalY, controls::kMonthCalWidth, controls::kMonthCalHeight}));
}

void MonthCalendar::SetTodayPlus(HWND dialog, int id, int days) {
    SYSTEMTIME st = TodayPlus(days);
    SendDlgItemMessageA(dialog, id, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&st));
}

// --- tool tips ---

Tooltip::Tooltip() { InitControlGroup(ICC_BAR_CLASSES); }

void Tooltip::CreateTooltip() {
    // A top-level pop-up, not a child control, so it is not created from a control row.
    HWND h = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, controls::kTooltipStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, ProgramInstance(), nullptr);
    Remember(h);
    SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

namespace {

TTTOOLINFOA TrackingTool(HWND window) {
    TTTOOLINFOA ti{};
    // The record size that every common-controls version accepts (no lpReserved).
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE;
    ti.hwnd = window;
    ti.uId = reinterpret_cast<UINT_PTR>(window);
    ti.hinst = ProgramInstance();
    return ti;
}

}  // namespace

void Tooltip::AddTrackingTool(HWND window) {
    TTTOOLINFOA ti = TrackingTool(window);
    ti.lpszText = const_cast<char*>("");
    SendMessageA(hwnd(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

void Tooltip::ShowTrackingTip(HWND window, const std::string& text, POINT at) {
    TTTOOLINFOA ti = TrackingTool(window);
    // The tool tip copies the text.
    ti.lpszText = const_cast<char*>(text.c_str());
    SendMessageA(hwnd(), TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
    SendMessageA(hwnd(), TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y));
    SendMessageA(hwnd(), TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
}

void Tooltip::HideTrackingTip(HWND window) {
    TTTOOLINFOA ti = TrackingTool(window);
    SendMessageA(hwnd(), TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
}

int Tooltip::InitialDelay() const {
    return static_cast<int>(SendMessageA(hwnd(), TTM_GETDELAYTIME, TTDT_INITIAL, 0));
}

void Tooltip::Tooltip_SetDelayTime(int milliseconds) {
    SendMessageA(hwnd(), TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(milliseconds, 0));
}

void Tooltip::Tooltip_SetMaxWidth(int maxWidth) { SendMessageA(hwnd(), TTM_SETMAXTIPWIDTH, 0, maxWidth); }

}  // namespace controls
