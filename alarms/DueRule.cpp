#include "alarms/DueRule.h"

namespace alarms {

namespace {

constexpr std::int64_t kMonthsPerYear = 12;
constexpr std::int64_t kMinutesPerDay = 24 * 60;

// Floor division (the quotient rounded towards minus infinity).
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Days from 1970-01-01 to the first of the given month (1..12), by the era arithmetic of the
// proleptic Gregorian calendar (400-year eras of 146097 days, years starting in March).
std::int64_t DaysOfMonthStart(std::int64_t year, int month) {
    const std::int64_t y = month <= 2 ? year - 1 : year;
    const std::int64_t era = FloorDiv(y, 400);
    const std::int64_t yoe = y - era * 400;
    const std::int64_t mp = (month + 9) % 12;  // March = 0
    const std::int64_t doy = (153 * mp + 2) / 5;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// Limits that keep every product and sum below within 64 bits.
constexpr std::int64_t kMonthLimit = kSerialYearLimit * 12;
constexpr std::int64_t kDayLimit = kSerialYearLimit * 366;

bool Within(std::int64_t value, std::int64_t limit) { return value >= -limit && value <= limit; }

// The serials of 1 January -kSerialYearLimit and 31 December kSerialYearLimit.
std::int64_t FirstSerial() { return DaysOfMonthStart(-kSerialYearLimit, 1); }
std::int64_t LastSerial() { return DaysOfMonthStart(kSerialYearLimit + 1, 1) - 1; }

}  // namespace

std::optional<std::int64_t> DaySerial(std::int64_t year, std::int64_t month, std::int64_t day) {
    if (!Within(year, kSerialYearLimit) || !Within(month, kMonthLimit) || !Within(day, kDayLimit))
        return std::nullopt;
    // Carry the month into the year first, then count the day from the first of that month.
    const std::int64_t months = year * kMonthsPerYear + (month - 1);
    const std::int64_t y = FloorDiv(months, kMonthsPerYear);
    const int m = static_cast<int>(months - y * kMonthsPerYear) + 1;
    const std::int64_t serial = DaysOfMonthStart(y, m) + (day - 1);
    if (serial < FirstSerial() || serial > LastSerial()) return std::nullopt;
    return serial;
}

std::optional<CivilDate> DateOfSerial(std::int64_t serial) {
    if (serial < FirstSerial() || serial > LastSerial()) return std::nullopt;
    const std::int64_t z = serial + 719468;
    const std::int64_t era = FloorDiv(z, 146097);
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    CivilDate date;
    date.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    date.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    date.year = yoe + era * 400 + (date.month <= 2 ? 1 : 0);
    return date;
}

int WeekdayOf(const CivilDate& date) {
    // 1 January 1970 was a Thursday.
    const std::optional<std::int64_t> serial = DaySerial(date.year, date.month, date.day);
    if (!serial) return -1;
    return static_cast<int>(*serial - FloorDiv(*serial + 4, 7) * 7 + 4);
}

std::int64_t MinuteSerial(const LocalMoment& now) {
    const std::optional<std::int64_t> day = DaySerial(now.date.year, now.date.month, now.date.day);
    // The clock's hour and minute are small; a day within the limit leaves room for them.
    if (!day || !Within(now.hour, kMinutesPerDay) || !Within(now.minute, kMinutesPerDay)) return kNoMinute;
    return *day * kMinutesPerDay + now.hour * 60 + now.minute;
}

bool MatchesMinute(const AlarmItem& item, const LocalMoment& now) {
    if (item.hour != now.hour || item.minute != now.minute) return false;
    const std::optional<CivilDate> carried = CarryDate(now.date.year, now.date.month, now.date.day);
    if (!carried) return false;
    const CivilDate& today = *carried;
    switch (item.timeMode) {
    case kTimeOnce: return CarryDate(item.YearNumber(), item.month, item.wDay) == today;
    case kTimeDaily: return true;
    case kTimeWeekly: return item.week == WeekdayOf(today);
    case kTimeMonthly: return item.wDay == today.day;
    case kTimeYearly: return item.month == today.month && item.wDay == today.day;
    default: return false;
    }
}

}  // namespace alarms
