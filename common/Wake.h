// Waking the computer for the next alarm, and keeping it awake while an alarm is up.
//
// While the option "WakeForAlarms" is on, the clock keeps exactly one wake armed, kLeadSeconds
// before the next due instant (see common/WakeRules.h): the clock's own waitable timer with
// resume (sleep and hibernation, where the power plan allows wake timers) and, at the same
// instant, the user's own task with "wake the computer to run this task" (the task scheduler
// also wakes computers that use modern standby, where desktop programs are paused). Both go
// through the seams of common/SystemSeams.h. Arming the same instant again does nothing, so
// the owner may call Rearm() as often as it likes.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "common/WakeRules.h"

namespace wake {

// The one call from the scheduler's side. `due` is the next due instant of any enabled item
// or snoozed reminder in UTC seconds (none when nothing is pending), `now` the current UTC
// second. Called after every event that can move it (start-up, a stored edit, a snooze, a
// resume, a time or time-zone change, the option switched on); the clock calls it on each
// tick, which covers them all within a second. With the option off, only remembers `due`.
void Rearm(std::optional<std::int64_t> due, std::int64_t now);

// The option. Switching it on arms the last instant given to Rearm(); switching it off
// cancels the timer and removes the task.
void SetEnabled(bool on);
bool Enabled();
// The instant armed now (none when nothing is), and what arming it found.
std::optional<std::int64_t> ArmedInstant();
const ArmResult& LastArmResult();
// Cancels what is armed (the clock ends); the option keeps its value.
void Disarm();

// The line under the option's check box for the power plan in force: empty while the wake can
// work (or the option is off).
std::string OptionLine(bool optionOn);

// The computer has resumed now; a reminder that opens soon after is brought to the front on
// the monitor in use.
void NoteResume();
bool WokeRecently();
inline constexpr ULONGLONG kRecentWakeMs = 5 * 60 * 1000;

// Keeping the computer and the display on while an alarm is up, for at most kAwakeLimitMs
// from the first hold: a hold lasts while its owner lives (the reminder and countdown dialogs)
// or for kTimedHoldMs (a sound, whose end is not reported, or a program being started).
inline constexpr ULONGLONG kAwakeLimitMs = 10 * 60 * 1000;
inline constexpr ULONGLONG kTimedHoldMs = 60 * 1000;
class AwakeHold {
public:
    AwakeHold();
    ~AwakeHold();
    AwakeHold(const AwakeHold&) = delete;
    AwakeHold& operator=(const AwakeHold&) = delete;
};
void HoldAwakeBriefly();
// Releases the system when the last hold has ended or the limit has passed; called on each tick.
void ReleaseOverdueHold();
bool HoldingAwake();

// The UTC second of a local minute serial (minutes since 1 January 1970 of local time), as
// the system's time zone rules map it; none when the system cannot map it.
std::optional<std::int64_t> UtcOfLocalMinute(std::int64_t localMinute);
// The current UTC second.
std::int64_t UtcNow();

}  // namespace wake
