// The calendar tool's day arithmetic and its reading of typed numbers.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "tools/DayCount.h"

using toolkit::CivilDate;

TEST(DayDistance, CountsWholeDaysFromToday) {
    struct Case { const char* what; CivilDate today, chosen; long long expected; } cases[] = {
        {"today", {2026, 12, 8}, {2026, 12, 8}, 0},
        {"tomorrow", {2026, 12, 8}, {2026, 12, 9}, 1},
        {"yesterday", {2026, 12, 8}, {2026, 12, 7}, -1},
        {"1 January of next year", {2026, 12, 8}, {2027, 1, 1}, 24},
        {"across a leap day", {2028, 2, 28}, {2028, 3, 1}, 2},
        {"across 28 February of a common year", {2027, 2, 28}, {2027, 3, 1}, 1},
        {"2100 has no leap day", {2100, 2, 28}, {2100, 3, 1}, 1},
        {"a leap year", {2028, 1, 1}, {2029, 1, 1}, 366},
        {"first date the controls show", {2026, 12, 8}, {1601, 1, 1}, -155569},
        {"last date the controls show", {2026, 12, 8}, {9999, 12, 31}, 2912101},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, toolkit::DayDistance(c.today, c.chosen)) << c.what;
        EXPECT_EQ(c.chosen, toolkit::AddDays(c.today, c.expected)) << c.what << ": distance and move agree";
    }
}

TEST(TodayPlusInRange, MovesAcrossMonthAndYearEndsAndStopsAtTheControlsRange) {
    struct Case { const char* what; CivilDate today; long long days; std::optional<CivilDate> expected; } cases[] = {
        {"30 days across the year end", {2026, 12, 8}, 30, CivilDate{2027, 1, 7}},
        {"yesterday across the year start", {2027, 1, 1}, -1, CivilDate{2026, 12, 31}},
        {"onto a leap day", {2028, 2, 28}, 1, CivilDate{2028, 2, 29}},
        {"over a month end", {2026, 1, 31}, 1, CivilDate{2026, 2, 1}},
        {"spinner's lowest", {2026, 12, 8}, -37390, CivilDate{1924, 7, 26}},
        {"spinner's highest", {2026, 12, 8}, 999999, CivilDate{4764, 11, 3}},
        {"typed -99999", {2026, 12, 8}, -99999, CivilDate{1753, 2, 23}},
        {"first day of the range", {2026, 12, 8}, -155569, CivilDate{1601, 1, 1}},
        {"one day before the range", {2026, 12, 8}, -155570, std::nullopt},
        {"last day of the range", {2026, 12, 8}, 2912101, CivilDate{9999, 12, 31}},
        {"one day after the range", {2026, 12, 8}, 2912102, std::nullopt},
        {"far beyond 32 bits", {2026, 12, 8}, INT64_MAX, std::nullopt},
        {"far below 32 bits", {2026, 12, 8}, INT64_MIN, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, toolkit::TodayPlusInRange(c.today, c.days)) << c.what;
}

TEST(ParseDayCount, ReadsSignedDecimalsRoundingHalvesToEven) {
    struct Case { const char* what; std::string text; std::optional<std::int32_t> expected; } cases[] = {
        {"plain", "30", 30},
        {"negative", "-1", -1},
        {"explicit plus", "+5", 5},
        {"half rounds to even, up", "1.5", 2},
        {"half rounds to even, down", "2.5", 2},
        {"negative half to even", "-2.5", -2},
        {"negative half up in size", "-3.5", -4},
        {"below half", "2.49999", 2},
        {"above half only past the five", "2.5000001", 3},
        {"a fraction alone", ".6", 1},
        {"a point with no fraction", "7.", 7},
        {"blanks around", " 7 ", 7},
        {"tab around", "\t7\t", 7},
        {"exponent", "1e2", 100},
        {"negative exponent", "25e-1", 2},
        {"exponent with sign", "1E+3", 1000},
        {"leading zeros", "007", 7},
        {"zero", "0", 0},
        {"minus zero", "-0", 0},
        {"small negative rounds to zero", "-0.4", 0},
        {"six typed characters", "-99999", -99999},
        {"largest 32-bit", "2147483647", 2147483647},
        {"smallest 32-bit", "-2147483648", INT32_MIN},
        {"fraction rounding past 32 bits", "2147483647.5", std::nullopt},
        {"beyond 32 bits", "99999999999", std::nullopt},
        {"exponent beyond 32 bits", "1e10", std::nullopt},
        {"huge exponent", "1e999999999999", std::nullopt},
        {"zero with a huge exponent", "0e999999999999", 0},
        {"tiny value", "1e-999999999999", 0},
        {"5000 fraction zeros undone by a 5000-digit exponent", "0." + std::string(4999, '0') + "7e5000", 7},
        {"10,000 characters: fraction undone by the exponent",
         "0." + std::string(9989, '0') + "12e9991", 12},
        {"lone minus", "-", std::nullopt},
        {"lone point", ".", std::nullopt},
        {"empty", "", std::nullopt},
        {"blanks only", "   ", std::nullopt},
        {"letters", "abc", std::nullopt},
        {"trailing letter", "12a", std::nullopt},
        {"exponent without digits", "1e", std::nullopt},
        {"exponent sign without digits", "1e-", std::nullopt},
        {"blank inside", "1 2", std::nullopt},
        {"two signs", "--1", std::nullopt},
        {"two points", "1.2.3", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, toolkit::ParseDayCount(c.text)) << c.what << ": \"" << c.text << "\"";
}
