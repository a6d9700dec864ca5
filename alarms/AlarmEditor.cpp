#include "alarms/AlarmEditor.h"

#include "alarms/AlarmList.h"
#include "alarms/DueRule.h"
#include "alarms/EditorRules.h"
#include "common/WindowText.h"
#include "common/MessageLoop.h"
#include "alarms/AlarmStore.h"
#include "alarms/Scheduler.h"
#include "common/Handles.h"
#include "common/SystemSeams.h"
#include "toolkit/CommonDialog.h"
#include "toolkit/Dialog.h"
#include "toolkit/ToolWindow.h"

#include <commctrl.h>

#include <string>

namespace alarms {

namespace {

constexpr char kAddClass[] = "frmAdditem";
constexpr char kModifyClass[] = "frmModify";
constexpr char kTitle[] = "Alarm item ";
constexpr char kWeekPrompt[] = "Week ";
constexpr char kSoundFilter[] = "*.wav";
constexpr char kProgramFilter[] = "*.exe";
constexpr char kProgramTitle[] = "Choose a program";
constexpr const char* kYearEntries[] = {"2004", "2005", "2006", "2007", "2008", "2009", "2010"};
constexpr int kHourMax = 23, kMinuteMax = 59, kSecondMax = 59;
constexpr int kMaxFieldText = 1023;  // what the settings store keeps of a text

// Layout in pixels of the client area. The labels' column is as wide as "Select a program";
// the weekday column as wide as "Wednesday" beside its drop button.
constexpr int kClientWidth = 442, kClientHeight = 330;
constexpr int kMargin = 8, kRowHeight = 21, kLabelX = 18, kFieldX = 126, kFieldRight = 424;
constexpr int kLabelWidth = kFieldX - kLabelX - 4;
constexpr int kPickWidth = 26;
constexpr int kWayTop = 6, kWayHeight = 192;
constexpr int kDateTop = 206, kDateHeight = 80;
constexpr int kButtonY = 296, kButtonWidth = 80, kButtonHeight = 23;

enum class EditorKind { Add, Modify };

struct EditorState {
    HWND window = nullptr;  // owned: destroyed on OK, Cancel or close
    win::AutoFont font;
    int itemNumber = 0;  // Modify: the item being changed
};

EditorState& StateOf(EditorKind kind) {
    static EditorState add, modify;
    return kind == EditorKind::Add ? add : modify;
}

EditorKind KindOf(HWND window) { return window == StateOf(EditorKind::Modify).window ? EditorKind::Modify : EditorKind::Add; }

std::string FieldText(HWND window, int id) { return win::ItemText(window, id); }

void SetField(HWND window, int id, const std::string& text) { SetDlgItemTextA(window, id, text.c_str()); }

void Enable(HWND window, int id, bool enabled) { EnableWindow(GetDlgItem(window, id), enabled); }

int SelectedAction(HWND window) { return static_cast<int>(SendDlgItemMessageA(window, kEditorAction, CB_GETCURSEL, 0, 0)); }

int SelectedDateOption(HWND window) {
    for (int k = 0; k < 5; ++k)
        if (IsDlgButtonChecked(window, kEditorOption0 + k) == BST_CHECKED) return k;
    return 0;
}

// The action rule: the fields the action does not use are disabled and emptied.
void ApplyActionRule(HWND window) {
    const ActionFields use = FieldsOfAction(SelectedAction(window));
    const struct { int field, button; bool on; } rows[] = {
        {kEditorText, 0, use.text},
        {kEditorSound, kEditorSoundPick, use.sound},
        {kEditorProgram, kEditorProgramPick, use.program},
        {kEditorParameter, 0, use.parameter},
    };
    for (const auto& row : rows) {
        Enable(window, row.field, row.on);
        if (row.button) Enable(window, row.button, row.on);
        if (!row.on) SetField(window, row.field, "");
    }
}

// The date-rule rule: the date fields the option does not use are disabled.
void ApplyDateRule(HWND window) {
    const DateFields use = FieldsOfDateRule(SelectedDateOption(window));
    Enable(window, kEditorMonth, use.month);
    Enable(window, kEditorDay, use.day);
    Enable(window, kEditorYear, use.year);
    Enable(window, kEditorWeek, use.week);
}

void SelectDateOption(HWND window, int option) {
    CheckRadioButton(window, kEditorOption0, kEditorOption0 + 4, kEditorOption0 + option);
    ApplyDateRule(window);
}

void SelectAction(HWND window, int action) {
    SendDlgItemMessageA(window, kEditorAction, CB_SETCURSEL, static_cast<WPARAM>(action), 0);
    ApplyActionRule(window);
}

// A spinner's position written into its field, in decimal.
void SpinnerToField(HWND window, int spin, int field) {
    const LRESULT pos = SendDlgItemMessageA(window, spin, UDM_GETPOS32, 0, 0);
    SetField(window, field, std::to_string(pos));
}

// Sets a spinner from its field's number (kept within the spinner's range).
void FieldToSpinner(HWND window, int field, int spin, int max) {
    const int value = static_cast<int>(FieldByte(FieldText(window, field)));
    SendDlgItemMessageA(window, spin, UDM_SETPOS32, 0, value > max ? max : value);
}

void FillFromClock(HWND window) {
    const SYSTEMTIME now = sys::LocalTime();
    SetField(window, kEditorMonth, std::to_string(now.wMonth));
    SetField(window, kEditorDay, std::to_string(now.wDay));
    SetField(window, kEditorYear, std::to_string(now.wYear));
    SetField(window, kEditorHour, std::to_string(now.wHour));
    SetField(window, kEditorMinute, std::to_string(now.wMinute));
    SetField(window, kEditorSecond, std::to_string(now.wSecond));
    FieldToSpinner(window, kEditorHour, kEditorHourSpin, kHourMax);
    FieldToSpinner(window, kEditorMinute, kEditorMinuteSpin, kMinuteMax);
    FieldToSpinner(window, kEditorSecond, kEditorSecondSpin, kSecondMax);
    SelectDateOption(window, 0);
    SelectAction(window, kNotifyText);
}

void FillFromItem(HWND window, int n) {
    const AlarmItem item = ReadAlarmItem(n);
    SetField(window, kEditorText, item.notifyText);
    SetField(window, kEditorProgram, item.runExe);
    SetField(window, kEditorSound, item.wavFile);
    SetField(window, kEditorParameter, item.parameters);
    SelectAction(window, item.notifyMode <= kNotifyShutdown ? item.notifyMode : -1);
    SelectDateOption(window, item.timeMode >= kTimeOnce && item.timeMode <= kTimeYearly ? item.timeMode - 1 : 0);
    SetField(window, kEditorWeek, WeekdayName(item.week));
    SetField(window, kEditorHour, std::to_string(item.hour));
    SetField(window, kEditorMinute, std::to_string(item.minute));
    SetField(window, kEditorYear, item.YearText());
    SetField(window, kEditorMonth, std::to_string(item.month));
    SetField(window, kEditorDay, std::to_string(item.wDay));
    FieldToSpinner(window, kEditorHour, kEditorHourSpin, kHourMax);
    FieldToSpinner(window, kEditorMinute, kEditorMinuteSpin, kMinuteMax);
    SendDlgItemMessageA(window, kEditorSecondSpin, UDM_SETPOS32, 0, sys::LocalTime().wSecond);
    SpinnerToField(window, kEditorSecondSpin, kEditorSecond);
}

EditorEntry EntryOf(HWND window) {
    EditorEntry entry;
    entry.action = SelectedAction(window);
    entry.dateOption = SelectedDateOption(window);
    entry.text = FieldText(window, kEditorText);
    entry.sound = FieldText(window, kEditorSound);
    entry.program = FieldText(window, kEditorProgram);
    entry.parameter = FieldText(window, kEditorParameter);
    entry.month = FieldText(window, kEditorMonth);
    entry.day = FieldText(window, kEditorDay);
    entry.year = FieldText(window, kEditorYear);
    entry.hour = FieldText(window, kEditorHour);
    entry.minute = FieldText(window, kEditorMinute);
    entry.week = FieldText(window, kEditorWeek);
    return entry;
}

void OnOk(HWND window) {
    const EditorKind kind = KindOf(window);
    const int n = StateOf(kind).itemNumber;
    const EditorEntry entry = EntryOf(window);
    if (IsComplete(entry)) {
        const SYSTEMTIME now = sys::LocalTime();
        const AlarmItem item = BuildItem(entry, WeekdayOf(CivilDate{now.wYear, now.wMonth, now.wDay}));
        if (kind == EditorKind::Add) AppendAlarmItem(item);
        else WriteAlarmItem(n, item);
    }
    HWND owner = GetWindow(window, GW_OWNER);
    DestroyWindow(window);
    CloseAlarmList();
    LoadAlarmItems();
    ShowAlarmList(owner);
}

void OnPick(HWND window, int field, const char* filter, const char* title) {
    const std::string path = toolkit::CommonDialog::OpenDialog(window, filter, title);
    if (!path.empty()) SetField(window, field, path);
}

void OnCommand(HWND window, int id, int code) {
    if (id >= kEditorOption0 && id <= kEditorOption0 + 4) {
        if (code == BN_CLICKED) SelectDateOption(window, id - kEditorOption0);
        return;
    }
    switch (id) {
    case kEditorAction:
        if (code == CBN_SELCHANGE) ApplyActionRule(window);
        break;
    case kEditorSoundPick: OnPick(window, kEditorSound, kSoundFilter, toolkit::CommonDialog::kSoundTitle); break;
    case kEditorProgramPick: OnPick(window, kEditorProgram, kProgramFilter, kProgramTitle); break;
    case kEditorOk: OnOk(window); break;
    case kEditorCancel: DestroyWindow(window); break;
    default: break;
    }
}

void OnSpin(HWND window, HWND spin) {
    switch (GetDlgCtrlID(spin)) {
    case kEditorHourSpin: SpinnerToField(window, kEditorHourSpin, kEditorHour); break;
    case kEditorMinuteSpin: SpinnerToField(window, kEditorMinuteSpin, kEditorMinute); break;
    case kEditorSecondSpin: SpinnerToField(window, kEditorSecondSpin, kEditorSecond); break;
    default: break;
    }
}

void OnCreate(HWND window, EditorKind kind) {
    EditorState& state = StateOf(kind);
    state.window = window;
    state.font = toolkit::CreateDialogFont();
    const auto child = [&](const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id,
                           DWORD exStyle = 0) {
        return toolkit::CreateChildControl(window, state.font.get(), cls, text, style, x, y, w, h, id, exStyle);
    };
    const auto label = [&](const char* text, int x, int y, int w) {
        child("STATIC", text, SS_LEFT, x, y + 3, w, 16, -1);
    };
    const auto edit = [&](int id, int x, int y, int w) {
        HWND field = child("EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, x, y, w, kRowHeight, id, WS_EX_CLIENTEDGE);
        SendMessageA(field, EM_LIMITTEXT, kMaxFieldText, 0);
        return field;
    };
    const auto combo = [&](int id, DWORD kind2, int x, int y, int w) {
        return child("COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | kind2, x, y, w, 200, id);
    };
    const auto spinner = [&](int id, HWND buddy, int max) {
        HWND spin = child(UPDOWN_CLASSA, "", UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0, 0, 0, 0, id);
        SendMessageA(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
        SendMessageA(spin, UDM_SETRANGE32, 0, max);
    };

    // "Alarm Way": the action and its texts, then the date rule.
    child("BUTTON", "Alarm Way", BS_GROUPBOX, kMargin, kWayTop, kClientWidth - 2 * kMargin, kWayHeight, -1);
    int y = kWayTop + 18;
    label("Alarm action", kLabelX, y, kLabelWidth);
    HWND action = combo(kEditorAction, CBS_DROPDOWNLIST | WS_GROUP, kFieldX, y, 180);
    for (const char* entry : kActionEntries) SendMessageA(action, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    y += kRowHeight + 6;
    label("Text Hint", kLabelX, y, kLabelWidth);
    edit(kEditorText, kFieldX, y, kFieldRight - kFieldX);
    y += kRowHeight + 6;
    label("Select a sound", kLabelX, y, kLabelWidth);
    edit(kEditorSound, kFieldX, y, kFieldRight - kFieldX - kPickWidth - 4);
    child("BUTTON", "...", WS_TABSTOP | BS_PUSHBUTTON, kFieldRight - kPickWidth, y, kPickWidth, kRowHeight,
          kEditorSoundPick);
    y += kRowHeight + 6;
    label("Select a program", kLabelX, y, kLabelWidth);
    edit(kEditorProgram, kFieldX, y, kFieldRight - kFieldX - kPickWidth - 4);
    child("BUTTON", "...", WS_TABSTOP | BS_PUSHBUTTON, kFieldRight - kPickWidth, y, kPickWidth, kRowHeight,
          kEditorProgramPick);
    y += kRowHeight + 6;
    label("Parameter", kLabelX, y, kLabelWidth);
    edit(kEditorParameter, kFieldX, y, kFieldRight - kFieldX);
    y += kRowHeight + 10;
    for (int k = 0; k < 5; ++k)
        child("BUTTON", kDateRuleOptions[k], BS_AUTORADIOBUTTON | (k == 0 ? WS_GROUP | WS_TABSTOP : 0),
              kLabelX + k * 77, y, 75, 18, kEditorOption0 + k);

    // "Date and Time": one labelled column per field.
    child("BUTTON", "Date and Time", BS_GROUPBOX, kMargin, kDateTop, kClientWidth - 2 * kMargin, kDateHeight, -1);
    const int headY = kDateTop + 18, fieldY = headY + 20;
    struct Column { const char* heading; int x, width; } columns[] = {
        {"Mon", 18, 46}, {"Day", 68, 46}, {"Year", 118, 62}, {"Hour", 186, 44},
        {"Min", 234, 44}, {"Sec.", 282, 44}, {"Week", 330, kFieldRight - 330},
    };
    for (const Column& c : columns) label(c.heading, c.x, headY - 3, c.width);
    HWND month = combo(kEditorMonth, CBS_DROPDOWN | WS_GROUP, columns[0].x, fieldY, columns[0].width);
    for (int m = 1; m <= 12; ++m) SendMessageA(month, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_string(m).c_str()));
    HWND day = combo(kEditorDay, CBS_DROPDOWN | WS_GROUP, columns[1].x, fieldY, columns[1].width);
    for (int d = 1; d <= 31; ++d) SendMessageA(day, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_string(d).c_str()));
    HWND year = combo(kEditorYear, CBS_DROPDOWN | WS_GROUP, columns[2].x, fieldY, columns[2].width);
    for (const char* entry : kYearEntries) SendMessageA(year, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    spinner(kEditorHourSpin, edit(kEditorHour, columns[3].x, fieldY, columns[3].width), kHourMax);
    spinner(kEditorMinuteSpin, edit(kEditorMinute, columns[4].x, fieldY, columns[4].width), kMinuteMax);
    spinner(kEditorSecondSpin, edit(kEditorSecond, columns[5].x, fieldY, columns[5].width), kSecondMax);
    HWND week = combo(kEditorWeek, CBS_DROPDOWN | WS_GROUP, columns[6].x, fieldY, columns[6].width);
    for (int d = 0; d < 7; ++d) SendMessageA(week, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WeekdayName(d).c_str()));
    SetWindowTextA(week, kWeekPrompt);

    child("BUTTON", "OK(&O)", WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON,
          kClientWidth - kMargin - 2 * kButtonWidth - 8, kButtonY, kButtonWidth, kButtonHeight, kEditorOk);
    child("BUTTON", "Cancel(&C)", WS_TABSTOP | BS_PUSHBUTTON, kClientWidth - kMargin - kButtonWidth, kButtonY,
          kButtonWidth, kButtonHeight, kEditorCancel);
    win::AddModelessWindow(window);
}

LRESULT CALLBACK EditorProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE: {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lp);
        OnCreate(window, static_cast<EditorKind>(reinterpret_cast<INT_PTR>(create->lpCreateParams)));
        return 0;
    }
    case WM_COMMAND: OnCommand(window, LOWORD(wp), HIWORD(wp)); return 0;
    case WM_VSCROLL: OnSpin(window, reinterpret_cast<HWND>(lp)); return 0;
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_DESTROY: {
        win::RemoveModelessWindow(window);
        EditorState& state = StateOf(KindOf(window));
        state.window = nullptr;
        state.font.reset();
        return 0;
    }
    default: return DefWindowProcA(window, msg, wp, lp);
    }
}

HWND Open(EditorKind kind, HWND owner, int n) {
    EditorState& state = StateOf(kind);
    if (state.window) {
        toolkit::BringToFront(state.window);
        return state.window;
    }
    // The two editors differ only in their class names, so that each can be found on its own.
    const char* className = kind == EditorKind::Add ? kAddClass : kModifyClass;
    toolkit::RegisterToolWindowClass(className, EditorProc, ICC_UPDOWN_CLASS);
    state.itemNumber = n;
    HWND window = toolkit::CreateCentredToolWindow(className, kTitle, WS_POPUP | WS_CAPTION | WS_SYSMENU, kClientWidth,
                                                   kClientHeight, owner,
                                                   reinterpret_cast<void*>(static_cast<INT_PTR>(kind)));
    if (!window) return nullptr;
    if (kind == EditorKind::Add) FillFromClock(window);
    else FillFromItem(window, n);
    toolkit::BringToFront(window);
    SetFocus(GetDlgItem(window, kEditorAction));
    return window;
}

}  // namespace

HWND ShowAddEditor(HWND owner) { return Open(EditorKind::Add, owner, 0); }
HWND ShowModifyEditor(HWND owner, int n) { return Open(EditorKind::Modify, owner, n); }
HWND AddEditorWindow() { return StateOf(EditorKind::Add).window; }
HWND ModifyEditorWindow() { return StateOf(EditorKind::Modify).window; }

}  // namespace alarms
