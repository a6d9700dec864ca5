#include "alarms/AlarmEditor.h"

#include "alarms/AlarmForm.h"
#include "alarms/AlarmList.h"
#include "alarms/DueRule.h"
#include "alarms/EditorRules.h"
#include "common/WindowText.h"
#include "common/MessageLoop.h"
#include "alarms/AlarmStore.h"
#include "alarms/Scheduler.h"
#include "common/Handles.h"
#include "common/WindowState.h"
#include "common/SystemSeams.h"
#include "toolkit/CommonDialog.h"
#include "toolkit/Dialog.h"
#include "toolkit/FieldRefusal.h"
#include "toolkit/ToolWindow.h"

#include <commctrl.h>

#include <memory>
#include <string>

namespace alarms {

namespace {

constexpr char kAddClass[] = "frmAdditem";
constexpr char kModifyClass[] = "frmModify";
constexpr char kTitle[] = "Alarm item ";
constexpr char kSoundFilter[] = "*.wav";
constexpr char kProgramFilter[] = "*.exe";
constexpr char kProgramTitle[] = "Choose a program";
constexpr int kFirstYear = 2004, kLastYear = 2010;  // the year list's entries
constexpr int kHourMax = 23, kMinuteMax = 59, kSecondMax = 59;
constexpr int kMaxFieldText = 1023;  // what the settings store keeps of a text
constexpr char kChangedMeanwhile[] =
    "This alarm item was changed or deleted while you were editing it.\n\nAdd your edit as a new alarm item?";

// Layout in pixels of the client area; the form fills it above the buttons.
constexpr int kClientWidth = 442, kClientHeight = 330;
constexpr int kMargin = 8;
constexpr int kButtonY = 296, kButtonWidth = 80, kButtonHeight = 23, kButtonGap = 8;

constexpr FormIds kFormIds = {
    -1, kEditorAction, kEditorText, kEditorSound, kEditorSoundPick, kEditorProgram, kEditorProgramPick,
    kEditorParameter, kEditorOption0, kEditorOption0 + 1, kEditorOption0 + 2, kEditorOption0 + 3,
    kEditorOption0 + 4, -1, kEditorMonth, kEditorDay, kEditorYear, kEditorHour, kEditorHourSpin,
    kEditorMinute, kEditorMinuteSpin, kEditorSecond, kEditorSecondSpin, kEditorWeek,
};

constexpr toolkit::ControlSpec kButtons[] = {
    {"BUTTON", kEditorOk, "OK(&O)", WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON,
     kClientWidth - kMargin - 2 * kButtonWidth - kButtonGap, kButtonY, kButtonWidth, kButtonHeight},
    {"BUTTON", kEditorCancel, "Cancel(&C)", WS_TABSTOP | BS_PUSHBUTTON, kClientWidth - kMargin - kButtonWidth,
     kButtonY, kButtonWidth, kButtonHeight},
};

enum class EditorKind { Add, Modify };

// What Open hands to WM_CREATE.
struct EditorSetup {
    EditorKind kind;
    int itemNumber;
};

// One open editor's state, attached to its window.
struct EditorState {
    EditorKind kind = EditorKind::Add;
    int itemNumber = 0;  // Modify: the item being changed
    // Modify: the item as it was read when the editor opened; OK writes only over that item.
    AlarmItem original;
    bool originalValid = false;
    win::AutoFont font;
};

EditorState* StateOf(HWND window) { return win::WindowState<EditorState>(window); }

// The two editors differ only in their class names, so that each can be found on its own.
const char* ClassOf(EditorKind kind) { return kind == EditorKind::Add ? kAddClass : kModifyClass; }

std::string FieldText(HWND window, int id) { return win::ItemText(window, id); }

void SetField(HWND window, int id, const std::string& text) { SetDlgItemTextA(window, id, text.c_str()); }

void Enable(HWND window, int id, bool enabled) { EnableWindow(GetDlgItem(window, id), enabled); }

int SelectedAction(HWND window) { return static_cast<int>(SendDlgItemMessageA(window, kEditorAction, CB_GETCURSEL, 0, 0)); }

int SelectedDateOption(HWND window) { return SelectedFormOption(window, kFormIds); }

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

// Whether item n is still the one the editor was opened for. Enabling or disabling it in the
// list meanwhile is not an edit of it.
bool StillTheSameItem(const EditorState& state) {
    if (state.itemNumber < 1 || state.itemNumber > StoredItemCount()) return false;
    bool valid = false;
    AlarmItem now = ReadAlarmItem(state.itemNumber, &valid);
    AlarmItem then = state.original;
    now.itemState = then.itemState = 0;
    return valid == state.originalValid && now == then;
}

void FillFromItem(HWND window, EditorState& state) {
    const int n = state.itemNumber;
    const AlarmItem item = ReadAlarmItem(n, &state.originalValid);
    state.original = item;
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

// A field that cannot be stored as typed keeps the editor open with the focus on it.
bool RefuseInvalidField(HWND window, const EditorEntry& entry) {
    const FieldCheck check = CheckEntry(entry);
    if (check.Valid()) return false;
    toolkit::RefuseField(window, FormFieldControl(window, kFormIds, check.field), check.message);
    return true;
}

void OnOk(HWND window, const EditorState& state) {
    if (RefuseInvalidField(window, ReadAlarmForm(window, kFormIds))) return;
    const EditorKind kind = state.kind;
    const int n = state.itemNumber;
    const EditorEntry entry = ReadAlarmForm(window, kFormIds);
    if (IsComplete(entry)) {
        const SYSTEMTIME now = sys::LocalTime();
        const AlarmItem item = BuildItem(entry, WeekdayOf(CivilDate{now.wYear, now.wMonth, now.wDay}));
        if (kind == EditorKind::Add) AppendAlarmItem(item);
        else if (StillTheSameItem(state)) WriteAlarmItem(n, item);
        else if (MessageBoxA(window, kChangedMeanwhile, kTitle, MB_YESNO | MB_ICONEXCLAMATION) == IDYES)
            AppendAlarmItem(item);
    }
    HWND owner = GetWindow(window, GW_OWNER);
    DestroyWindow(window);  // state is gone from here on
    CloseAlarmList();
    LoadAlarmItems();
    ShowAlarmList(owner);
}

void OnPick(HWND window, int field, const char* filter, const char* title) {
    const std::string path = toolkit::CommonDialog::OpenDialog(window, filter, title);
    if (!path.empty()) SetField(window, field, path);
}

void OnCommand(HWND window, const EditorState& state, int id, int code) {
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
    case kEditorOk: OnOk(window, state); break;
    case kEditorCancel: DestroyWindow(window); break;
    default: break;
    }
}

void OnCreate(HWND window, const EditorSetup& setup) {
    auto owned = std::make_unique<EditorState>();
    owned->kind = setup.kind;
    owned->itemNumber = setup.itemNumber;
    EditorState* state = win::AttachWindowState(window, std::move(owned));
    state->font = toolkit::CreateDialogFont(window);
    AlarmFormSpec form;
    form.layout = FormLayout::Editor;
    form.ids = kFormIds;
    form.textLimit = kMaxFieldText;
    form.timeLimit = kMaxFieldText;
    form.firstYear = kFirstYear;
    form.lastYear = kLastYear;
    form.scale = toolkit::WindowScale(window);
    CreateAlarmForm(window, state->font.get(), form);
    toolkit::CreateControls(window, state->font.get(), kButtons);
    win::AddModelessWindow(window);
}

LRESULT CALLBACK EditorProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lp);
        OnCreate(window, *static_cast<const EditorSetup*>(create->lpCreateParams));
        return 0;
    }
    const EditorState* state = StateOf(window);
    if (!state) return DefWindowProcA(window, msg, wp, lp);
    switch (msg) {
    case WM_COMMAND: OnCommand(window, *state, LOWORD(wp), HIWORD(wp)); return 0;
    case WM_VSCROLL: OnFormSpin(window, kFormIds, reinterpret_cast<HWND>(lp)); return 0;
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_DESTROY: win::RemoveModelessWindow(window); return 0;
    case WM_NCDESTROY:
        win::DeleteWindowState<EditorState>(window);
        return DefWindowProcA(window, msg, wp, lp);
    default: return DefWindowProcA(window, msg, wp, lp);
    }
}

