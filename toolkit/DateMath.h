// Whole calendar days of the Gregorian calendar: "today plus n days" for the date controls.
// Pure: no <windows.h>.
#pragma once
#include <optional>

namespace toolkit {

struct CivilDate {
    int year = 1970;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

// Days since 1970-01-01 (negative before it) and back; no date when the year would not fit
// in an int (beyond about 7.8e11 days).
long long DaysFromCivil(const CivilDate& d);
std::optional<CivilDate> CivilFromDays(long long days);

// The date moved by whole days (negative goes back), with month and year carry; no date when
// the result's year would not fit in an int.
std::optional<CivilDate> AddDays(const CivilDate& d, long long days);

}  // namespace toolkit
