// The biorhythm calculations: day counts between calendar dates, the three cycles' values,
// their percentage texts with the crucial-day rule, the average, and the calendar steps
// with which the user moves the chosen date. Pure functions over dates and integers.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace bio {

// A day of the proleptic Gregorian calendar, without a time of day.
struct CivilDate {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
    friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

// The dates the program works with: 1 January 100 to 31 December 9999.
inline constexpr CivilDate kFirstSupportedDate{100, 1, 1};
inline constexpr CivilDate kLastSupportedDate{9999, 12, 31};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
// True when the date exists in the calendar and lies in the supported range.
bool IsPossibleDate(const CivilDate& date);

// Whole days since 1 January 1970 (negative before it); valid for any year, so that
// stepping and counting never depend on a time of day or on daylight saving.
std::int64_t DayNumber(const CivilDate& date);
CivilDate DateOfDayNumber(std::int64_t dayNumber);
// 0 = Sunday ... 6 = Saturday.
int Weekday(const CivilDate& date);

// Signed days from the birth date to the chosen date (chosen minus birth; the birth date
// itself gives 0).
std::int32_t DaysLived(const CivilDate& birth, const CivilDate& chosen);

// The shortened constant every sine of the chart and the values uses (not full-precision pi):
// the figures the program has always shown depend on it to the last digit.
inline constexpr double kPi = 3.14159265358979;

struct BiorhythmCycle {
    const char* name;
    int period;          // days
    int amplitude;       // chart units
    int colorSlot;       // 1-based slot of the chart colour table
    const char* labelPrefix;
};

enum CycleIndex { kEmotional = 0, kPhysical = 1, kIntellectual = 2 };

// In chart and value-line order: Emotional, Physical, Intellectual.
inline constexpr std::array<BiorhythmCycle, 3> kCycles{{
    {"Emotional", 28, 13, 4, " Emotional : "},
    {"Physical", 23, 5, 5, " Physical : "},
    {"Intellectual", 33, 8, 6, " Intellectual : "},
}};

inline constexpr const char* kCrucialDayText = " Crucial Day";
inline constexpr const char* kAveragePrefix = " Average : ";

// The cycle's position on day n, in [-1, 1]: sine of (n rem P) * 2 * kPi / P, the remainder
// truncating (it keeps the sign of n) and the angle computed left to right.
double CycleValue(std::int32_t n, int period);
// 100 times CycleValue, unrounded.
double CyclePercent(std::int32_t n, int period);
// The absolute value rounded half away from zero, at least two digits, "-" for any negative
// percentage (also when the digits are 00), then "%": 5.2 -> "05%", -97.9 -> "-98%".
std::string PercentText(double percent);
// PercentText of the cycle's percentage, or " Crucial Day" when that text is "00%".
std::string CycleText(std::int32_t n, int period);
// Floor of (Physical + Emotional + Intellectual) / 3, added in that order.
std::int32_t AveragePercent(std::int32_t n);

// The four value lines under the chart: Emotional, Physical, Intellectual, Average.
std::array<std::string, 4> ValueLines(std::int32_t n);
// "You have lived " n " days".
std::string DaysLivedText(std::int32_t n);

// Calendar steps. Each gives no date when the result would leave the supported range.
// AddMonths and AddYears keep the day of the month, or take the target month's last day
// when it is shorter (31 January + 1 month = 28/29 February; 29 February + 1 year = 28
// February in a common year).
std::optional<CivilDate> AddDays(const CivilDate& date, std::int64_t k);
std::optional<CivilDate> AddMonths(const CivilDate& date, std::int64_t k);
std::optional<CivilDate> AddYears(const CivilDate& date, std::int64_t k);

}  // namespace bio
