#include "alarms/CatchUp.h"

#include "alarms/ListRow.h"

#include <algorithm>
#include <cstdio>

namespace alarms {

namespace {

constexpr std::int64_t kMinutesPerDay = 24 * 60;
constexpr int kYearsAhead = 8;  // a 29 February item recurs within eight years
constexpr const char* kShortDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

std::int64_t DayOf(std::int64_t minute) { return FloorDiv(minute, kMinutesPerDay); }

// The item's due minute on a day, when the day's date matches its rule.
std::optional<std::int64_t> DueOnDay(const AlarmItem& item, std::int64_t day) {
    if (item.hour > 23 || item.minute > 59) return std::nullopt;
    const std::optional<CivilDate> date = DateOfSerial(day);
    if (!date) return std::nullopt;
    const LocalMoment at{*date, item.hour, item.minute, 0};
    if (!MatchesMinute(item, at)) return std::nullopt;
    return day * kMinutesPerDay + item.hour * 60 + item.minute;
}

// A date without a serial (never one the clock reaches) has no weekday.
const char* DayName(const CivilDate& date) {
    const int weekday = WeekdayOf(date);
    return weekday >= 0 && weekday < 7 ? kShortDays[weekday] : "?";
}

std::string Two(int n) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", n % 100);
    return text;
}

}  // namespace

bool MayRunLate(const AlarmItem& item) {
    return item.notifyMode != kNotifyRestart && item.notifyMode != kNotifyShutdown;
}

Occurrences OccurrencesBetween(const AlarmItem& item, std::int64_t after, std::int64_t before) {
    Occurrences found;
    if (before - after < 2) return found;
    // Every rule is due at most once a day, at the item's hour and minute: look at each day.
    for (std::int64_t day = DayOf(before - 1); day >= DayOf(after + 1); --day) {
        const auto due = DueOnDay(item, day);
        if (!due || *due <= after || *due >= before) continue;
        if (found.count == 0) found.latest = *due;
        else if (found.count == 1) found.previous = *due;
        ++found.count;
    }
    return found;
}

std::optional<std::int64_t> NextOccurrence(const AlarmItem& item, std::int64_t after) {
    if (item.hour > 23 || item.minute > 59) return std::nullopt;
    const std::int64_t today = DayOf(after);
    const auto firstFrom = [&](std::int64_t day) -> std::optional<std::int64_t> {
        const auto due = DueOnDay(item, day);
        if (due && *due > after) return due;
        return std::nullopt;
    };
    switch (item.timeMode) {
    case kTimeOnce: {
        const std::optional<std::int64_t> day = DaySerial(item.YearNumber(), item.month, item.wDay);
        return day ? firstFrom(*day) : std::nullopt;
    }
    case kTimeDaily:
    case kTimeWeekly:
        for (std::int64_t day = today; day <= today + 7; ++day)
            if (auto due = firstFrom(day)) return due;
        return std::nullopt;
    case kTimeMonthly:
    case kTimeYearly: {
        // Only the item's day of each month (or of its month each year) can match.
        const std::optional<CivilDate> now = DateOfSerial(today);
        if (!now) return std::nullopt;
        const int steps = item.timeMode == kTimeMonthly ? 12 * kYearsAhead : kYearsAhead + 1;
        for (int i = 0; i <= steps; ++i) {
            const std::int64_t month = item.timeMode == kTimeMonthly ? now->month + i : item.month;
            const std::int64_t year = item.timeMode == kTimeMonthly ? now->year : now->year + i;
            const std::optional<std::int64_t> day = DaySerial(year, month, item.wDay);
            if (!day || *day < today) continue;
            if (auto due = firstFrom(*day)) return due;
        }
        return std::nullopt;
    }
    default: return std::nullopt;
    }
}

LocalMoment MomentOfMinute(std::int64_t minute) {
    const std::int64_t day = DayOf(minute);
    const int inDay = static_cast<int>(minute - day * kMinutesPerDay);
    return LocalMoment{DateOfSerial(day).value_or(CivilDate{}), inDay / 60, inDay % 60, 0};
}

std::string ShortDueText(std::int64_t minute) {
    const LocalMoment at = MomentOfMinute(minute);
    return std::string(DayName(at.date)) + " " + Two(at.hour) + ":" + Two(at.minute);
}

std::string LongDueText(std::int64_t minute) {
    const LocalMoment at = MomentOfMinute(minute);
    return std::string(DayName(at.date)) + " " + std::to_string(at.date.month) + "/" +
           std::to_string(at.date.day) + "/" + std::to_string(at.date.year) + " " + Two(at.hour) + ":" +
           Two(at.minute);
}

std::vector<std::string> MissedRows(const std::vector<MissedItem>& missed, std::size_t limit) {
    std::vector<std::string> rows;
    for (const MissedItem& m : missed) {
        if (rows.size() == limit) {
            rows.push_back("... and " + std::to_string(missed.size() - limit) + " more");
            break;
        }
        std::string row = LongDueText(m.latest) + "   " + ListRowText(m.item);
        if (m.count > 1) row += "   (missed " + std::to_string(m.count) + " times)";
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace alarms
