// The scheduler of the main program: the one alarm engine of the process (alarms/AlarmEngine.h)
// fed with the store's items, its edits, the clocks and the snoozes, and what it hands back
// carried out: due items to one replaceable handler (the alarm actions), missed ones to a
// second (the "Missed alarms" window), and its ledger to the registry.
//
// Re-entry: a handler may open a modal dialog whose message loop dispatches the main window's
// timer, so CheckAlarms() runs again inside the handler and runs what is due meanwhile; a
// handler may also edit the store. Nothing runs twice.
//
// Kept under HKEY_CURRENT_USER\Software\Zentaro, beside the items:
//   Load\AlarmLastTick        REG_SZ  the local minute (MinuteSerial) of the last tick, written at
//                                     most once a minute; the next start lists what fell due after it
//   Ledger\Handled            REG_SZ  per item, the last occurrences handled (FormatHandled);
//                                     written when it changes
//   Ledger\Snoozed\1, 2, ...  REG_SZ  the snoozed reminders, "<UTC second> <whole text>"
// The previous version kept snoozes as Snooze\1, 2, ... ("<local minute> <text>") and no
// handled marks: both are taken over at the first start, and its items count as handled up to
// its last tick.
#pragma once
#include <windows.h>

#include <functional>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "alarms/AlarmEngine.h"

namespace alarms {

inline constexpr const char* kLastTickName = "AlarmLastTick";
inline constexpr const char* kLedgerKey = "Software\\Zentaro\\Ledger";
inline constexpr const char* kHandledName = "Handled";
inline constexpr const char* kSnoozedKey = "Software\\Zentaro\\Ledger\\Snoozed";
inline constexpr const char* kOldSnoozeKey = "Software\\Zentaro\\Snooze";

// Carries out a due item's action; index is its position (1-based) now, 0 for a snoozed
// reminder. The handler may run a modal loop that calls CheckAlarms() again.
using AlarmHandler = std::function<void(const AlarmItem& item, int index)>;
// Reports items that were not run, in due order.
using MissedHandler = std::function<void(const std::vector<MissedItem>& missed)>;

// Replaces the engine's items with those of the registry. An item whose record is damaged
// (missing, short, not binary, over the read limit) is loaded disabled at its own position, so
// positions still match the list rows; the others work as usual.
void LoadAlarmItems();

// The store's edits, each reported by the store the moment it is written (alarms/AlarmStore.h).
// When the engine's items no longer match the store's count, it loads the store afresh instead.
void AlarmItemAppended(int n, const AlarmItem& item);
void AlarmItemWritten(int n, const AlarmItem& item);
void AlarmItemDeleted(int k, int countBefore);
void AlarmItemStateSet(int n, int state);

// The program's start: a fresh engine with the store's items and what the previous run kept;
// its first tick lists what fell due while the program was not running.
void StartScheduler();

// One tick: called every second by the main window, and when the computer resumes or the clock
// changes.
void CheckAlarms();

// The engine's items (positions 1-based) and the number of positions it looks at.
const AlarmItems& ScheduledItems();
int LoadedItemCount();

// Sets the action run for each due item; an empty handler makes due items do nothing.
void SetAlarmItemHandler(AlarmHandler handler);
// Sets where missed items are reported; an empty handler drops them.
void SetMissedAlarmsHandler(MissedHandler handler);

// Shows the reminder text again `minutes` minutes from now; kept across restarts.
void SnoozeReminder(const std::string& text, int minutes);
std::vector<SnoozedReminder> SnoozedReminders();

// "Next alarm: Tue 07:30" (within six days) or "Next alarm: Tue 24 Dec 07:30"; empty when none.
std::string NextAlarmText();
// The UTC second at which the next item or snoozed reminder after the current minute is due;
// none when nothing is pending. Cheap to ask on every tick: it is worked out again only when
// the minute or the items change.
std::optional<std::int64_t> NextDueUtc();

// The clocks as the engine reads them: the local time of the clock seam, the same moment in
// UTC (by the computer's zone rules) and the monotonic clock.
ClockReading ReadClocks();
LocalMoment ToLocalMoment(const SYSTEMTIME& time);

}  // namespace alarms
