#include "alarms/AlarmForm.h"

#include "common/WindowText.h"

#include <commctrl.h>

#include <span>

namespace alarms {

namespace {

// The tables' id column names a FormField; a label's is -1 (never addressed).
constexpr int kLabel = -1;

// --- the editor's layout, in pixels. The labels' column is as wide as "Select a program";
// the weekday column as wide as "Wednesday" beside its drop button.
namespace editor {
constexpr int kFrameX = 8, kFrameWidth = 426;
constexpr int kRowHeight = 21, kLabelHeight = 16, kListHeight = 200;
constexpr int kLabelX = 18, kFieldX = 126, kFieldRight = 424, kLabelWidth = kFieldX - kLabelX - 4;
constexpr int kPickWidth = 26, kPickX = kFieldRight - kPickWidth, kPickedWidth = kPickX - 4 - kFieldX;
constexpr int kWayTop = 6, kWayHeight = 192, kDateTop = 206, kDateHeight = 80;
constexpr int kActionY = kWayTop + 18, kTextY = kActionY + 27, kSoundY = kTextY + 27, kProgramY = kSoundY + 27,
              kParameterY = kProgramY + 27, kOptionY = kParameterY + 31;
constexpr int kOptionStep = 77, kOptionWidth = 75, kOptionHeight = 18;
constexpr int kHeadY = kDateTop + 18, kFieldY = kHeadY + 20;

constexpr DWORD kLabelStyle = SS_LEFT;
constexpr DWORD kEditStyle = WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kListStyle = WS_TABSTOP | WS_VSCROLL;
constexpr DWORD kPickStyle = WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kSpinStyle = UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;  // sits at its field's right

constexpr toolkit::ControlSpec Label(const char* text, int x, int y, int width) {
    return {"STATIC", kLabel, text, kLabelStyle, x, y + 3, width, kLabelHeight};
}
constexpr toolkit::ControlSpec Edit(int field, int x, int y, int width) {
    return {"EDIT", field, "", kEditStyle, x, y, width, kRowHeight, WS_EX_CLIENTEDGE};
}
constexpr toolkit::ControlSpec List(int field, DWORD kind, int x, int width) {
    return {"COMBOBOX", field, "", kListStyle | kind | WS_GROUP, x, kFieldY, width, kListHeight};
}
constexpr toolkit::ControlSpec Option(int k) {
    return {"BUTTON", kFormOption0 + k, kDateRuleOptions[k], BS_AUTORADIOBUTTON | (k == 0 ? WS_GROUP | WS_TABSTOP : 0u),
            kLabelX + k * kOptionStep, kOptionY, kOptionWidth, kOptionHeight};
}
constexpr toolkit::ControlSpec Spin(int field) { return {UPDOWN_CLASSA, field, "", kSpinStyle, 0, 0, 0, 0}; }

// The date columns: heading and field share x and width.
constexpr int kMonthX = 18, kDayX = 68, kYearX = 118, kHourX = 186, kMinuteX = 234, kSecondX = 282, kWeekX = 330;
constexpr int kDateWidth = 46, kYearWidth = 62, kTimeWidth = 44, kWeekWidth = kFieldRight - kWeekX;

constexpr toolkit::ControlSpec kRows[] = {
    {"BUTTON", kFormWayFrame, "Alarm Way", BS_GROUPBOX, kFrameX, kWayTop, kFrameWidth, kWayHeight},
    Label("Alarm action", kLabelX, kActionY, kLabelWidth),
    {"COMBOBOX", kFormAction, "", kListStyle | CBS_DROPDOWNLIST | WS_GROUP, kFieldX, kActionY, 180, kListHeight},
    Label("Text Hint", kLabelX, kTextY, kLabelWidth),
    Edit(kFormText, kFieldX, kTextY, kFieldRight - kFieldX),
    Label("Select a sound", kLabelX, kSoundY, kLabelWidth),
    Edit(kFormSound, kFieldX, kSoundY, kPickedWidth),
    {"BUTTON", kFormSoundPick, "...", kPickStyle, kPickX, kSoundY, kPickWidth, kRowHeight},
    Label("Select a program", kLabelX, kProgramY, kLabelWidth),
    Edit(kFormProgram, kFieldX, kProgramY, kPickedWidth),
    {"BUTTON", kFormProgramPick, "...", kPickStyle, kPickX, kProgramY, kPickWidth, kRowHeight},
    Label("Parameter", kLabelX, kParameterY, kLabelWidth),
    Edit(kFormParameter, kFieldX, kParameterY, kFieldRight - kFieldX),
    Option(0), Option(1), Option(2), Option(3), Option(4),

    {"BUTTON", kFormDateFrame, "Date and Time", BS_GROUPBOX, kFrameX, kDateTop, kFrameWidth, kDateHeight},
    Label("Mon", kMonthX, kHeadY - 3, kDateWidth),
    Label("Day", kDayX, kHeadY - 3, kDateWidth),
    Label("Year", kYearX, kHeadY - 3, kYearWidth),
    Label("Hour", kHourX, kHeadY - 3, kTimeWidth),
    Label("Min", kMinuteX, kHeadY - 3, kTimeWidth),
    Label("Sec.", kSecondX, kHeadY - 3, kTimeWidth),
    Label("Week", kWeekX, kHeadY - 3, kWeekWidth),
    List(kFormMonth, CBS_DROPDOWN, kMonthX, kDateWidth),
    List(kFormDay, CBS_DROPDOWN, kDayX, kDateWidth),
    List(kFormYear, CBS_DROPDOWN, kYearX, kYearWidth),
    Edit(kFormHour, kHourX, kFieldY, kTimeWidth),
    Spin(kFormHourSpin),
    Edit(kFormMinute, kMinuteX, kFieldY, kTimeWidth),
    Spin(kFormMinuteSpin),
    Edit(kFormSecond, kSecondX, kFieldY, kTimeWidth),
    Spin(kFormSecondSpin),
    List(kFormWeek, CBS_DROPDOWN, kWeekX, kWeekWidth),
};
}  // namespace editor

// --- the break settings window's layout, in twips. Only the options and the time fields it
// uses start enabled; each date box shows its longest entry ("2000", "Wednesday") beside its
// drop button.
namespace breaks {
constexpr DWORD kFrame = BS_GROUPBOX;
constexpr DWORD kLabelStyle = SS_LEFTNOWORDWRAP | SS_NOPREFIX;
constexpr DWORD kOption = BS_AUTORADIOBUTTON | WS_TABSTOP;
constexpr DWORD kPick = BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP | WS_DISABLED;
constexpr DWORD kEdit = ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP;
constexpr DWORD kNumber = kEdit | ES_NUMBER;
constexpr DWORD kDropList = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP | WS_DISABLED;
constexpr DWORD kCombo = CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP | WS_GROUP | WS_DISABLED;
constexpr DWORD kSpin = UDS_ARROWKEYS | UDS_NOTHOUSANDS;

constexpr toolkit::ControlSpec kRows[] = {
    {"BUTTON", kFormWayFrame, "Alarm Way", kFrame, 120, 0, 5595, 3015},
    {"BUTTON", kFormOption0 + 0, "Only once", kOption | WS_GROUP | WS_DISABLED, 300, 240, 1200, 270},
    {"BUTTON", kFormOption0 + 1, "Daily", kOption, 1560, 240, 1000, 270},
    {"BUTTON", kFormOption0 + 2, "Weekly", kOption, 2700, 240, 1100, 270},
    {"BUTTON", kFormOption0 + 3, "Monthly", kOption | WS_DISABLED, 300, 540, 1200, 270},
    {"BUTTON", kFormOption0 + 4, "Yearly", kOption | WS_DISABLED, 1560, 540, 1000, 270},
    {"STATIC", kLabel, "Alarm action", kLabelStyle, 300, 960, 1500, 240},
    {"COMBOBOX", kFormAction, "", kDropList, 1800, 900, 3795, 1800},
    {"STATIC", kLabel, "Text Hint", kLabelStyle, 300, 1350, 1500, 240},
    {"EDIT", kFormText, "", kEdit | WS_DISABLED, 1800, 1290, 3795, 315, WS_EX_CLIENTEDGE},
    {"STATIC", kLabel, "Select a sound", kLabelStyle, 300, 1740, 1500, 240},
    {"EDIT", kFormSound, "", kEdit | WS_DISABLED, 1800, 1680, 3315, 315, WS_EX_CLIENTEDGE},
    {"BUTTON", kFormSoundPick, "...", kPick, 5160, 1680, 435, 315},
    {"STATIC", kLabel, "Select a program", kLabelStyle, 300, 2130, 1500, 240},
    {"EDIT", kFormProgram, "", kEdit | WS_DISABLED, 1800, 2070, 3315, 315, WS_EX_CLIENTEDGE},
    {"BUTTON", kFormProgramPick, "...", kPick, 5160, 2070, 435, 315},
    {"STATIC", kLabel, "Parameter", kLabelStyle, 300, 2520, 1500, 240},
    {"EDIT", kFormParameter, "", kEdit | WS_DISABLED, 1800, 2460, 3795, 315, WS_EX_CLIENTEDGE},

    {"BUTTON", kFormDateFrame, "Date and Time", kFrame, 120, 3120, 5595, 855},
    {"STATIC", kLabel, "Mon    Day     Year          Hour   Min    Sec.       Week", kLabelStyle, 240, 3345, 4800, 210},
    {"COMBOBOX", kFormMonth, "", kDropList, 240, 3570, 690, 1800},
    {"COMBOBOX", kFormDay, "", kDropList, 960, 3570, 690, 1800},
    {"COMBOBOX", kFormYear, "", kDropList, 1680, 3570, 900, 1800},
    {"EDIT", kFormHour, "", kNumber, 2625, 3570, 300, 315, WS_EX_CLIENTEDGE},
    {UPDOWN_CLASSA, kFormHourSpin, "", kSpin, 2925, 3570, 195, 315},
    {"EDIT", kFormMinute, "", kNumber, 3150, 3570, 300, 315, WS_EX_CLIENTEDGE},
    {UPDOWN_CLASSA, kFormMinuteSpin, "", kSpin, 3450, 3570, 195, 315},
    {"EDIT", kFormSecond, "", kNumber, 3675, 3570, 300, 315, WS_EX_CLIENTEDGE},
    {UPDOWN_CLASSA, kFormSecondSpin, "", kSpin, 3975, 3570, 195, 315},
    {"COMBOBOX", kFormWeek, kWeekPrompt, kCombo, 4200, 3570, 1470, 1800},
};
}  // namespace breaks

std::span<const toolkit::ControlSpec> RowsOf(FormLayout layout) {
    if (layout == FormLayout::BreakSettings) return breaks::kRows;
    return editor::kRows;
}

HWND Control(HWND parent, const FormIds& ids, int field) { return GetDlgItem(parent, ids[static_cast<std::size_t>(field)]); }

void AddEntry(HWND list, const std::string& text) {
    SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void AddNumbers(HWND list, int first, int last) {
    for (int n = first; n <= last; ++n) AddEntry(list, std::to_string(n));
}

void LimitText(HWND parent, const FormIds& ids, std::initializer_list<int> fields, int limit) {
    if (limit <= 0) return;
    for (int field : fields) SendMessageA(Control(parent, ids, field), EM_LIMITTEXT, static_cast<WPARAM>(limit), 0);
}

}  // namespace

bool CreateAlarmForm(HWND parent, HFONT font, const AlarmFormSpec& spec) {
    bool all = true;
    for (toolkit::ControlSpec row : RowsOf(spec.layout)) {
        row.id = row.id == kLabel ? kLabel : spec.ids[static_cast<std::size_t>(row.id)];
        all = toolkit::CreateChildControl(parent, font, row, spec.scale) != nullptr && all;
    }
    const FormIds& ids = spec.ids;
    for (const FormSpinner& s : kFormSpinners) {
        HWND spin = Control(parent, ids, s.spin);
        SendMessageA(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Control(parent, ids, s.field)), 0);
        SendMessageA(spin, UDM_SETRANGE32, 0, s.last);
    }
    LimitText(parent, ids, {kFormText, kFormSound, kFormProgram, kFormParameter}, spec.textLimit);
    LimitText(parent, ids, {kFormHour, kFormMinute, kFormSecond}, spec.timeLimit);

