#include "apps/vitaro/BiorhythmModel.h"

#include <cmath>
#include <cstdio>

namespace bio {
namespace {

// Floor division for the civil-date conversions (negative eras before year 0).
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

bool InSupportedRange(const CivilDate& d) {
    const std::int64_t n = DayNumber(d);
    return n >= DayNumber(kFirstSupportedDate) && n <= DayNumber(kLastSupportedDate);
}

std::optional<CivilDate> Supported(const CivilDate& d) {
    if (!InSupportedRange(d)) return std::nullopt;
    return d;
}

// The same day in year/month (month counted from 0 upward across years), or the month's
// last day when it is shorter.
CivilDate ClampedDay(std::int64_t monthIndex, int day) {
    const std::int64_t year = FloorDiv(monthIndex, 12);
    const int month = static_cast<int>(monthIndex - year * 12) + 1;
    const int y = static_cast<int>(year);
    const int last = DaysInMonth(y, month);
    return {y, month, day > last ? last : day};
}

}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsPossibleDate(const CivilDate& date) {
    if (date.month < 1 || date.month > 12) return false;
    if (date.day < 1 || date.day > DaysInMonth(date.year, date.month)) return false;
    return InSupportedRange(date);
}

// Days from civil: eras of 400 years (146097 days), March-based years so that the leap day
// is the last day of a year.
std::int64_t DayNumber(const CivilDate& date) {
    const std::int64_t y = static_cast<std::int64_t>(date.year) - (date.month <= 2 ? 1 : 0);
    const std::int64_t era = FloorDiv(y, 400);
    const std::int64_t yoe = y - era * 400;
    const std::int64_t mp = (date.month + 9) % 12;  // March = 0
    const std::int64_t doy = (153 * mp + 2) / 5 + date.day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

CivilDate DateOfDayNumber(std::int64_t dayNumber) {
    const std::int64_t z = dayNumber + 719468;
    const std::int64_t era = FloorDiv(z, 146097);
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
    return {year, month, day};
}

int Weekday(const CivilDate& date) {
    // 1 January 1970 was a Thursday (4).
    const std::int64_t w = (DayNumber(date) + 4) % 7;
    return static_cast<int>(w < 0 ? w + 7 : w);
}

std::int32_t DaysLived(const CivilDate& birth, const CivilDate& chosen) {
    return static_cast<std::int32_t>(DayNumber(chosen) - DayNumber(birth));
}

double CycleValue(std::int32_t n, int period) {
    const std::int32_t k = n % period;  // truncating: keeps the sign of n
    const double angle = static_cast<double>(k * 2) * kPi / period;
    return std::sin(angle);
}

double CyclePercent(std::int32_t n, int period) { return CycleValue(n, period) * 100; }

std::string PercentText(double percent) {
    const long digits = std::lround(std::fabs(percent));  // half away from zero
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%s%02ld%%", percent < 0 ? "-" : "", digits);
    return buffer;
}

std::string CycleText(std::int32_t n, int period) {
    std::string text = PercentText(CyclePercent(n, period));
    return text == "00%" ? kCrucialDayText : text;
}

std::int32_t AveragePercent(std::int32_t n) {
    double sum = CyclePercent(n, kCycles[kPhysical].period);
    sum += CyclePercent(n, kCycles[kEmotional].period);
    sum += CyclePercent(n, kCycles[kIntellectual].period);
    return static_cast<std::int32_t>(std::floor(sum / 3));
}

std::array<std::string, 4> ValueLines(std::int32_t n) {
    std::array<std::string, 4> lines;
    for (std::size_t i = 0; i < kCycles.size(); ++i)
        lines[i] = kCycles[i].labelPrefix + CycleText(n, kCycles[i].period);
    lines[3] = kAveragePrefix + std::to_string(AveragePercent(n)) + "%";
    return lines;
}

std::string DaysLivedText(std::int32_t n) { return "You have lived " + std::to_string(n) + " days"; }

// The steps compare k with the distances to the range's ends rather than adding it first, so
// that no sum overflows whatever k holds (up to +/-2^63).
namespace {
bool StepWithin(std::int64_t from, std::int64_t k, std::int64_t first, std::int64_t last) {
    return k >= first - from && k <= last - from;
}
}  // namespace

std::optional<CivilDate> AddDays(const CivilDate& date, std::int64_t k) {
    const std::int64_t from = DayNumber(date);
    if (!StepWithin(from, k, DayNumber(kFirstSupportedDate), DayNumber(kLastSupportedDate))) return std::nullopt;
    return Supported(DateOfDayNumber(from + k));
}

std::optional<CivilDate> AddMonths(const CivilDate& date, std::int64_t k) {
    const std::int64_t from = static_cast<std::int64_t>(date.year) * 12 + (date.month - 1);
    if (!StepWithin(from, k, kFirstSupportedDate.year * 12LL, kLastSupportedDate.year * 12LL + 11))
        return std::nullopt;
    return Supported(ClampedDay(from + k, date.day));
}

std::optional<CivilDate> AddYears(const CivilDate& date, std::int64_t k) {
    if (!StepWithin(date.year, k, kFirstSupportedDate.year, kLastSupportedDate.year)) return std::nullopt;
    return Supported(ClampedDay((date.year + k) * 12 + (date.month - 1), date.day));
}

}  // namespace bio
