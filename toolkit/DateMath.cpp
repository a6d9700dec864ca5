#include "toolkit/DateMath.h"

#include <climits>

namespace toolkit {

// Day counts on the proleptic Gregorian calendar with March-based years, so that the leap
// day is the last day of a year and every era of 400 years has the same 146097 days.
long long DaysFromCivil(const CivilDate& d) {
    const long long y = static_cast<long long>(d.year) - (d.month <= 2 ? 1 : 0);
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long mp = (d.month + 9) % 12;  // March = 0
    const long long doy = (153 * mp + 2) / 5 + d.day - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

namespace {
// Days from 1970-01-01 to the first and the last day an int year can name.
const long long kFirstDay = DaysFromCivil({INT_MIN, 1, 1});
const long long kLastDay = DaysFromCivil({INT_MAX, 12, 31});
}  // namespace

std::optional<CivilDate> CivilFromDays(long long days) {
    if (days < kFirstDay || days > kLastDay) return std::nullopt;
    const long long z = days + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    CivilDate out;
    out.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    out.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const long long year = yoe + era * 400 + (out.month <= 2 ? 1 : 0);
    if (year < INT_MIN || year > INT_MAX) return std::nullopt;
    out.year = static_cast<int>(year);
    return out;
}

std::optional<CivilDate> AddDays(const CivilDate& d, long long days) {
    const long long from = DaysFromCivil(d);
    // Compared as offsets so that no sum can overflow, whatever `days` holds.
    if (days < kFirstDay - from || days > kLastDay - from) return std::nullopt;
    return CivilFromDays(from + days);
}

}  // namespace toolkit
