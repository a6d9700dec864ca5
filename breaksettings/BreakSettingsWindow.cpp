#include "breaksettings/BreakSettingsWindow.h"

#include "alarms/AlarmForm.h"
#include "alarms/AlarmStore.h"
#include "alarms/AlarmList.h"
#include "alarms/Scheduler.h"
#include "breaksettings/BreakItem.h"
#include "common/Dpi.h"
#include "common/WindowText.h"
#include "common/IniFile.h"
#include "common/MessageLoop.h"
#include "common/StopIni.h"
#include "common/Handles.h"
#include "common/WindowState.h"
#include "common/ProgramPath.h"
#include "common/SystemSeams.h"
#include "toolkit/ControlTable.h"
#include "toolkit/FieldRefusal.h"
#include "toolkit/ToolWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <utility>

namespace breaksettings {

namespace {

// Client area and control places in twips (1440 per inch), converted at the screen's
// pixels per inch.
constexpr int kTwipsPerInch = 1440;
constexpr int kClientWidthTwips = 5835;
constexpr int kClientHeightTwips = 5835;
constexpr int kFontPoints = 8;
constexpr int kFieldLimit = 2;          // hour, minute, second
constexpr int kSecondsLimit = 5;        // the break length: up to 32767
constexpr int kFirstYear = 2000;        // the year box lists the years of the century
constexpr int kLastYear = 2099;
constexpr int kWeekDroppedWidthTwips = 1400;

constexpr int kActionRunProgram = 2;
constexpr const char* kIniOn = "1";
constexpr const char* kIniOff = "0";

constexpr alarms::FormIds kFormIds = {
    kIdFrameAlarmWay, kIdAction, kIdTextHint, kIdSound, kIdSoundBrowse, kIdProgram, kIdProgramBrowse,
    kIdParameter, kIdOptionOnce, kIdOptionDaily, kIdOptionWeekly, kIdOptionMonthly, kIdOptionYearly,
    kIdFrameDateTime, kIdMonth, kIdDay, kIdYear, kIdHour, kIdHourSpin, kIdMinute, kIdMinuteSpin,
    kIdSecond, kIdSecondSpin, kIdWeek,
};

// The controls below the alarm item form, in tab order (twips).
constexpr DWORD kLabelStyle = SS_LEFTNOWORDWRAP | SS_NOPREFIX;
constexpr DWORD kButtonStyle = WS_TABSTOP | WS_GROUP;
constexpr toolkit::ControlSpec kOtherControls[] = {
    {"BUTTON", kIdFrameOther, "Other", BS_GROUPBOX, 120, 4080, 5595, 1215},
    {"STATIC", -1, "Break", kLabelStyle, 300, 4365, 500, 240},
    {"EDIT", kIdSeconds, "", ES_AUTOHSCROLL | ES_NUMBER | WS_TABSTOP | WS_GROUP, 820, 4305, 800, 315,
     WS_EX_CLIENTEDGE},
    {"STATIC", -1, "Seconds", kLabelStyle, 1680, 4365, 800, 240},
    {"BUTTON", kIdEnforce, "Enforce Break", BS_AUTOCHECKBOX | kButtonStyle, 3780, 4335, 1800, 270},
    {"BUTTON", kIdWaitBusy, "&Wait while I present or play full screen", BS_AUTOCHECKBOX | kButtonStyle, 300, 4665,
     5295, 270},
    {"BUTTON", kIdSkipAway, "&Skip if I was away for the break's length", BS_AUTOCHECKBOX | kButtonStyle, 300, 4965,
     5295, 270},
    {"BUTTON", kIdBreakOk, "OK(&O)", BS_DEFPUSHBUTTON | kButtonStyle, 2940, 5385, 1260, 375},
    {"BUTTON", kIdBreakCancel, "Cancel(&C)", BS_PUSHBUTTON | kButtonStyle, 4335, 5385, 1260, 375},
};

struct BreakSettingsState {
    HWND wnd = nullptr;
    HWND owner = nullptr;  // the main window; not owned
    BreakSettingsConfig config;
    int todayWeekday = 0;
    win::AutoFont font;
};

BreakSettingsState* StateOf(HWND wnd) { return win::WindowState<BreakSettingsState>(wnd); }

toolkit::Scale TwipsScale(int at) { return {at, kTwipsPerInch}; }

std::string Item(const BreakSettingsState& s, int id) { return win::ItemText(s.wnd, id); }
void SetItem(const BreakSettingsState& s, int id, const std::string& text) { SetDlgItemTextA(s.wnd, id, text.c_str()); }
void Enable(const BreakSettingsState& s, int id, bool on) { EnableWindow(GetDlgItem(s.wnd, id), on ? TRUE : FALSE); }
int IdOf(alarms::FormField field) { return kFormIds[static_cast<std::size_t>(field)]; }

// Selects the entry of a number list that starts at `first`.
void SelectNumber(const BreakSettingsState& s, int id, int first, int selected) {
    SendDlgItemMessageA(s.wnd, id, CB_SETCURSEL, static_cast<WPARAM>(selected - first), 0);
}

// The rule of the chosen option: only "Weekly" uses the weekday box; the date boxes stay off.
void ApplyOption(const BreakSettingsState& s) {
    const bool weekly = IsDlgButtonChecked(s.wnd, kIdOptionWeekly) == BST_CHECKED;
    for (int id : {kIdMonth, kIdDay, kIdYear}) Enable(s, id, false);
    Enable(s, kIdWeek, weekly);
}

// A time field's number goes to its spinner when it is one the spinner can show.
void SyncSpinner(const BreakSettingsState& s, const alarms::FormSpinner& sp) {
    const std::string text = Item(s, IdOf(sp.field));
    const int value = alarms::FieldByte(text);
    if (!text.empty() && value <= sp.last) SendDlgItemMessageA(s.wnd, IdOf(sp.spin), UDM_SETPOS32, 0, value);
}

void LoadFields(BreakSettingsState& s) {
    const SYSTEMTIME now = sys::LocalTime();
    s.todayWeekday = now.wDayOfWeek;
    SelectNumber(s, kIdMonth, 1, now.wMonth);
    SelectNumber(s, kIdDay, 1, now.wDay);
    SelectNumber(s, kIdYear, std::min<int>(kFirstYear, now.wYear), now.wYear);
    SetItem(s, kIdHour, std::to_string(now.wHour));
    SetItem(s, kIdMinute, std::to_string(now.wMinute));
    SetItem(s, kIdSecond, std::to_string(now.wSecond));
    for (const alarms::FormSpinner& sp : alarms::kFormSpinners) SyncSpinner(s, sp);

    SendDlgItemMessageA(s.wnd, kIdAction, CB_SETCURSEL, kActionRunProgram, 0);
    SetItem(s, kIdProgram, BreakProgramPath(s.config.programDirectory));

    HWND week = GetDlgItem(s.wnd, kIdWeek);
    SendMessageA(week, CB_SETDROPPEDWIDTH, TwipsScale(dpi::WindowDpi(s.wnd))(kWeekDroppedWidthTwips), 0);
    // The weekday is chosen from the list, never typed.
    if (HWND edit = FindWindowExA(week, nullptr, "EDIT", nullptr)) SendMessageA(edit, EM_SETREADONLY, TRUE, 0);

    CheckRadioButton(s.wnd, kIdOptionOnce, kIdOptionYearly, kIdOptionDaily);
    ApplyOption(s);

    ini::SetIniFile(s.config.iniPath);
    const int seconds = stopini::ClampBreakLength(ini::ReadIniInt(stopini::kSection, stopini::kTimesShow));
    SendDlgItemMessageA(s.wnd, kIdSeconds, EM_LIMITTEXT, kSecondsLimit, 0);
    SetItem(s, kIdSeconds, std::to_string(seconds));
    CheckDlgButton(s.wnd, kIdEnforce, ini::ReadIniInt(stopini::kSection, stopini::kCmdHide) == 1 ? BST_CHECKED : BST_UNCHECKED);
    // The switches as Break reads them: on unless stored as 0.
    constexpr std::size_t kSwitchSize = 16;
    const auto check = [&](int id, const char* key, bool absent) {
        const bool on = stopini::SwitchKey(ini::ReadIniString(stopini::kSection, key, kSwitchSize), absent);
        CheckDlgButton(s.wnd, id, on ? BST_CHECKED : BST_UNCHECKED);
    };
    check(kIdWaitBusy, stopini::kWaitBusy, stopini::kWaitBusyDefault);
    check(kIdSkipAway, stopini::kSkipAway, stopini::kSkipAwayDefault);
}

// OK: a field that cannot be stored as typed keeps the window open with the focus on it and
// nothing written; otherwise every step goes on after a failure of the one before.
void OnOk(BreakSettingsState& s) {
    const alarms::EditorEntry entry = alarms::ReadAlarmForm(s.wnd, kFormIds);
    BreakForm form;
    form.weekly = entry.dateOption == kIdOptionWeekly - kIdOptionOnce;
    form.weekText = entry.week;
    form.todayWeekday = s.todayWeekday;
    form.hourText = entry.hour;
    form.minuteText = entry.minute;
    form.secondText = entry.second.value_or("");
    form.lengthText = Item(s, kIdSeconds);
    form.monthText = entry.month;
    form.dayText = entry.day;
    form.yearText = entry.year;
    form.programDirectory = s.config.programDirectory;
    const alarms::FieldCheck check = CheckBreakForm(form);
    if (!check.Valid()) {
        HWND field = check.field == alarms::EntryField::Length ? GetDlgItem(s.wnd, kIdSeconds)
                                                               : alarms::FormFieldControl(s.wnd, kFormIds, check.field);
        toolkit::RefuseField(s.wnd, field, check.message);
        return;
    }
    alarms::AppendAlarmItem(MakeBreakItem(form));

    ini::SetIniFile(s.config.iniPath);
    ini::WriteIniString(stopini::kSection, stopini::kTimesShow, std::to_string(BreakLength(form)));
    for (const auto& [id, key] : {std::pair{kIdEnforce, stopini::kCmdHide}, std::pair{kIdWaitBusy, stopini::kWaitBusy},
                                  std::pair{kIdSkipAway, stopini::kSkipAway}}) {
        ini::WriteIniString(stopini::kSection, key, IsDlgButtonChecked(s.wnd, id) == BST_CHECKED ? kIniOn : kIniOff);
    }

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
            for (const alarms::FormSpinner& sp : alarms::kFormSpinners) {
                if (IdOf(sp.field) == id) SyncSpinner(s, sp);
            }
        }
        break;
    default:
        break;
    }
}

