// The alarm list's row texts and the item editor's rules, apart from their windows.
#include "alarms/EditorRules.h"
#include "alarms/ListRow.h"

#include <gtest/gtest.h>

namespace {

using alarms::AlarmItem;

TEST(AlarmListRows, RowTexts) {
    AlarmItem standUp;
    standUp.notifyMode = alarms::kNotifyText;
    standUp.timeMode = alarms::kTimeDaily;
    standUp.hour = 7;
    standUp.minute = 5;
    standUp.notifyText = "Stand up";
    AlarmItem ring;
    ring.notifyMode = alarms::kNotifySound;
    ring.timeMode = alarms::kTimeOnce;
    ring.hour = 18;
    ring.minute = 30;
    ring.SetYear(2005);
    ring.month = 6;
    ring.wDay = 15;
    ring.wavFile = "C:\\Sounds\\ring.wav";
    AlarmItem saturday;
    saturday.notifyMode = alarms::kNotifyShutdown;
    saturday.timeMode = alarms::kTimeWeekly;
    saturday.week = 6;
    saturday.hour = 23;
    saturday.minute = 59;
    saturday.notifyText = "not shown for a shutdown";
    AlarmItem program;
    program.notifyMode = alarms::kNotifyProgram;
    program.timeMode = alarms::kTimeYearly;
    program.month = 12;
    program.wDay = 24;
    program.runExe = "C:\\Tools\\run.exe";
    program.parameters = "-x";
    AlarmItem damaged;  // a placeholder for a record that could not be read
    damaged.timeMode = 0;
    damaged.notifyMode = 9;

    const struct {
        const char* what;
        const AlarmItem& item;
        const char* text;
    } cases[] = {
        {"daily reminder", standUp, "7:5 (Daily)|Text HintStand up"},
        {"once-only sound", ring, "18:30 (6/15/2005)|Play a soundC:\\Sounds\\ring.wav"},
        {"weekly shutdown", saturday, "23:59 (WeeklySaturday)|Shut down"},
        {"yearly program", program, "0:0 (Yearly12month24day)|Run the special programC:\\Tools\\run.exe"},
        {"unknown codes", damaged, "0:0 ()|"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(alarms::ListRowText(c.item), c.text);
    }
}

TEST(AlarmListRows, ChecksFollowTheItemsAfterADelete) {
    const struct {
        const char* what;
        std::vector<bool> before;
        int deleted;
        std::vector<bool> after;
    } cases[] = {
        {"row 1 of four: the last moves up", {true, false, true, false}, 2, {true, false, true}},
        {"first row", {false, true, true}, 1, {true, true}},
        {"last row", {true, true, false}, 3, {true, true}},
        {"only row", {true}, 1, {}},
        {"no such item", {true, false}, 3, {true, false}},
        {"item 0", {true, false}, 0, {true, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<bool> checks = c.before;
        alarms::ApplyDeleteToRows(checks, c.deleted);
        EXPECT_EQ(checks, c.after);
    }
}

TEST(AlarmEditorRules, ActionAndDateRuleTables) {
    const struct { int action; bool text, sound, program, parameter; } actions[] = {
        {0, false, true, false, false}, {1, true, false, false, false}, {2, false, false, true, true},
        {3, false, false, false, false}, {4, false, false, false, false}, {-1, false, false, false, false},
    };
    for (const auto& a : actions) {
        SCOPED_TRACE(a.action);
        const alarms::ActionFields f = alarms::FieldsOfAction(a.action);
        EXPECT_EQ(f.text, a.text);
        EXPECT_EQ(f.sound, a.sound);
        EXPECT_EQ(f.program, a.program);
        EXPECT_EQ(f.parameter, a.parameter);
    }
    const struct { int option; bool month, day, year, week; } rules[] = {
        {0, true, true, true, false}, {1, false, false, false, false}, {2, false, false, false, true},
        {3, false, true, false, false}, {4, true, true, true, false},
    };
    for (const auto& r : rules) {
        SCOPED_TRACE(r.option);
        const alarms::DateFields f = alarms::FieldsOfDateRule(r.option);
        EXPECT_EQ(f.month, r.month);
        EXPECT_EQ(f.day, r.day);
        EXPECT_EQ(f.year, r.year);
        EXPECT_EQ(f.week, r.week);
    }
}

TEST(AlarmEditorRules, CompletenessAndNumberFields) {
    alarms::EditorEntry empty;
    EXPECT_FALSE(alarms::IsComplete(empty));
    for (int action : {alarms::kNotifyRestart, alarms::kNotifyShutdown}) {
        alarms::EditorEntry e;
        e.action = action;
        EXPECT_TRUE(alarms::IsComplete(e));
    }
    alarms::EditorEntry parameterOnly;
    parameterOnly.parameter = "-x";
    EXPECT_TRUE(alarms::IsComplete(parameterOnly));

    const struct { const char* text; int byte; } numbers[] = {
        {"8", 8}, {"255", 255}, {"99", 99}, {"256", 0}, {"-1", 0}, {"abc", 0}, {"", 0}, {" 7 ", 7}, {"1.5", 0},
        {"0005", 5}, {"1a", 0},
    };
    for (const auto& n : numbers) {
        SCOPED_TRACE(n.text);
        EXPECT_EQ(alarms::FieldByte(n.text), n.byte);
    }
}

TEST(AlarmEditorRules, BuildingTheItem) {
    alarms::EditorEntry entry;
    entry.action = alarms::kNotifyText;
    entry.dateOption = 2;  // weekly
    entry.text = std::string(300, 'r');
    entry.week = "Monday";
    entry.hour = "8";
    entry.minute = "15";
    entry.year = "2010";
    entry.month = "6";
    entry.day = "15";
    AlarmItem item = alarms::BuildItem(entry, 0);
    EXPECT_EQ(alarms::EncodeRecord(item), (alarms::RecordBytes{1, 1, 3, 1, 8, 15, 20, 10, 6, 15, 0}));
    EXPECT_EQ(item.notifyText.size(), 300u);
    EXPECT_EQ(item.YearText(), "2010");

    const struct { const char* what; const char* week; const char* year; int b3, b7; } cases[] = {
        {"no weekday name: today's", "Week ", "2026", 4, 26},
        {"weekday name", "Saturday", "2026", 6, 26},
        {"Sunday is weekday 0, not today's", "Sunday", "2026", 0, 26},
        {"one-character year", "", "5", 4, 5},
        {"five-character year: last two", "", "20261", 4, 61},
        {"year not a number", "", "20ab", 4, 0},
        {"blanks around the year", "", " 2026 ", 4, 26},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        entry.week = c.week;
        entry.year = c.year;
        item = alarms::BuildItem(entry, 4);
        EXPECT_EQ(item.week, c.b3);
        EXPECT_EQ(item.year1, c.b7);
        EXPECT_EQ(item.year, 20);
    }
    entry.action = alarms::kNotifyRestart;
    entry.hour = "300";
    item = alarms::BuildItem(entry, 0);
    EXPECT_EQ(item.notifyMode, 3);
    EXPECT_EQ(item.hour, 0);
}

TEST(AlarmEditorRules, EntryChecksRefuseTheFirstFieldThatCannotBeStored) {
    using F = alarms::EntryField;
    const struct {
        const char* what;
        int action, option;  // option: 0 once, 1 daily, 2 weekly, 3 monthly, 4 yearly
        const char *text, *month, *day, *year, *hour, *minute, *second;
        F field;
        const char* message;
    } cases[] = {
        {"valid once-only", 1, 0, "go", "12", "31", "2026", "23", "59", "59", F::None, ""},
        {"blanks ignored", 1, 0, "go", " 2 ", " 28", "2026 ", " 0", "0 ", " 0 ", F::None, ""},
        {"year 1999", 1, 0, "go", "6", "15", "1999", "8", "0", "0", F::Year, "Year: 2000 to 2099"},
        {"year 2100", 1, 0, "go", "6", "15", "2100", "8", "0", "0", F::Year, "Year: 2000 to 2099"},
        {"year 20261", 1, 4, "go", "6", "15", "20261", "8", "0", "0", F::Year, "Year: 2000 to 2099"},
        {"month 13", 1, 0, "go", "13", "15", "2026", "8", "0", "0", F::Month, "Month: 1 to 12"},
        {"30 February", 1, 0, "go", "2", "30", "2028", "8", "0", "0", F::Day, "Day: 1 to 29"},
        {"29 February of a common year", 1, 0, "go", "2", "29", "2026", "8", "0", "0", F::Day, "Day: 1 to 28"},
        {"31 April", 1, 0, "go", "4", "31", "2026", "8", "0", "0", F::Day, "Day: 1 to 30"},
        {"day 0", 1, 0, "go", "1", "0", "2026", "8", "0", "0", F::Day, "Day: 1 to 31"},
        {"yearly 29 February", 1, 4, "go", "2", "29", "2026", "8", "0", "0", F::None, ""},
        {"monthly day 32", 1, 3, "go", "x", "32", "x", "8", "0", "0", F::Day, "Day: 1 to 31"},
        {"daily ignores the date", 1, 1, "go", "x", "x", "1999", "8", "0", "0", F::None, ""},
        {"hour 24", 1, 1, "go", "", "", "", "24", "0", "0", F::Hour, "Hour: 0 to 23"},
        {"hour -1", 1, 1, "go", "", "", "", "-1", "0", "0", F::Hour, "Hour: 0 to 23"},
        {"hour empty", 1, 1, "go", "", "", "", "", "0", "0", F::Hour, "Hour: 0 to 23"},
        {"minute 60", 1, 1, "go", "", "", "", "8", "60", "0", F::Minute, "Minute: 0 to 59"},
        {"minute abc", 1, 1, "go", "", "", "", "8", "abc", "0", F::Minute, "Minute: 0 to 59"},
        {"second 60", 1, 1, "go", "", "", "", "8", "0", "60", F::Second, "Second: 0 to 59"},
        {"date before time", 1, 0, "go", "6", "15", "2100", "24", "0", "0", F::Year, "Year: 2000 to 2099"},
        {"hint without text", 1, 1, "  ", "", "", "", "8", "0", "0", F::Text, "Type the hint text"},
        {"sound without a file", 0, 1, "", "", "", "", "8", "0", "0", F::Sound,
         "Choose a sound file, or pick Text Hint"},
        {"program without a path", 2, 1, "", "", "", "", "8", "0", "0", F::Program, "Choose a program to run"},
        {"no action", -1, 1, "", "", "", "", "8", "0", "0", F::Action, "Choose an action"},
        {"shutdown needs no text", 4, 1, "", "", "", "", "8", "0", "0", F::None, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        alarms::EditorEntry e;
        e.action = c.action;
        e.dateOption = c.option;
        e.text = c.text;
        e.month = c.month;
        e.day = c.day;
        e.year = c.year;
        e.hour = c.hour;
        e.minute = c.minute;
        e.second = c.second;
        const alarms::FieldCheck check = alarms::CheckEntry(e);
        EXPECT_EQ(check.field, c.field);
        EXPECT_EQ(check.message, c.message);
    }
    alarms::EditorEntry noSeconds;  // a form without a seconds field
    noSeconds.text = "go";
    noSeconds.dateOption = 1;
    noSeconds.hour = noSeconds.minute = "0";
    EXPECT_TRUE(alarms::CheckEntry(noSeconds).Valid());
}

}  // namespace
