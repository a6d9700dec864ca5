#include "tools/DayCount.h"

#include <string>

namespace toolkit {

long long DayDistance(const CivilDate& today, const CivilDate& chosen) {
    return DaysFromCivil(chosen) - DaysFromCivil(today);
}

std::optional<CivilDate> TodayPlusInRange(const CivilDate& today, long long days) {
    const long long first = DaysFromCivil(kFirstControlDate);
    const long long last = DaysFromCivil(kLastControlDate);
    const long long from = DaysFromCivil(today);
    // Compared as offsets so that no sum can overflow, whatever `days` holds.
    if (days < first - from || days > last - from) return std::nullopt;
    return CivilFromDays(from + days);  // within the controls' range: always a date
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// An exponent beyond the text's length plus this puts a non-zero value far outside 32 bits (or
// rounds it to 0), however many digits the mantissa has; reading stops growing it there.
constexpr long long kExponentMargin = 32;

}  // namespace

std::optional<std::int32_t> ParseDayCount(std::string_view text) {
    std::size_t i = 0, end = text.size();
    while (i < end && IsBlank(text[i])) ++i;
    while (end > i && IsBlank(text[end - 1])) --end;

    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

    // The mantissa's digits without the point, and how many of them follow the point.
    std::string digits;
    long long fractionDigits = 0;
    bool sawDigit = false;
    for (; i < end && IsDigit(text[i]); ++i) {
        digits += text[i];
        sawDigit = true;
    }
    if (i < end && text[i] == '.') {
        for (++i; i < end && IsDigit(text[i]); ++i) {
            digits += text[i];
            ++fractionDigits;
            sawDigit = true;
        }
    }
    if (!sawDigit) return std::nullopt;

    const long long exponentCap = static_cast<long long>(text.size()) + kExponentMargin;
    long long exponent = 0;
    if (i < end && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < end && (text[i] == '+' || text[i] == '-')) negativeExponent = text[i++] == '-';
        if (i == end || !IsDigit(text[i])) return std::nullopt;
        for (; i < end && IsDigit(text[i]); ++i)
            if (exponent < exponentCap) exponent = exponent * 10 + (text[i] - '0');
        if (negativeExponent) exponent = -exponent;
    }
    if (i != end) return std::nullopt;

    // value = digits x 10^scale, taken apart into an integer part and the dropped digits.
    const std::size_t firstNonZero = digits.find_first_not_of('0');
    if (firstNonZero == std::string::npos) return 0;
    digits.erase(0, firstNonZero);
    const long long scale = exponent - fractionDigits;
    const long long integerDigits = static_cast<long long>(digits.size()) + scale;
    if (integerDigits > 10) return std::nullopt;  // at least 10^10

    std::string whole, dropped;
    if (scale >= 0) {
        whole = digits + std::string(static_cast<std::size_t>(scale), '0');
    } else if (integerDigits > 0) {
        whole = digits.substr(0, static_cast<std::size_t>(integerDigits));
        dropped = digits.substr(static_cast<std::size_t>(integerDigits));
    } else {
        // Below 1: leading zeros of the fraction come before the dropped digits.
        dropped = std::string(static_cast<std::size_t>(-integerDigits), '0') + digits;
    }

    long long value = 0;
    for (char c : whole) value = value * 10 + (c - '0');
    if (!dropped.empty()) {
        // Compare the dropped part with one half: above rounds up, a tie goes to the even side.
        const bool aboveHalf = dropped[0] > '5' ||
                               (dropped[0] == '5' && dropped.find_first_not_of('0', 1) != std::string::npos);
        const bool exactlyHalf = dropped[0] == '5' && !aboveHalf;
        if (aboveHalf || (exactlyHalf && value % 2 != 0)) ++value;
    }
    if (negative) value = -value;
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

}  // namespace toolkit
