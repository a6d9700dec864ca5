// The rows of the "Missed alarms" window, the ledger's stored forms, and when an item is due next
// with the tray's text for it; the engine itself is tested by its simulation.
#include "alarms/AlarmEngine.h"
#include "alarms/CatchUp.h"
#include "tests/common/alarm_items.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using alarms::AlarmItem;
using alarms_test::DailyReminder;

std::int64_t At(int y, int mo, int d, int h, int mi) { return alarms::MinuteSerial({{y, mo, d}, h, mi, 0}); }

TEST(AlarmMissedRows, CountsAndTheLimit) {
    const auto rows = alarms::MissedRows(
        {{DailyReminder(0, 0, "item0"), At(2026, 12, 7, 0, 0), 7}, {DailyReminder(1, 1, "item1"), At(2026, 12, 7, 1, 1), 1}}, 1);
    EXPECT_EQ(rows, (std::vector<std::string>{"Mon 12/7/2026 00:00   0:0 (Daily)|Text Hintitem0   (missed 7 times)",
                                              "... and 1 more"}));
}

TEST(AlarmLedger, StoredFormsKeepWholeTextsAndSkipDamage) {
    const std::string long1023(1023, 'r');
    const struct { const char* what; std::string stored; bool valid; std::int64_t due; std::string text; } rows[] = {
        {"plain", "1796000000 tea at 5", true, 1796000000, "tea at 5"},
        {"empty text", "1796000000 ", true, 1796000000, ""},
        {"1,023 characters, whole", "1796000000 " + long1023, true, 1796000000, long1023},
        {"before 1970", "-60 x", true, -60, "x"},
        {"no instant", "tea", false, 0, ""},
        {"blank first", " 5 tea", false, 0, ""},
        {"not a number", "12x4 tea", false, 0, ""},
        {"too many digits", "1234567890123456789 tea", false, 0, ""},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        const auto parsed = alarms::ParseSnoozed(r.stored);
        ASSERT_EQ(parsed.has_value(), r.valid);
        if (!parsed) continue;
        EXPECT_EQ(parsed->dueUtcSec, r.due);
        EXPECT_EQ(parsed->text, r.text);
        EXPECT_EQ(alarms::FormatSnoozed(*parsed), r.stored);
    }
    const alarms::HandledMinutes handled = {{"00ff.0", {28000000, 29000000}}, {"00ff.1", {-5}}};
    EXPECT_EQ(alarms::ParseHandled(alarms::FormatHandled(handled)), handled);
    EXPECT_EQ(alarms::ParseHandled("damaged\nab 12x\n ab 5\nok 7 8\n"), (alarms::HandledMinutes{{"ok", {7, 8}}}));
}

TEST(AlarmNext, NextOccurrenceAndTipText) {
    using namespace alarms;
    // Items at 07:30: the rule, its weekday, month, day and year (0: as stored by default).
    using std::int64_t;
    const struct { const char* what; int rule, week, month, day, year; int64_t after; std::optional<int64_t> next; } rows[] = {
        {"daily, later today", kTimeDaily, 0, 1, 1, 0, At(2026, 12, 7, 7, 0), At(2026, 12, 7, 7, 30)},
        {"daily, in its own minute: tomorrow", kTimeDaily, 0, 1, 1, 0, At(2026, 12, 7, 7, 30), At(2026, 12, 8, 7, 30)},
        {"weekly Tuesday from Monday", kTimeWeekly, 2, 1, 1, 0, At(2026, 12, 7, 9, 0), At(2026, 12, 8, 7, 30)},
        {"monthly 31 from 1 November", kTimeMonthly, 0, 1, 31, 0, At(2026, 11, 1, 0, 0), At(2026, 12, 31, 7, 30)},
        {"yearly 29 February", kTimeYearly, 0, 2, 29, 0, At(2026, 12, 7, 0, 0), At(2028, 2, 29, 7, 30)},
        {"once, in the past", kTimeOnce, 0, 1, 1, 2025, At(2026, 12, 7, 0, 0), std::nullopt},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        AlarmItem item = DailyReminder(7, 30);
        item.timeMode = static_cast<std::uint8_t>(r.rule);
        item.week = static_cast<std::uint8_t>(r.week);
        item.month = static_cast<std::uint8_t>(r.month);
        item.wDay = static_cast<std::uint8_t>(r.day);
        if (r.year) item.SetYear(r.year);
        EXPECT_EQ(NextOccurrence(item, r.after), r.next);
    }
    EXPECT_EQ(ShortDueText(At(2026, 12, 8, 7, 30)), "Tue 07:30");
    // The tray's line: the weekday alone within six days, with the date beyond.
    const struct { std::int64_t now, due; const char* line; } tips[] = {
        {At(2026, 12, 3, 23, 59), At(2026, 12, 3, 23, 59), "Next alarm: Thu 23:59"},
        {At(2026, 12, 3, 23, 59), At(2026, 12, 9, 7, 30), "Next alarm: Wed 07:30"},
        {At(2026, 12, 3, 0, 0), At(2026, 12, 10, 0, 0), "Next alarm: Thu 10 Dec 00:00"},
        {At(2026, 11, 30, 8, 0), At(2026, 12, 24, 7, 30), "Next alarm: Thu 24 Dec 07:30"},
        {At(2026, 12, 30, 8, 0), At(2027, 1, 1, 7, 5), "Next alarm: Fri 07:05"},
    };
    for (const auto& t : tips) EXPECT_EQ(NextAlarmLine(t.now, t.due), t.line);
}

}  // namespace