HWND Open(EditorKind kind, HWND owner, int n) {
    const char* className = ClassOf(kind);
    if (HWND open = toolkit::FindToolWindow(className)) {
        toolkit::BringToFront(open);
        return open;
    }
    toolkit::RegisterToolWindowClass(className, EditorProc, ICC_UPDOWN_CLASS);
    EditorSetup setup{kind, n};
    HWND window = toolkit::CreateCentredToolWindow(className, kTitle, WS_POPUP | WS_CAPTION | WS_SYSMENU, kClientWidth,
                                                   kClientHeight, owner, &setup);
    if (!window) return nullptr;
    if (kind == EditorKind::Add) FillFromClock(window);
    else if (EditorState* state = StateOf(window)) FillFromItem(window, *state);
    toolkit::BringToFront(window);
    SetFocus(GetDlgItem(window, kEditorAction));
    return window;
}

}  // namespace

HWND ShowAddEditor(HWND owner) { return Open(EditorKind::Add, owner, 0); }
HWND ShowModifyEditor(HWND owner, int n) { return Open(EditorKind::Modify, owner, n); }
HWND AddEditorWindow() { return toolkit::FindToolWindow(kAddClass); }
HWND ModifyEditorWindow() { return toolkit::FindToolWindow(kModifyClass); }

}  // namespace alarms