    for (const char* entry : kActionEntries) AddEntry(Control(parent, ids, kFormAction), entry);
    AddNumbers(Control(parent, ids, kFormMonth), 1, 12);
    AddNumbers(Control(parent, ids, kFormDay), 1, 31);
    AddNumbers(Control(parent, ids, kFormYear), spec.firstYear, spec.lastYear);
    HWND week = Control(parent, ids, kFormWeek);
    for (int day = 0; day < 7; ++day) AddEntry(week, WeekdayName(day));
    SetWindowTextA(week, kWeekPrompt);
    return all;
}

bool OnFormSpin(HWND parent, const FormIds& ids, HWND spin) {
    const int id = GetDlgCtrlID(spin);
    for (const FormSpinner& s : kFormSpinners) {
        if (ids[static_cast<std::size_t>(s.spin)] != id) continue;
        const LRESULT pos = SendMessageA(spin, UDM_GETPOS32, 0, 0);
        SetWindowTextA(Control(parent, ids, s.field), std::to_string(pos).c_str());
        return true;
    }
    return false;
}

int SelectedFormOption(HWND parent, const FormIds& ids) {
    for (int k = 0; k < 5; ++k)
        if (SendMessageA(Control(parent, ids, kFormOption0 + k), BM_GETCHECK, 0, 0) == BST_CHECKED) return k;
    return 0;
}

EditorEntry ReadAlarmForm(HWND parent, const FormIds& ids) {
    const auto text = [&](int field) { return win::WindowText(Control(parent, ids, field)); };
    EditorEntry entry;
    entry.action = static_cast<int>(SendMessageA(Control(parent, ids, kFormAction), CB_GETCURSEL, 0, 0));
    entry.dateOption = SelectedFormOption(parent, ids);
    entry.text = text(kFormText);
    entry.sound = text(kFormSound);
    entry.program = text(kFormProgram);
    entry.parameter = text(kFormParameter);
    entry.month = text(kFormMonth);
    entry.day = text(kFormDay);
    entry.year = text(kFormYear);
    entry.hour = text(kFormHour);
    entry.minute = text(kFormMinute);
    entry.week = text(kFormWeek);
    if (ids[kFormSecond] != -1) entry.second = text(kFormSecond);
    return entry;
}

HWND FormFieldControl(HWND parent, const FormIds& ids, EntryField field) {
    switch (field) {
    case EntryField::Action: return Control(parent, ids, kFormAction);
    case EntryField::Text: return Control(parent, ids, kFormText);
    case EntryField::Sound: return Control(parent, ids, kFormSound);
    case EntryField::Program: return Control(parent, ids, kFormProgram);
    case EntryField::Month: return Control(parent, ids, kFormMonth);
    case EntryField::Day: return Control(parent, ids, kFormDay);
    case EntryField::Year: return Control(parent, ids, kFormYear);
    case EntryField::Hour: return Control(parent, ids, kFormHour);
    case EntryField::Minute: return Control(parent, ids, kFormMinute);
    case EntryField::Second: return Control(parent, ids, kFormSecond);
    default: return nullptr;
    }
}

}  // namespace alarms
