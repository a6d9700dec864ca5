// When an alarm item is due: the date rules and dates formed with calendar carry.
#include "alarms/DueRule.h"

#include <gtest/gtest.h>

namespace {

using alarms::CivilDate;
using alarms::AlarmItem;

TEST(AlarmDue, CalendarCarry) {
    struct Case {
        const char* what;
        std::int64_t year, month, day;
        std::optional<CivilDate> expected;
    } cases[] = {
        {"ordinary date", 2005, 6, 15, CivilDate{2005, 6, 15}},
        {"31 of a 30-day month", 2005, 4, 31, CivilDate{2005, 5, 1}},
        {"30 February 2005", 2005, 2, 30, CivilDate{2005, 3, 2}},
        {"29 February of a leap year", 2004, 2, 29, CivilDate{2004, 2, 29}},
        {"29 February of a common year", 2005, 2, 29, CivilDate{2005, 3, 1}},
        {"29 February 2000 (leap by 400)", 2000, 2, 29, CivilDate{2000, 2, 29}},
        {"29 February 2100 (not leap)", 2100, 2, 29, CivilDate{2100, 3, 1}},
        {"month 0", 2005, 0, 15, CivilDate{2004, 12, 15}},
        {"day 0", 2005, 3, 0, CivilDate{2005, 2, 28}},
        {"day 0 of January", 2005, 1, 0, CivilDate{2004, 12, 31}},
        {"month 0 and day 0", 2005, 0, 0, CivilDate{2004, 11, 30}},
        {"month 13", 2005, 13, 1, CivilDate{2006, 1, 1}},
        {"month 255", 2005, 255, 1, CivilDate{2026, 3, 1}},
        {"day 255 of January", 2005, 1, 255, CivilDate{2005, 9, 12}},
        {"before 1970", 1969, 12, 31, CivilDate{1969, 12, 31}},
        {"year 255255", 255255, 1, 1, CivilDate{255255, 1, 1}},
        {"the largest year with a serial", alarms::kSerialYearLimit, 1, 1, CivilDate{alarms::kSerialYearLimit, 1, 1}},
        {"the smallest year with a serial", -alarms::kSerialYearLimit, 1, 1, CivilDate{-alarms::kSerialYearLimit, 1, 1}},
        {"year 2^63 - 1", INT64_MAX, 1, 1, std::nullopt},
        {"year -2^63", INT64_MIN, 1, 1, std::nullopt},
        {"month -2^63", 2005, INT64_MIN, 1, std::nullopt},
        {"day 2^63 - 1", 2005, 1, INT64_MAX, std::nullopt},
        {"day -2^63", 2005, 1, INT64_MIN, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(alarms::CarryDate(c.year, c.month, c.day), c.expected);
    }
}

TEST(AlarmDue, Weekdays) {
    EXPECT_EQ(alarms::WeekdayOf({1970, 1, 1}), 4);   // Thursday
    EXPECT_EQ(alarms::WeekdayOf({2026, 12, 6}), 0);  // Sunday
    EXPECT_EQ(alarms::WeekdayOf({2026, 12, 7}), 1);  // Monday
    EXPECT_EQ(alarms::WeekdayOf({1969, 12, 31}), 3); // Wednesday
    EXPECT_EQ(alarms::WeekdayOf({2005, 3, 2}), 3);
    EXPECT_EQ(alarms::WeekdayOf({INT64_MAX, 1, 1}), -1);  // no serial, no weekday
}

TEST(AlarmDue, SerialsOutOfRangeSayNoDate) {
    EXPECT_EQ(alarms::DateOfSerial(INT64_MAX), std::nullopt);
    EXPECT_EQ(alarms::DateOfSerial(INT64_MIN), std::nullopt);
    EXPECT_EQ(alarms::MinuteSerial({{INT64_MIN, 1, 1}, 0, 0, 0}), alarms::kNoMinute);
    AlarmItem daily;
    daily.timeMode = alarms::kTimeDaily;
    EXPECT_FALSE(alarms::MatchesMinute(daily, {{INT64_MAX, 1, 1}, 0, 0, 0}));
}

AlarmItem Item(std::uint8_t rule, std::uint8_t hour, std::uint8_t minute) {
    AlarmItem item;
    item.itemState = 1;
    item.timeMode = rule;
    item.hour = hour;
    item.minute = minute;
    return item;
}

alarms::LocalMoment At(std::int64_t y, int mo, int d, int h, int mi, int s = 0) {
    return {{y, mo, d}, h, mi, s};
}

TEST(AlarmDue, DateRulesAgainstTheCalendar) {
    AlarmItem daily = Item(alarms::kTimeDaily, 7, 30);
    AlarmItem disabled = daily;
    disabled.itemState = 0;
    AlarmItem stateTwo = daily;
    stateTwo.itemState = 2;
    AlarmItem monday = Item(alarms::kTimeWeekly, 7, 30);
    monday.week = 1;
    AlarmItem sunday = monday;
    sunday.week = 0;
    AlarmItem weekday9 = monday;
    weekday9.week = 9;
    AlarmItem monthly31 = Item(alarms::kTimeMonthly, 7, 30);
    monthly31.wDay = 31;
    AlarmItem feb29 = Item(alarms::kTimeYearly, 7, 30);
    feb29.month = 2;
    feb29.wDay = 29;
    AlarmItem once30Feb = Item(alarms::kTimeOnce, 7, 30);
    once30Feb.SetYear(2005);
    once30Feb.month = 2;
    once30Feb.wDay = 30;
    AlarmItem onceMonth0 = once30Feb;
    onceMonth0.month = 0;
    onceMonth0.wDay = 15;
    AlarmItem rule0 = Item(0, 7, 30), rule7 = Item(7, 7, 30);
    AlarmItem hour200 = Item(alarms::kTimeDaily, 200, 30), minute99 = Item(alarms::kTimeDaily, 7, 99);
    AlarmItem yearlyJune15 = Item(alarms::kTimeYearly, 7, 30);
    yearlyJune15.month = 6;
    yearlyJune15.wDay = 15;
    AlarmItem monthly15StoredJune = yearlyJune15;
    monthly15StoredJune.timeMode = alarms::kTimeMonthly;
    AlarmItem yearBytesMax = once30Feb;
    yearBytesMax.year = 255;
    yearBytesMax.year1 = 255;

    struct Case {
        const char* what;
        const AlarmItem& item;
        alarms::LocalMoment now;
        bool due;
    } cases[] = {
        {"daily at second 0", daily, At(2026, 12, 7, 7, 30, 0), true},
        {"daily late in the minute", daily, At(2026, 12, 7, 7, 30, 59), true},
        {"daily a minute early", daily, At(2026, 12, 7, 7, 29, 59), false},
        {"daily a minute late", daily, At(2026, 12, 7, 7, 31, 0), false},
        {"daily another hour", daily, At(2026, 12, 7, 8, 30, 0), false},
        {"disabled never", disabled, At(2026, 12, 7, 7, 30, 0), false},
        {"any state above 0 is enabled", stateTwo, At(2026, 12, 7, 7, 30, 0), true},
        {"weekly 1 on a Monday", monday, At(2026, 12, 7, 7, 30), true},
        {"weekly 1 on a Sunday", monday, At(2026, 12, 6, 7, 30), false},
        {"weekly 1 on a Tuesday", monday, At(2026, 12, 8, 7, 30), false},
        {"weekly 0 on a Sunday", sunday, At(2026, 12, 6, 7, 30), true},
        {"weekly 0 on a Saturday", sunday, At(2026, 12, 5, 7, 30), false},
        {"weekday 9 never", weekday9, At(2026, 12, 7, 7, 30), false},
        {"monthly 31 in January", monthly31, At(2026, 1, 31, 7, 30), true},
        {"monthly 31 has no day in April", monthly31, At(2026, 4, 30, 7, 30), false},
        {"monthly 31 not carried to 1 May", monthly31, At(2026, 5, 1, 7, 30), false},
        {"yearly 15 June on its day", yearlyJune15, At(2026, 6, 15, 7, 30), true},
        {"yearly 15 June not on 15 July", yearlyJune15, At(2026, 7, 15, 7, 30), false},
        {"monthly 15 (stored month June) on 15 December", monthly15StoredJune, At(2026, 12, 15, 7, 30), true},
        {"yearly 29 Feb in 2028", feb29, At(2028, 2, 29, 7, 30), true},
        {"yearly 29 Feb not on 1 March 2027", feb29, At(2027, 3, 1, 7, 30), false},
        {"yearly 29 Feb not on 28 Feb 2027", feb29, At(2027, 2, 28, 7, 30), false},
        {"once 30 Feb 2005 on 2 March 2005", once30Feb, At(2005, 3, 2, 7, 30), true},
        {"once 30 Feb 2005 not on 1 March", once30Feb, At(2005, 3, 1, 7, 30), false},
        {"once 30 Feb 2005 not a year later", once30Feb, At(2006, 3, 2, 7, 30), false},
        {"once month 0 is December before", onceMonth0, At(2004, 12, 15, 7, 30), true},
        {"once year bytes 255/255 never in our era", yearBytesMax, At(2026, 3, 2, 7, 30), false},
        {"date rule 0 never", rule0, At(2026, 12, 7, 7, 30), false},
        {"date rule 7 never", rule7, At(2026, 12, 7, 7, 30), false},
        {"hour 200 never", hour200, At(2026, 12, 7, 7, 30), false},
        {"minute 99 never", minute99, At(2026, 12, 7, 7, 30), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(alarms::IsDueInMinute(c.item, c.now), c.due);
    }
}

TEST(AlarmDue, EveryRecordByteValueIsSafe) {
    // No byte value may crash or hang the due test; only plausible ones can be due.
    const alarms::LocalMoment now = At(2026, 12, 7, 7, 30);
    int due = 0;
    for (int rule = 0; rule < 256; ++rule)
        for (int value = 0; value < 256; ++value) {
            AlarmItem item = Item(static_cast<std::uint8_t>(rule), 7, 30);
            item.week = item.month = item.wDay = item.year = item.year1 = static_cast<std::uint8_t>(value);
            due += alarms::IsDueInMinute(item, now);
        }
    EXPECT_GT(due, 0);
}

}  // namespace
