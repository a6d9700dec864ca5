#include "breaksettings/BreakSettingsWindow.h"

#include "alarms/AlarmStore.h"
#include "alarms/AlarmList.h"
#include "alarms/Scheduler.h"
#include "breaksettings/BreakItem.h"
#include "common/WindowText.h"
#include "common/IniFile.h"
#include "common/MessageLoop.h"
#include "common/StopIni.h"
#include "common/Handles.h"
#include "common/WindowState.h"
#include "common/ProgramPath.h"
#include "common/SystemSeams.h"
#include "toolkit/ToolWindow.h"

#include <commctrl.h>

#include <array>
#include <string>

namespace {

// Client area and control places in twips (1440 per inch), converted at the screen's
// pixels per inch. The labels' column is as wide as "Select a program"; each date box shows
// its longest entry ("2000", "Wednesday") beside its drop button.
constexpr int kTwipsPerInch = 1440;
constexpr int kClientWidthTwips = 5835;
constexpr int kClientHeightTwips = 5235;
constexpr int kFontPoints = 8;
constexpr int kFieldLimit = 2;          // hour, minute, second
constexpr int kSecondsLimit = 5;        // the break length: up to 32767
constexpr int kFirstYear = 2000;        // the year box lists the years of the century
constexpr int kLastYear = 2099;
constexpr int kWeekDroppedWidthTwips = 1400;

constexpr const char* kWeekPlaceholder = "Week ";
constexpr std::array<const char*, 5> kActionNames{"Play a sound", "Text Hint", "Run a program", "Re-start Computer",
                                                  "Shut down"};
constexpr int kActionRunProgram = 2;
constexpr const char* kIniOn = "1";
constexpr const char* kIniOff = "0";

enum class Kind { Frame, Label, Option, Check, Button, DefButton, Edit, ReadOnlyEdit, NumberEdit, DropList, Combo, Spin };

struct ControlSpec {
    int id;  // -1 for a label that is never addressed
    Kind kind;
    const char* text;
    int x, y, w, h;  // twips within the client area
    bool enabled;
};

// Every control of the window, in tab order.
constexpr ControlSpec kControls[] = {
    {kIdFrameAlarmWay, Kind::Frame, "Alarm Way", 120, 0, 5595, 3015, true},
    {kIdOptionOnce, Kind::Option, "Only once", 300, 240, 1200, 270, false},
    {kIdOptionDaily, Kind::Option, "Daily", 1560, 240, 1000, 270, true},
    {kIdOptionWeekly, Kind::Option, "Weekly", 2700, 240, 1100, 270, true},
    {kIdOptionMonthly, Kind::Option, "Monthly", 300, 540, 1200, 270, false},
    {kIdOptionYearly, Kind::Option, "Yearly", 1560, 540, 1000, 270, false},
    {-1, Kind::Label, "Alarm action", 300, 960, 1500, 240, true},
    {kIdAction, Kind::DropList, "", 1800, 900, 3795, 1800, false},
    {-1, Kind::Label, "Text Hint", 300, 1350, 1500, 240, true},
    {kIdTextHint, Kind::Edit, "", 1800, 1290, 3795, 315, false},
    {-1, Kind::Label, "Select a sound", 300, 1740, 1500, 240, true},
    {kIdSound, Kind::Edit, "", 1800, 1680, 3315, 315, false},
    {kIdSoundBrowse, Kind::Button, "...", 5160, 1680, 435, 315, false},
    {-1, Kind::Label, "Select a program", 300, 2130, 1500, 240, true},
    {kIdProgram, Kind::Edit, "", 1800, 2070, 3315, 315, false},
    {kIdProgramBrowse, Kind::Button, "...", 5160, 2070, 435, 315, false},
    {-1, Kind::Label, "Parameter", 300, 2520, 1500, 240, true},
    {kIdParameter, Kind::Edit, "", 1800, 2460, 3795, 315, false},

    {kIdFrameDateTime, Kind::Frame, "Date and Time", 120, 3120, 5595, 855, true},
    {-1, Kind::Label, "Mon    Day     Year          Hour   Min    Sec.       Week", 240, 3345, 4800, 210, true},
    {kIdMonth, Kind::DropList, "", 240, 3570, 690, 1800, false},
    {kIdDay, Kind::DropList, "", 960, 3570, 690, 1800, false},
    {kIdYear, Kind::DropList, "", 1680, 3570, 900, 1800, false},
    {kIdHour, Kind::NumberEdit, "", 2625, 3570, 300, 315, true},
    {kIdHourSpin, Kind::Spin, "", 2925, 3570, 195, 315, true},
    {kIdMinute, Kind::NumberEdit, "", 3150, 3570, 300, 315, true},
    {kIdMinuteSpin, Kind::Spin, "", 3450, 3570, 195, 315, true},
    {kIdSecond, Kind::NumberEdit, "", 3675, 3570, 300, 315, true},
    {kIdSecondSpin, Kind::Spin, "", 3975, 3570, 195, 315, true},
    {kIdWeek, Kind::Combo, kWeekPlaceholder, 4200, 3570, 1470, 1800, false},

    {kIdFrameOther, Kind::Frame, "Other", 120, 4080, 5595, 615, true},
    {-1, Kind::Label, "Break", 300, 4365, 500, 240, true},
    {kIdSeconds, Kind::NumberEdit, "", 820, 4305, 800, 315, true},
    {-1, Kind::Label, "Seconds", 1680, 4365, 800, 240, true},
    {kIdEnforce, Kind::Check, "Enforce Break", 3780, 4335, 1800, 270, true},

    {kIdBreakOk, Kind::DefButton, "OK(&O)", 2940, 4785, 1260, 375, true},
    {kIdBreakCancel, Kind::Button, "Cancel(&C)", 4335, 4785, 1260, 375, true},
};

struct Spinner {
    int field;
    int spin;
    int last;
};
constexpr Spinner kSpinners[] = {{kIdHour, kIdHourSpin, 23}, {kIdMinute, kIdMinuteSpin, 59}, {kIdSecond, kIdSecondSpin, 59}};

struct BreakSettingsState {
    HWND wnd = nullptr;
    HWND owner = nullptr;  // the main window; not owned
    BreakSettingsConfig config;
    int todayWeekday = 0;
    win::AutoFont font;
};

HWND g_window = nullptr;  // the one open window

BreakSettingsState* StateOf(HWND wnd) { return win::WindowState<BreakSettingsState>(wnd); }

int ScreenDpi() {
    win::WindowDC screen(nullptr);
    const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSX);
    return dpi > 0 ? dpi : 96;
}