// The one message loop gives the window the dialog keys (Tab, Enter, Esc, access keys).
bool OnCreate(HWND wnd, const CREATESTRUCTA* cs) {
    BreakSettingsState* s = win::AttachWindowState(wnd, std::make_unique<BreakSettingsState>());
    s->wnd = wnd;
    s->owner = cs->hwndParent;
    s->config = *static_cast<const BreakSettingsConfig*>(cs->lpCreateParams);
    const int at = dpi::WindowDpi(wnd);
    s->font.reset(CreateFontA(dpi::PointsToFontHeight(kFontPoints, at), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                              "Tahoma"));
    alarms::AlarmFormSpec form;
    form.layout = alarms::FormLayout::BreakSettings;
    form.ids = kFormIds;
    form.scale = TwipsScale(at);
    form.timeLimit = kFieldLimit;
    const SYSTEMTIME now = sys::LocalTime();
    form.firstYear = std::min<int>(kFirstYear, now.wYear);
    form.lastYear = std::max<int>(kLastYear, now.wYear);
    alarms::CreateAlarmForm(wnd, s->font.get(), form);
    toolkit::CreateControls(wnd, s->font.get(), kOtherControls, form.scale);
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
        if (lp) alarms::OnFormSpin(wnd, kFormIds, reinterpret_cast<HWND>(lp));
        return 0;
    case WM_CLOSE:
        DestroyWindow(wnd);  // the title bar's close is Cancel
        return 0;
    case WM_DESTROY:
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

HWND BreakSettingsWindow() { return toolkit::FindToolWindow(kBreakSettingsClass); }

HWND ShowBreakSettings(HWND owner, const BreakSettingsConfig& config) {
    if (HWND open = BreakSettingsWindow()) {
        ShowWindow(open, SW_SHOW);
        SetForegroundWindow(open);
        return open;
    }
    // The class has no icon: the dialog frame shows none.
    if (!toolkit::RegisterToolWindowClass(kBreakSettingsClass, BreakSettingsProc,
                                          ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES, false))
        return nullptr;

    // A fixed dialog frame without minimise and maximise buttons; owned by the main window, so
    // it has no taskbar button of its own.
    // The frame's size in 96-DPI units; the tool window scales it to the system DPI.
    const toolkit::Scale scale = TwipsScale(dpi::kBaseDpi);
    HWND wnd = toolkit::CreateCentredToolWindow(kBreakSettingsClass, kBreakSettingsTitle,
                                                WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS,
                                                scale(kClientWidthTwips), scale(kClientHeightTwips), owner,
                                                const_cast<BreakSettingsConfig*>(&config));
    if (!wnd) return nullptr;
    ShowWindow(wnd, SW_SHOW);
    SetFocus(GetDlgItem(wnd, kIdSeconds));
    return wnd;
}

}  // namespace breaksettings
