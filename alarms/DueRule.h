// When an alarm item is due: the date rules, and dates formed with calendar carry (a day or
// month beyond its range runs into the following ones, a zero runs back into the previous).
// Pure code: no platform headers.
#pragma once
#include "alarms/AlarmItem.h"

#include <cstdint>
#include <optional>

namespace alarms {

// A day of the proleptic Gregorian calendar.
struct CivilDate {
    std::int64_t year = 1970;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    bool operator==(const CivilDate&) const = default;
};

// The local date and time of day as the clock reports them (seconds are whole).
struct LocalMoment {
    CivilDate date;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Days since 1 January 1970 of year/month/day with carry: month 13 is January of the next
// year, month 0 December of the year before; day 0 is the last day of the month before,
// day 31 of a 30-day month the 1st of the next. No date when a part or the carried date lies
// beyond kSerialYearLimit years (or as many months or days) from year 0, where the arithmetic
// would overflow.
inline constexpr std::int64_t kSerialYearLimit = 1'000'000'000'000;
std::optional<std::int64_t> DaySerial(std::int64_t year, std::int64_t month, std::int64_t day);
// No date for a serial whose year lies beyond kSerialYearLimit.
std::optional<CivilDate> DateOfSerial(std::int64_t serial);
inline std::optional<CivilDate> CarryDate(std::int64_t year, std::int64_t month, std::int64_t day) {
    const std::optional<std::int64_t> serial = DaySerial(year, month, day);
    if (!serial) return std::nullopt;
    return DateOfSerial(*serial);
}
// 0 Sunday .. 6 Saturday; -1 for a date without a serial.
int WeekdayOf(const CivilDate& date);

// A number that grows by one with every minute of local time; equal for two moments in the
// same minute. Every moment whose date has no serial gives kNoMinute.
inline constexpr std::int64_t kNoMinute = INT64_MIN;
std::int64_t MinuteSerial(const LocalMoment& now);

// The item's hour and minute match now's (the second is not looked at) and its date rule
// matches now's date; whether the item is enabled is not looked at. An unknown date rule
// never matches.
bool MatchesMinute(const AlarmItem& item, const LocalMoment& now);
// An enabled item that matches now's minute.
inline bool IsDueInMinute(const AlarmItem& item, const LocalMoment& now) {
    return item.Enabled() && MatchesMinute(item, now);
}

}  // namespace alarms
