// Waking the computer for an alarm, apart from the platform: which instant the one wake is
// armed at, what the options dialog says when the system will not let the clock wake the
// computer, and the definition of the user's own wake task.
//
// Instants are whole seconds since 1 January 1970 UTC, so a wake armed before a time or
// time-zone change still falls at the same moment of the alarm.
// Pure code: no platform headers.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace wake {

// The computer is woken this long before an alarm's minute, so it is up when the minute begins.
inline constexpr std::int64_t kLeadSeconds = 30;
// Nothing is armed further ahead than this (the platform's millisecond counters and timers
// wrap after 49.7 days); a later alarm is armed at a whole UTC day within it, so the
// computer wakes at most once in that time and the clock arms the real instant then.
inline constexpr std::int64_t kSecondsPerDay = 24 * 60 * 60;
inline constexpr std::int64_t kHorizonSeconds = 49 * kSecondsPerDay;

// The instant to arm for the next due instant `due` when it is now `now`: kLeadSeconds before
// due; an instant beyond kHorizonSeconds gives the last whole day within it. No instant when
// nothing is due, or when due has already passed (the next one is asked for instead). An
// armed instant a few seconds in the past (due is less than kLeadSeconds away) is kept: the
// computer is awake then, and a stable instant is not re-armed on every tick.
std::optional<std::int64_t> ArmInstant(std::optional<std::int64_t> due, std::int64_t now);

// The power plan's "Allow wake timers" setting for one power source, as the plan stores it:
// 0 disabled, 1 enabled, 2 only the system's important timers (so not the clock's). No value
// when it cannot be read: then nothing is said.
struct PlanWakeSettings {
    std::optional<std::uint32_t> mains;
    std::optional<std::uint32_t> battery;
    bool operator==(const PlanWakeSettings&) const = default;
};
inline constexpr std::uint32_t kWakeTimersEnabled = 1;

// What the clock's last attempt to arm found.
struct ArmResult {
    bool resumeUnsupported = false;  // the timer was set, but the computer cannot resume from it
    std::uint32_t timerError = 0;    // the timer was refused with this error (0: it was not)
    std::uint32_t taskError = 0;     // the wake task was refused with this result (0: it was not)
};

inline constexpr const char* kWakeBlockedText =
    "Windows is set not to let programs wake this computer (Power Options, Allow wake timers).";
inline constexpr const char* kOnMainsText = " This applies on mains power.";
inline constexpr const char* kOnBatteryText = " This applies on battery.";
inline constexpr const char* kOnBothText = " This applies on mains power and on battery.";

// The line under the option's check box: empty while the wake can work; otherwise why not.
std::string WarningLine(const PlanWakeSettings& plan, const ArmResult& armed);

// "2027-03-28T06:59:30Z", as a task's trigger states a UTC instant.
std::string UtcIsoText(std::int64_t instant);
// The name of the user's wake task in the task scheduler's root folder: one per user.
std::wstring TaskName(const std::wstring& userName);
// The task: at `instant`, wake the computer and start `program` with kWakeArgument (the clock,
// which then ends at once, without showing the running one, when a clock is already running),
// as the interactive user without elevation, on mains or battery. Texts are escaped for XML.
inline constexpr const char* kWakeArgument = "/wake";
std::wstring TaskDefinition(std::int64_t instant, const std::wstring& program);

}  // namespace wake
