// The "Missed alarms" window: one modeless window listing the alarm items that fell due while
// the clock could not run them (asleep, frozen, not running, the clock moved), and the restart
// and shutdown items that are never run late. Items reported while it is open are added to it,
// so a long gap gives one summary, never a dialog per item.
#pragma once
#include <windows.h>

#include <vector>

#include "alarms/CatchUp.h"

namespace alarms {

inline constexpr char kMissedAlarmsTitle[] = "Missed alarms";
// At most this many rows; the rest are counted in one last row.
inline constexpr std::size_t kMaxMissedRows = 500;

// Opens the window owned by `owner` with the items, or adds them to the open one.
HWND ShowMissedAlarms(HWND owner, const std::vector<MissedItem>& missed);
// The open window, or null.
HWND MissedAlarmsWindow();

enum MissedAlarmsControl : int {
    kMissedOk = IDOK,
    kMissedRows = 300,
};

}  // namespace alarms
