#include "toolkit/Controls.h"

#include <commctrl.h>

#include "common/WindowText.h"
#include "common/Handles.h"
#include "common/SystemSeams.h"
#include "toolkit/DateMath.h"

#include <algorithm>
#include <string>

namespace {

// Pixels an open combo-box list adds around an item's text: its borders and item margins.
constexpr int kDropListMargin = 8;

HINSTANCE ProgramInstance() { return GetModuleHandleA(nullptr); }

HWND CreateChild(DWORD exStyle, const char* cls, const char* text, DWORD style, int x, int y, int w, int h,
                 HWND parent, int id) {
    return CreateWindowExA(exStyle, cls, text, style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ProgramInstance(), nullptr);
}

void InitControlGroup(DWORD group) {
    INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), group};
    InitCommonControlsEx(&icc);
}

void SetFont(HWND h, HFONT font, bool redraw) {
    SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
}

// Today's local date (through the clock seam) moved by whole days, as a date-only SYSTEMTIME.
SYSTEMTIME TodayPlus(int days) {
    const SYSTEMTIME now = sys::LocalTime();
    const toolkit::CivilDate d = toolkit::AddDays({now.wYear, now.wMonth, now.wDay}, days);
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

void Button::CreateButton(HWND parent, const std::string& strText, int ID, int X, int Y, int nWidth, int nHeight,
                             HFONT hWndFont, DWORD Style) {
    HWND h = CreateChild(0, "BUTTON", strText.c_str(), controls::kButtonStyle | Style, X, Y, nWidth, nHeight, parent,
                         ID);
    Remember(h);
    SetFont(h, hWndFont, false);
}

bool Button::GetButtonState(HWND hDlg, int ID) { return IsDlgButtonChecked(hDlg, ID) == BST_CHECKED; }

void Button::SetButtonState(HWND hDlg, int ID, int State) {
    SendDlgItemMessageA(hDlg, ID, BM_SETCHECK, static_cast<WPARAM>(State), 0);
}

// --- track bar ---

Trackbar::Trackbar() { InitControlGroup(ICC_BAR_CLASSES); }

void Trackbar::CreateTrackBar(HWND hWndParent, int ID, int X, int Y, DWORD Style) {
    HWND h = CreateChild(0, TRACKBAR_CLASSA, nullptr, controls::kTrackbarStyle | Style, X, Y,
                         controls::kTrackbarWidth, controls::kTrackbarHeight, hWndParent, ID);
    Remember(h);
    SendMessageA(h, TBM_SETRANGE, TRUE, MAKELPARAM(controls::kTrackbarMin, controls::kTrackbarMax));
    SendMessageA(h, TBM_SETPAGESIZE, 0, controls::kTrackbarStep);
    SendMessageA(h, TBM_SETLINESIZE, 0, controls::kTrackbarStep);
}

int Trackbar::Value() const { return static_cast<int>(SendMessageA(hwnd(), TBM_GETPOS, 0, 0)); }

void Trackbar::SetValue(int dwPos) { SendMessageA(hwnd(), TBM_SETPOS, TRUE, dwPos); }

// --- drop-down lists ---

void ComboBox::CreateCombox(HWND hWndParent, int ID, int X, int Y, int nWidth, int nHeight, HFONT hWndFont,
                               DWORD Style) {
    HWND h = CreateChild(0, "COMBOBOX", nullptr, controls::kComboStyle | Style, X, Y, nWidth, nHeight, hWndParent, ID);
    Remember(h);
    SetFont(h, hWndFont, true);
}

void ComboBox::AddItem(HWND hDlg, int ID, const std::string& strItem) {
    SendDlgItemMessageA(hDlg, ID, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(strItem.c_str()));
}

void ComboBox::ListIndex(HWND hDlg, int ID, int Index) {
    SendDlgItemMessageA(hDlg, ID, CB_SETCURSEL, static_cast<WPARAM>(Index), 0);
}

int ComboBox::GetSelItem(HWND hDlg, int ID) {
    return static_cast<int>(SendDlgItemMessageA(hDlg, ID, CB_GETCURSEL, 0, 0));
}

int ComboBox::ListCount(HWND hDlg, int ID) {
    return static_cast<int>(SendDlgItemMessageA(hDlg, ID, CB_GETCOUNT, 0, 0));
}

void ComboBox::DeleteItem(HWND hDlg, int ID) {
    for (int i = ListCount(hDlg, ID) - 1; i >= 1; --i)
        SendDlgItemMessageA(hDlg, ID, CB_DELETESTRING, static_cast<WPARAM>(i), 0);
    ListIndex(hDlg, ID, 0);
}

void ComboBox::FitDropDownWidth(HWND hDlg, int ID) {
    HWND combo = GetDlgItem(hDlg, ID);
    if (!combo) return;
    RECT box{};
    GetWindowRect(combo, &box);
    int widest = box.right - box.left;
    {
        win::WindowDC dc(combo);
        win::ScopedSelect select(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(combo, WM_GETFONT, 0, 0)));
        const int count = ListCount(hDlg, ID);
        for (int i = 0; i < count; ++i) {
            const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
            if (length <= 0) continue;
            std::string text(static_cast<size_t>(length) + 1, '\0');
            const LRESULT got =
                SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
            if (got <= 0) continue;
            text.resize(std::min(static_cast<size_t>(got), static_cast<size_t>(length)));
            SIZE size{};
            GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
            // The list's own border and item margins, and a scroll bar when the list is long.
            widest = std::max(widest, static_cast<int>(size.cx) + kDropListMargin + GetSystemMetrics(SM_CXVSCROLL));
        }
    }
    widest = std::min(widest, GetSystemMetrics(SM_CXSCREEN));
    SendMessageA(combo, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(widest), 0);
}