int Px(int twips, int dpi) { return MulDiv(twips, dpi, kTwipsPerInch); }

std::string Item(const BreakSettingsState& s, int id) { return win::ItemText(s.wnd, id); }
void SetItem(const BreakSettingsState& s, int id, const std::string& text) { SetDlgItemTextA(s.wnd, id, text.c_str()); }
void Enable(const BreakSettingsState& s, int id, bool on) { EnableWindow(GetDlgItem(s.wnd, id), on ? TRUE : FALSE); }

HWND CreateControl(const BreakSettingsState& s, const ControlSpec& c, int dpi, HINSTANCE instance) {
    const char* cls = "STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD exStyle = 0;
    switch (c.kind) {
    case Kind::Frame: cls = "BUTTON"; style |= BS_GROUPBOX; break;
    case Kind::Label: style |= SS_LEFTNOWORDWRAP | SS_NOPREFIX; break;
    case Kind::Option:
        cls = "BUTTON";
        style |= BS_AUTORADIOBUTTON | WS_TABSTOP | (c.id == kIdOptionOnce ? WS_GROUP : 0);
        break;
    case Kind::Check: cls = "BUTTON"; style |= BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP; break;
    case Kind::Button: cls = "BUTTON"; style |= BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP; break;
    case Kind::DefButton: cls = "BUTTON"; style |= BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP; break;
    case Kind::Edit:
    case Kind::ReadOnlyEdit:
        cls = "EDIT"; style |= ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP; exStyle = WS_EX_CLIENTEDGE;
        break;
    case Kind::NumberEdit:
        cls = "EDIT"; style |= ES_AUTOHSCROLL | ES_NUMBER | WS_TABSTOP | WS_GROUP; exStyle = WS_EX_CLIENTEDGE;
        break;
    case Kind::DropList: cls = "COMBOBOX"; style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP; break;
    case Kind::Combo: cls = "COMBOBOX"; style |= CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP | WS_GROUP; break;
    case Kind::Spin: cls = UPDOWN_CLASSA; style |= UDS_ARROWKEYS | UDS_NOTHOUSANDS; break;
    }
    HWND control = CreateWindowExA(exStyle, cls, c.text, style, Px(c.x, dpi), Px(c.y, dpi), Px(c.w, dpi),
                                   Px(c.h, dpi), s.wnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance,
                                   nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(s.font.get()), FALSE);
    EnableWindow(control, c.enabled ? TRUE : FALSE);
    return control;
}

void AddItems(const BreakSettingsState& s, int id, int first, int last, int selected) {
    HWND box = GetDlgItem(s.wnd, id);
    for (int n = first; n <= last; ++n) SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_string(n).c_str()));
    SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(selected - first), 0);
}

