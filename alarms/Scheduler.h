// The scheduler of the main program: its in-memory copy of the alarm items, filled by
// LoadAlarmItems(), and CheckAlarms(), called on every tick of the main window's timer and
// whenever the computer resumes or the clock changes.
//
// Due items are handed to one replaceable handler, the seam between the scheduler and the
// alarm actions: production code points it at the actions (FireAlarmItem); tests install a
// recorder. Until a handler is set, due items are noted as fired and nothing happens. Items a
// gap made miss their minute go to a second handler (the "Missed alarms" window).
//
// Re-entry: a handler may open a modal dialog whose message loop dispatches the main
// window's timer, so CheckAlarms() runs again inside the handler; a handler may also call
// LoadAlarmItems(). Nothing fires twice. See alarms/DueTracker.h for the exact rules.
//
// Kept under HKEY_CURRENT_USER\Software\Zentaro, beside the items:
//   Load\AlarmLastTick  REG_SZ  the local minute (MinuteSerial) of the last tick, written at
//                               most once a minute; the next start lists what fell due after it
//   Snooze\1, 2, ...    REG_SZ  the snoozed reminders, "<minute> <text>" (FormatSnoozed)
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "alarms/DueTracker.h"

namespace alarms {

inline constexpr const char* kLastTickName = "AlarmLastTick";
inline constexpr const char* kSnoozeKey = "Software\\Zentaro\\Snooze";

// Replaces the in-memory copy with the items of the registry. An item whose record is damaged
// (missing, short, not binary, over the read limit) is loaded disabled at its own position, so
// positions still match the list rows; the others work as usual.
void LoadAlarmItems();

// One tick. The first one of the process first lists what fell due while the program was not
// running (ReportMissedWhileAway) and loads the snoozed reminders.
void CheckAlarms();

// Hands the enabled items that fell due after the stored last tick (within the last day) and
// before the current minute to the missed handler; nothing when no tick was ever stored.
void ReportMissedWhileAway();

// The in-memory copy (positions 1-based) and the number of positions the scheduler looks at.
const AlarmItems& ScheduledItems();
int LoadedItemCount();

// Sets the action run for each due item; an empty handler makes due items do nothing.
void SetAlarmItemHandler(DueTracker::Handler handler);
// Sets where missed items are reported; an empty handler drops them.
void SetMissedAlarmsHandler(DueTracker::MissedHandler handler);

// Shows the reminder text again `minutes` after the current minute; kept across restarts.
void SnoozeReminder(const std::string& text, int minutes);
const std::vector<SnoozedReminder>& SnoozedReminders();

// "Next alarm: Tue 07:30" for the next enabled item or snoozed reminder; empty when none.
std::string NextAlarmText();
// The local minute (MinuteSerial) of that next item or reminder after the current minute;
// none when nothing is pending. Cheap to ask on every tick: it is worked out again only when
// the minute or the items change.
std::optional<std::int64_t> NextDueMinute();

// The local time of the clock as the pure logic sees it.
LocalMoment ToLocalMoment(const SYSTEMTIME& time);

}  // namespace alarms
