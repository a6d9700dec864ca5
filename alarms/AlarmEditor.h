// The alarm item editor, "Alarm item ": the Add form (frmAdditem) starts from the current date
// and time and appends a new item; the Modify form (frmModify) starts from item n and
// overwrites it, unless item n was changed or deleted meanwhile: then it says so and offers to
// append the edit as a new item instead. Both are modeless, at most one of each; OK stores a complete entry, closes
// the editor and the alarm list, reloads the scheduler and shows the list again.
#pragma once
#include <windows.h>

namespace alarms {

// Opens the Add editor, or brings the open one to the front without loading its fields again.
HWND ShowAddEditor(HWND owner);
// Opens the Modify editor for item n, or brings the open one to the front (fields unchanged).
HWND ShowModifyEditor(HWND owner, int n);
HWND AddEditorWindow();
HWND ModifyEditorWindow();

// Control identifiers (OK and Cancel are the dialog keys' IDOK and IDCANCEL).
enum AlarmEditorControl : int {
    kEditorOk = IDOK,
    kEditorCancel = IDCANCEL,
    kEditorAction = 200,     // cmbAction
    kEditorText = 201,       // txtTexthint
    kEditorSound = 202,      // txtSound
    kEditorSoundPick = 203,  // cmdSound
    kEditorProgram = 204,    // txtProgram
    kEditorProgramPick = 205,  // cmdProgram
    kEditorParameter = 206,  // txtParameter
    kEditorOption0 = 210,    // Option1(0) .. Option1(4): "Only once" .. "Yearly"
    kEditorMonth = 220,      // cmbmonth
    kEditorDay = 221,        // cmbDay
    kEditorYear = 222,       // cmbYear
    kEditorHour = 223,       // txtHour
    kEditorHourSpin = 224,   // vschour
    kEditorMinute = 225,     // txtMin
    kEditorMinuteSpin = 226, // vscMinute
    kEditorSecond = 227,     // txtSec
    kEditorSecondSpin = 228, // vscSecond
    kEditorWeek = 229,       // cmbWeek
};

}  // namespace alarms