std::string ComboBox::SelIndexText(HWND hDlg, int ID) {
    const int sel = GetSelItem(hDlg, ID);
    if (sel == CB_ERR) return {};
    const LRESULT len = SendDlgItemMessageA(hDlg, ID, CB_GETLBTEXTLEN, static_cast<WPARAM>(sel), 0);
    if (len == CB_ERR || len < 0) return {};
    // The item's own text, with room for its terminator.
    std::string buf(static_cast<size_t>(len) + 1, '\0');
    const LRESULT got = SendDlgItemMessageA(hDlg, ID, CB_GETLBTEXT, static_cast<WPARAM>(sel),
                                            reinterpret_cast<LPARAM>(buf.data()));
    if (got == CB_ERR || got < 0) return {};
    buf.resize(static_cast<size_t>(got) < buf.size() ? static_cast<size_t>(got) : buf.size() - 1);
    return buf.substr(0, buf.find('\0'));
}

// --- edit fields ---

void Edit::CreateEdit(HWND hWndParent, int ID, int X, int Y, int nWidth, int nHeight, HFONT hWndFont, DWORD Style,
                         int MaxText) {
    HWND h = CreateChild(WS_EX_CLIENTEDGE, "Edit", nullptr, controls::kEditStyle | Style, X, Y, nWidth, nHeight,
                         hWndParent, ID);
    Remember(h);
    SetFont(h, hWndFont, true);
    SendMessageA(h, EM_LIMITTEXT, static_cast<WPARAM>(MaxText), 0);
}

std::string Edit::Text(HWND hDlg, int ID) { return win::ItemText(hDlg, ID); }

void Edit::SetEditText(HWND hDlg, int ID, const std::string& strText) { SetDlgItemTextA(hDlg, ID, strText.c_str()); }

// --- date pickers ---

DatePicker::DatePicker() { InitControlGroup(ICC_DATE_CLASSES); }

void DatePicker::CreateDTPicker(HWND hWndParent, int ID, int X, int Y, int nWidth, int nHeight, DWORD Style) {
    Remember(CreateChild(0, DATETIMEPICK_CLASSA, nullptr, controls::kDatePickerStyle | Style, X, Y, nWidth, nHeight,
                         hWndParent, ID));
}

