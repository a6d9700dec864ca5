// The calendar tool's arithmetic: the distance in whole days between two dates, today moved by
// a number of days within the range the date controls accept, and the reading of a typed
// number of days. Pure: no <windows.h>.
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

#include "toolkit/DateMath.h"

namespace toolkit {

// The dates a date picker and a month calendar can show.
inline constexpr CivilDate kFirstControlDate{1601, 1, 1};
inline constexpr CivilDate kLastControlDate{9999, 12, 31};

// Whole days from `today` to `chosen`: positive for later dates, 0 for the same day.
long long DayDistance(const CivilDate& today, const CivilDate& chosen);

// `today` moved by `days`, or nothing when the result lies outside the controls' range.
std::optional<CivilDate> TodayPlusInRange(const CivilDate& today, long long days);

// A typed number of days: blanks, an optional sign, digits with an optional decimal point and
// fraction, an optional exponent ("1e2"), blanks. Rounded exactly to the nearest integer,
// halves to the even neighbour. Nothing for any other text or a value beyond 32 bits.
std::optional<std::int32_t> ParseDayCount(std::string_view text);

}  // namespace toolkit