// The rule of the chosen option: only "Weekly" uses the weekday box; the date boxes stay off.
void ApplyOption(const BreakSettingsState& s) {
    const bool weekly = IsDlgButtonChecked(s.wnd, kIdOptionWeekly) == BST_CHECKED;
    for (int id : {kIdMonth, kIdDay, kIdYear}) Enable(s, id, false);
    Enable(s, kIdWeek, weekly);
}

// A time field's number goes to its spinner when it is one the spinner can show.
void SyncSpinner(const BreakSettingsState& s, const Spinner& sp) {
    const std::string text = Item(s, sp.field);
    const int value = breaksettings::FieldByte(text);
    if (!text.empty() && value <= sp.last) SendDlgItemMessageA(s.wnd, sp.spin, UDM_SETPOS32, 0, value);
}

void LoadFields(BreakSettingsState& s) {
    const SYSTEMTIME now = sys::LocalTime();
    s.todayWeekday = now.wDayOfWeek;
    AddItems(s, kIdMonth, 1, 12, now.wMonth);
    AddItems(s, kIdDay, 1, 31, now.wDay);
    AddItems(s, kIdYear, std::min<int>(kFirstYear, now.wYear), std::max<int>(kLastYear, now.wYear), now.wYear);
    SetItem(s, kIdHour, std::to_string(now.wHour));
    SetItem(s, kIdMinute, std::to_string(now.wMinute));
    SetItem(s, kIdSecond, std::to_string(now.wSecond));
    for (const Spinner& sp : kSpinners) {
        SendDlgItemMessageA(s.wnd, sp.spin, UDM_SETRANGE32, 0, sp.last);
        SendDlgItemMessageA(s.wnd, sp.field, EM_LIMITTEXT, kFieldLimit, 0);
        SyncSpinner(s, sp);
    }

    HWND action = GetDlgItem(s.wnd, kIdAction);
    for (const char* name : kActionNames) SendMessageA(action, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendMessageA(action, CB_SETCURSEL, kActionRunProgram, 0);
    SetItem(s, kIdProgram, breaksettings::BreakProgramPath(s.config.programDirectory));

    HWND week = GetDlgItem(s.wnd, kIdWeek);
    for (int day = 0; day < 7; ++day) {
        SendMessageA(week, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(alarms::WeekdayName(day).c_str()));
    }
    SetWindowTextA(week, kWeekPlaceholder);
    SendMessageA(week, CB_SETDROPPEDWIDTH, Px(kWeekDroppedWidthTwips, ScreenDpi()), 0);
    // The weekday is chosen from the list, never typed.
    if (HWND edit = FindWindowExA(week, nullptr, "EDIT", nullptr)) SendMessageA(edit, EM_SETREADONLY, TRUE, 0);

    CheckRadioButton(s.wnd, kIdOptionOnce, kIdOptionYearly, kIdOptionDaily);
    ApplyOption(s);

    ini::SetIniFile(s.config.iniPath);
    const int seconds = stopini::ClampBreakLength(ini::ReadIniInt(stopini::kSection, stopini::kTimesShow));
    SendDlgItemMessageA(s.wnd, kIdSeconds, EM_LIMITTEXT, kSecondsLimit, 0);
    SetItem(s, kIdSeconds, std::to_string(seconds));
    CheckDlgButton(s.wnd, kIdEnforce, ini::ReadIniInt(stopini::kSection, stopini::kCmdHide) == 1 ? BST_CHECKED : BST_UNCHECKED);
}

// OK: every step goes on after a failure of the one before; nothing is reported.
void OnOk(BreakSettingsState& s) {
    breaksettings::BreakForm form;
    form.weekly = IsDlgButtonChecked(s.wnd, kIdOptionWeekly) == BST_CHECKED;
    form.weekText = Item(s, kIdWeek);
    form.todayWeekday = s.todayWeekday;
    form.hourText = Item(s, kIdHour);
    form.minuteText = Item(s, kIdMinute);
    form.monthText = Item(s, kIdMonth);
    form.dayText = Item(s, kIdDay);
    form.yearText = Item(s, kIdYear);
    form.programDirectory = s.config.programDirectory;
    alarms::AppendAlarmItem(breaksettings::MakeBreakItem(form));

    ini::SetIniFile(s.config.iniPath);
    ini::WriteIniString(stopini::kSection, stopini::kTimesShow, Item(s, kIdSeconds));
    ini::WriteIniString(stopini::kSection, stopini::kCmdHide,
                          IsDlgButtonChecked(s.wnd, kIdEnforce) == BST_CHECKED ? kIniOn : kIniOff);

    HWND owner = s.owner;
    DestroyWindow(s.wnd);  // s is gone from here on
    // The alarm list, when open, is opened again so that it shows the new item.
    if (alarms::AlarmListWindow()) {
        alarms::CloseAlarmList();
        alarms::ShowAlarmList(owner);
    }
    alarms::LoadAlarmItems();
}

void OnCommand(BreakSettingsState& s, int id, int code) {
    switch (id) {
    case kIdBreakOk:
        OnOk(s);
        break;
    case kIdBreakCancel:
        DestroyWindow(s.wnd);
        break;
    case kIdOptionDaily:
    case kIdOptionWeekly:
        if (code == BN_CLICKED) ApplyOption(s);
        break;
    case kIdHour:
    case kIdMinute:
    case kIdSecond:
        if (code == EN_CHANGE) {
            for (const Spinner& sp : kSpinners) {
                if (sp.field == id) SyncSpinner(s, sp);
            }
        }
        break;
    default:
        break;
    }
}

// Moving a spinner writes its value into its time field.
void OnSpin(const BreakSettingsState& s, HWND spin) {
    const int id = GetDlgCtrlID(spin);
    for (const Spinner& sp : kSpinners) {
        if (sp.spin != id) continue;
        const LRESULT pos = SendMessageA(spin, UDM_GETPOS32, 0, 0);
        SetItem(s, sp.field, std::to_string(pos));
    }
}

// The main program's message loop knows nothing of this window: a hook on the thread's
// messages gives it the dialog keys (Tab, Enter, Esc, access keys).
bool OnCreate(HWND wnd, const CREATESTRUCTA* cs) {
    BreakSettingsState* s = win::AttachWindowState(wnd, std::make_unique<BreakSettingsState>());
    s->wnd = wnd;
    s->owner = cs->hwndParent;
    s->config = *static_cast<const BreakSettingsConfig*>(cs->lpCreateParams);
    const int dpi = ScreenDpi();
    s->font.reset(CreateFontA(-MulDiv(kFontPoints, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                              "Tahoma"));
    for (const ControlSpec& c : kControls) CreateControl(*s, c, dpi, cs->hInstance);
    for (const Spinner& sp : kSpinners) {
        SendDlgItemMessageA(wnd, sp.spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(GetDlgItem(wnd, sp.field)), 0);
    }
    LoadFields(*s);
    win::AddModelessWindow(wnd);
    return true;
}

LRESULT CALLBACK BreakSettingsProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CREATE) return OnCreate(wnd, reinterpret_cast<const CREATESTRUCTA*>(lp)) ? 0 : -1;
    BreakSettingsState* s = StateOf(wnd);
    if (!s) return DefWindowProcA(wnd, msg, wp, lp);
    switch (msg) {
    case WM_COMMAND:
        OnCommand(*s, LOWORD(wp), HIWORD(wp));
        return 0;
    case WM_VSCROLL:
        if (lp) OnSpin(*s, reinterpret_cast<HWND>(lp));
        return 0;
    case WM_CLOSE:
        DestroyWindow(wnd);  // the title bar's close is Cancel
        return 0;
    case WM_DESTROY:
        if (g_window == wnd) g_window = nullptr;
        win::RemoveModelessWindow(wnd);
        // Give the activation back to the main window.
        if (s->owner && GetActiveWindow() == wnd) SetActiveWindow(s->owner);
        return 0;
    case WM_NCDESTROY:
        win::DeleteWindowState<BreakSettingsState>(wnd);
        break;
    default:
        break;
    }
    return DefWindowProcA(wnd, msg, wp, lp);
}

}  // namespace

