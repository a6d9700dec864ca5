// The break item that the break settings window appends.
#include "breaksettings/BreakItem.h"

#include <gtest/gtest.h>

using namespace breaksettings;

namespace {

BreakForm Form() {
    BreakForm f;
    f.weekText = "Week ";
    f.todayWeekday = 2;
    f.hourText = "14";
    f.minuteText = "5";
    f.secondText = "30";
    f.lengthText = "60";
    f.monthText = "12";
    f.dayText = "8";
    f.yearText = "2026";
    f.programDirectory = "C:\\Zentaro";
    return f;
}

TEST(BreakItem, RecordOfDailyAndWeeklyBreaks) {
    struct Case {
        const char* what;
        bool weekly;
        const char* week;
        std::uint8_t timeMode, weekday;
    } cases[] = {
        {"weekly on Wednesday", true, "Wednesday", 3, 3},
        {"weekly without a weekday name: today's", true, "Week ", 3, 2},
        {"daily keeps the weekday box's value", false, "Saturday", 2, 6},
        {"daily with the placeholder", false, "Week ", 2, 2},
        {"weekly on Sunday", true, "Sunday", 3, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        BreakForm f = Form();
        f.weekly = c.weekly;
        f.weekText = c.week;
        const alarms::AlarmItem item = MakeBreakItem(f);
        const alarms::RecordBytes expected{1, 2, c.timeMode, c.weekday, 14, 5, 20, 26, 12, 8, 0};
        EXPECT_EQ(alarms::EncodeRecord(item), expected);
        EXPECT_EQ(item.runExe, "C:\\Zentaro/Break.exe");
        EXPECT_EQ(item.notifyText, "");
        EXPECT_EQ(item.wavFile, "");
        EXPECT_EQ(item.parameters, "");
    }
}

TEST(BreakItem, FormChecksRefuseWhatCannotBeStored) {
    using F = alarms::EntryField;
    struct Case { const char* what; const char *hour, *minute, *second, *length; F field; const char* message; } cases[] = {
        {"valid", "23", "59", "59", "32767", F::None, ""},
        {"blanks ignored", " 7", "5 ", " 0 ", " 60 ", F::None, ""},
        {"minute 75", "14", "75", "0", "60", F::Minute, "Minute: 0 to 59"},
        {"hour 24", "24", "0", "0", "60", F::Hour, "Hour: 0 to 23"},
        {"second 60", "14", "0", "60", "60", F::Second, "Second: 0 to 59"},
        {"length 99999", "14", "0", "0", "99999", F::Length, "Break length: 1 to 32767 seconds"},
        {"length 32768", "14", "0", "0", "32768", F::Length, "Break length: 1 to 32767 seconds"},
        {"length 0", "14", "0", "0", "0", F::Length, "Break length: 1 to 32767 seconds"},
        {"length empty", "14", "0", "0", "", F::Length, "Break length: 1 to 32767 seconds"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        BreakForm f = Form();
        f.hourText = c.hour;
        f.minuteText = c.minute;
        f.secondText = c.second;
        f.lengthText = c.length;
        const alarms::FieldCheck check = CheckBreakForm(f);
        EXPECT_EQ(check.field, c.field);
        EXPECT_EQ(check.message, c.message);
        if (check.Valid()) {
            EXPECT_EQ(BreakLength(f), std::stoi(c.length));
        }
    }
}

TEST(BreakItem, HoursAndMinutesBeyondTheDayAreTheLastOnes) {
    struct Case { const char* what; const char* hour; const char* minute; std::uint8_t h, m; } cases[] = {
        {"last of the day", "23", "59", 23, 59},
        {"hour 24", "24", "0", 23, 0},
        {"minute 60", "0", "60", 0, 59},
        {"not a number", "x", "", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        BreakForm f = Form();
        f.hourText = c.hour;
        f.minuteText = c.minute;
        const alarms::AlarmItem item = MakeBreakItem(f);
        EXPECT_EQ(item.hour, c.h);
        EXPECT_EQ(item.minute, c.m);
    }
    BreakForm f = Form();
    f.yearText = "2005";
    EXPECT_EQ(MakeBreakItem(f).YearText(), "2005");
}

}  // namespace
