// The empty dialog template's bytes, the centring rule and "today plus n days".
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <optional>

#include "toolkit/DateMath.h"
#include "toolkit/DialogTemplate.h"

using toolkit::CivilDate;

TEST(EmptyDialogTemplate, BytesAreTheClassicRecordWithNoControlsMenuClassOrTitle) {
    const toolkit::EmptyDialogTemplate t = toolkit::MakeEmptyDialogTemplate();
    const std::uint8_t expected[24] = {
        0x80, 0x00, 0xC8, 0x80,  // WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, no DS_SETFONT
        0, 0, 0, 0,              // no extended style
        0, 0,                    // no controls
        0, 0, 0, 0, 0, 0, 0, 0,  // x, y, cx, cy
        0, 0,                    // no menu
        0, 0,                    // predefined dialog class
        0, 0,                    // empty title; nothing follows
    };
    ASSERT_EQ(sizeof expected, t.bytes.size());
    for (size_t i = 0; i < t.bytes.size(); ++i) EXPECT_EQ(expected[i], t.bytes[i]) << "byte " << i;
    EXPECT_EQ(0u, reinterpret_cast<std::uintptr_t>(t.bytes.data()) % 4) << "templates sit on a 32-bit boundary";
}

TEST(AddDays, MovesByWholeDaysWithMonthAndYearCarry) {
    struct Case { const char* what; CivilDate from; long long days; std::optional<CivilDate> expected; } cases[] = {
        {"no move", {2026, 12, 8}, 0, CivilDate{2026, 12, 8}},
        {"yesterday", {2026, 12, 8}, -1, CivilDate{2026, 12, 7}},
        {"into next month", {2026, 4, 30}, 1, CivilDate{2026, 5, 1}},
        {"across the year end", {2026, 12, 31}, 1, CivilDate{2027, 1, 1}},
        {"back across the year start", {2027, 1, 1}, -1, CivilDate{2026, 12, 31}},
        {"leap day", {2028, 2, 28}, 1, CivilDate{2028, 2, 29}},
        {"no leap day in 2100", {2100, 2, 28}, 1, CivilDate{2100, 3, 1}},
        {"leap day in 2000", {2000, 2, 28}, 1, CivilDate{2000, 2, 29}},
        {"a year forward over a leap day", {2027, 6, 1}, 366, CivilDate{2028, 6, 1}},
        {"far back (up-down lower bound)", {2026, 12, 8}, -37390, CivilDate{1924, 7, 26}},
        {"far forward (up-down upper bound)", {2026, 12, 8}, 999999, CivilDate{4764, 11, 3}},
        {"the last day an int year names", {INT_MAX, 12, 30}, 1, CivilDate{INT_MAX, 12, 31}},
        {"past the last int year (no wrap)", {INT_MAX, 12, 31}, 1, std::nullopt},
        {"before the first int year", {INT_MIN, 1, 1}, -1, std::nullopt},
        {"8e11 days forward", {2026, 12, 8}, 800'000'000'000LL, std::nullopt},
        {"2^63 - 1 days forward", {2026, 12, 8}, LLONG_MAX, std::nullopt},
        {"-2^63 days back", {2026, 12, 8}, LLONG_MIN, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, toolkit::AddDays(c.from, c.days)) << c.what;
}

TEST(AddDays, DayCountsRoundTripOverFourCenturies) {
    const long long start = toolkit::DaysFromCivil({1900, 1, 1});
    CivilDate prev = toolkit::CivilFromDays(start).value();
    for (long long d = start + 1; d < start + 146097; ++d) {
        const CivilDate cur = toolkit::CivilFromDays(d).value();
        ASSERT_EQ(d, toolkit::DaysFromCivil(cur));
        const bool nextDay = cur.day == prev.day + 1 && cur.month == prev.month && cur.year == prev.year;
        const bool nextMonth = cur.day == 1 && (cur.month == prev.month + 1 || (cur.month == 1 && prev.month == 12));
        ASSERT_TRUE(nextDay || nextMonth) << cur.year << "-" << cur.month << "-" << cur.day;
        prev = cur;
    }
}