BreakSettingsConfig DefaultBreakSettingsConfig() {
    BreakSettingsConfig c;
    c.programDirectory = paths::ProgramDirectory();
    c.iniPath = ini::DefaultIniPath();
    return c;
}

HWND BreakSettingsWindow() { return g_window; }

HWND ShowBreakSettings(HWND owner, const BreakSettingsConfig& config) {
    if (g_window) {
        ShowWindow(g_window, SW_SHOW);
        SetForegroundWindow(g_window);
        return g_window;
    }
    HINSTANCE instance = GetModuleHandleA(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSA wc{};
    wc.lpfnWndProc = BreakSettingsProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kBreakSettingsClass;
    if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;

    // A fixed dialog frame without minimise and maximise buttons; owned by the main window, so
    // it has no taskbar button of its own.
    const int dpi = ScreenDpi();
    HWND wnd = toolkit::CreateCentredToolWindow(kBreakSettingsClass, kBreakSettingsTitle,
                                                WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS,
                                                Px(kClientWidthTwips, dpi), Px(kClientHeightTwips, dpi), owner,
                                                const_cast<BreakSettingsConfig*>(&config));
    if (!wnd) return nullptr;
    g_window = wnd;
    ShowWindow(wnd, SW_SHOW);
    SetFocus(GetDlgItem(wnd, kIdSeconds));
    return wnd;
}
