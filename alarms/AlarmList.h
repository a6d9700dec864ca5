// The alarm list window (frmOptions, "Alarm Item"): one row with a check box per stored item,
// in item-number order; Add and Modify open the item editors, Delete removes the selected
// item, OK and Apply store the checks and reload the scheduler. Modeless, at most one.
#pragma once
#include <windows.h>

namespace alarms {

// Opens the window centred on the screen, rows built from the store; when it is already open
// it is only brought to the front. Owner: the main clock window.
HWND ShowAlarmList(HWND owner);
// Closes the window if it is open (checks not yet stored are lost).
void CloseAlarmList();
// The open window, or null.
HWND AlarmListWindow();

// Control identifiers (OK and Cancel are the dialog keys' IDOK and IDCANCEL).
enum AlarmListControl : int {
    kListOk = IDOK,
    kListCancel = IDCANCEL,
    kListRows = 100,     // List1
    kListAdd = 101,      // Command1
    kListModify = 102,   // Command2
    kListDelete = 103,   // Command3
    kListSelectAll = 105,  // Command5
    kListClearAll = 106,   // Command6
    kListApply = 107,    // cmdApply
};

}  // namespace alarms
