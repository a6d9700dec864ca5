#include "apps/vitaro/DateBoxes.h"

namespace bio {

std::optional<int> AcceptBoxText(BoxField field, std::string_view text) {
    const BoxLimits& limits = LimitsOf(field);
    if (text.empty() || text.size() > static_cast<std::size_t>(limits.maxChars)) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');  // at most four digits: no overflow
    }
    if (value < 1 || value > limits.largest) return std::nullopt;
    return value;
}

int SpinStep(BoxField field, int value, int delta) {
    const BoxLimits& limits = LimitsOf(field);
    // A two-digit year steps as the full year it stands for: 29 up is 2030, not 1930. One digit
    // steps as typed, so that the spin still reaches 0 from 1.
    if (field == BoxField::kYear && value >= 10 && value <= 99) value = FullYear(value);
    const long long next = static_cast<long long>(value) + delta;
    if (next < limits.spinMin) return limits.spinMin;
    if (next > limits.spinMax) return limits.spinMax;
    return static_cast<int>(next);
}

int FullYear(int typedYear) {
    if (typedYear >= 1 && typedYear <= 29) return 2000 + typedYear;
    if (typedYear >= 30 && typedYear <= 99) return 1900 + typedYear;
    return typedYear;
}

std::optional<CivilDate> DateOfBoxes(int month, int day, int typedYear) {
    const CivilDate date{FullYear(typedYear), month, day};
    if (!IsPossibleDate(date)) return std::nullopt;
    return date;
}

std::optional<BoxValues> ParseStoredBirthDate(std::string_view text) {
    BoxValues values{};
    static constexpr BoxField kOrder[3] = {BoxField::kMonth, BoxField::kDay, BoxField::kYear};
    for (int i = 0; i < 3; ++i) {
        const std::size_t dash = i < 2 ? text.find('-') : std::string_view::npos;
        if (i < 2 && dash == std::string_view::npos) return std::nullopt;
        const auto value = AcceptBoxText(kOrder[i], text.substr(0, dash));
        if (!value) return std::nullopt;
        values[i] = *value;
        text = i < 2 ? text.substr(dash + 1) : std::string_view{};
    }
    if (!DateOfBoxes(values[0], values[1], values[2])) return std::nullopt;
    return values;
}

std::string StoredBirthDate(const std::string& month, const std::string& day, const std::string& year) {
    return month + "-" + day + "-" + year;
}

}  // namespace bio