void DatePicker::SetTodayPlus(HWND hDlg, int ID, int days) {
    SYSTEMTIME st = TodayPlus(days);
    SendDlgItemMessageA(hDlg, ID, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

// --- labels ---

void Label::CreateLabel(HWND hwnd, const std::string& strText, int X, int Y, HFONT hWndFont, DWORD Style, int ID) {
    HWND h = CreateChild(0, "STATIC", strText.c_str(), controls::kLabelStyle | Style, X, Y, controls::kLabelWidth,
                         controls::kLabelHeight, hwnd, ID);
    Remember(h);
    SetFont(h, hWndFont, true);
}

void Label::FitToText(HWND label) {
    if (!label) return;
    char text[256] = {};
    GetWindowTextA(label, text, sizeof text);
    win::WindowDC dc(label);
    RECT r{};
    {
        // Without a font of its own the label draws with the DC's default one.
        win::ScopedSelect select(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(label, WM_GETFONT, 0, 0)));
        DrawTextA(dc.get(), text, -1, &r, DT_CALCRECT | DT_SINGLELINE);
    }
    if (r.right > 0) SetWindowPos(label, nullptr, 0, 0, r.right, r.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// --- up-down spinners ---

UpDown::UpDown() { InitControlGroup(ICC_UPDOWN_CLASS); }

void UpDown::CreateUpDown(HWND hWndParent, int ID) {
    HWND h = CreateChild(0, UPDOWN_CLASSA, nullptr, controls::kUpDownStyle, controls::kUpDownX, controls::kUpDownY,
                         controls::kUpDownWidth, controls::kUpDownHeight, hWndParent, ID);
    Remember(h);
    SendMessageA(h, UDM_SETRANGE32, static_cast<WPARAM>(controls::kUpDownMin), controls::kUpDownMax);
}

void UpDown::SetBuddy(HWND hDlg, int ID, HWND hWndWindow) {
    SendDlgItemMessageA(hDlg, ID, UDM_SETBUDDY, reinterpret_cast<WPARAM>(hWndWindow), 0);
}

// --- month calendars ---

MonthCalendar::MonthCalendar() { InitControlGroup(ICC_DATE_CLASSES); }

void MonthCalendar::CreateMonthCalendar(HWND hWndParent, int ID) {
    Remember(CreateChild(0, MONTHCAL_CLASSA, nullptr, controls::kMonthCalStyle, controls::kMonthCalX,
                         controls::kMonthCalY, controls::kMonthCalWidth, controls::kMonthCalHeight, hWndParent, ID));
}

void MonthCalendar::SetTodayPlus(HWND hDlg, int ID, int days) {
    SYSTEMTIME st = TodayPlus(days);
    SendDlgItemMessageA(hDlg, ID, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&st));
}

// --- tool tips ---

Tooltip::Tooltip() { InitControlGroup(ICC_BAR_CLASSES); }

void Tooltip::CreateTooltip() {
    HWND h = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, controls::kTooltipStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, ProgramInstance(), nullptr);
    Remember(h);
    SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Tooltip::AddTooltip(const std::string& strText, HWND hWndWindow) {
    TTTOOLINFOA ti{};
    // The record size that every common-controls version accepts (no lpReserved).
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = nullptr;
    ti.uId = reinterpret_cast<UINT_PTR>(hWndWindow);
    ti.hinst = ProgramInstance();
    // The tool tip copies the text when the tool is added.
    ti.lpszText = const_cast<char*>(strText.c_str());
    SendMessageA(hwnd(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

void Tooltip::Tooltip_SetDelayTime(int DelayTime) {
    SendMessageA(hwnd(), TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(DelayTime, 0));
}

void Tooltip::Tooltip_SetMaxWidth(int MaxWidth) { SendMessageA(hwnd(), TTM_SETMAXTIPWIDTH, 0, MaxWidth); }

}  // namespace controls
