// The rules of the six date boxes (month, day, year for the birth date and for the chosen
// date): what a box accepts, how its spin moves, how a short year becomes a full one, and
// the stored form of the birth date.
#pragma once
#include "apps/vitaro/BiorhythmModel.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace bio {

enum class BoxField { kMonth = 0, kDay = 1, kYear = 2 };

struct BoxLimits {
    int largest;     // largest accepted value; the smallest is 1
    int maxChars;    // most characters of a typed text
    int spinMin;     // the spin's range
    int spinMax;
};

inline constexpr BoxLimits kBoxLimits[3] = {
    {12, 2, 1, 12},      // month
    {31, 2, 1, 31},      // day: any month's length; impossible dates are caught when built
    {3000, 4, 0, 3000},  // year
};

inline const BoxLimits& LimitsOf(BoxField field) { return kBoxLimits[static_cast<int>(field)]; }

// The value of a typed text, or nothing when the box rejects it: a character that is not a
// digit, more characters than the box takes, a value below 1 or above the largest. An empty
// text is rejected.
std::optional<int> AcceptBoxText(BoxField field, std::string_view text);

// The spin's value after one arrow press (+1 up, -1 down), stopping at its range's ends. A
// two-digit year (10-99) steps from the full year it stands for (FullYear), so it never jumps a
// century.
int SpinStep(BoxField field, int value, int delta);

// A typed year as a full year: 1-29 are 2001-2029, 30-99 are 1930-1999, others as typed.
int FullYear(int typedYear);

// The date of a group of boxes (month, day, typed year), or nothing when it is impossible
// (31 February, 31 April, outside the supported range).
std::optional<CivilDate> DateOfBoxes(int month, int day, int typedYear);

// The three box values of a group, month first.
using BoxValues = std::array<int, 3>;

// The birth date as stored, month "-" day "-" year with the digits as typed ("7-4-1976"):
// the three values when each part is accepted by its box and they form a possible date.
std::optional<BoxValues> ParseStoredBirthDate(std::string_view text);
// The birth date boxes when the stored date is missing, empty or impossible.
inline constexpr BoxValues kDefaultBirthBoxes{1, 1, 1990};

// The stored form built from the three birth date boxes' texts.
std::string StoredBirthDate(const std::string& month, const std::string& day, const std::string& year);

}  // namespace bio
