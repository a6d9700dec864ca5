// The rows of the "Missed alarms" window, the stored forms of the ledger, and when an item is
// due next with the tray's text for it. The engine itself is tested by its simulation
// (alarms_engine_sim_test.cpp).
#include "alarms/AlarmEngine.h"
#include "alarms/CatchUp.h"
#include "tests/common/alarm_items.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using alarms::AlarmItem;
using alarms::LocalMoment;

AlarmItem Daily(int hour, int minute, const std::string& text, std::uint8_t mode = alarms::kNotifyText) {
    AlarmItem item = alarms_test::DailyReminder(static_cast<std::uint8_t>(hour), static_cast<std::uint8_t>(minute), text);
    item.notifyMode = mode;
    return item;
}


std::int64_t Minute(int h, int mi, int day = 7) { return alarms::MinuteSerial({{2026, 12, day}, h, mi, 0}); }

using Texts = std::vector<std::string>;

TEST(AlarmMissedRows, CountsAndTheLimit) {
    const AlarmItem r0 = Daily(0, 0, "item0"), r1 = Daily(1, 1, "item1");
    const auto rows = alarms::MissedRows({{r0, Minute(0, 0), 7}, {r1, Minute(1, 1), 1}}, 1);
    EXPECT_EQ(rows, (Texts{"Mon 12/7/2026 00:00   0:0 (Daily)|Text Hintitem0   (missed 7 times)", "... and 1 more"}));
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
    AlarmItem weekly = Daily(7, 30, "w");
    weekly.timeMode = alarms::kTimeWeekly;
    weekly.week = 2;  // Tuesday
    AlarmItem monthly31 = Daily(7, 30, "m");
    monthly31.timeMode = alarms::kTimeMonthly;
    monthly31.wDay = 31;
    AlarmItem feb29 = Daily(7, 30, "y");
    feb29.timeMode = alarms::kTimeYearly;
    feb29.month = 2;
    feb29.wDay = 29;
    AlarmItem pastOnce = Daily(7, 30, "o");
    pastOnce.timeMode = alarms::kTimeOnce;
    pastOnce.SetYear(2025);
    const auto at = [](int y, int mo, int d, int h, int mi) { return alarms::MinuteSerial({{y, mo, d}, h, mi, 0}); };
    const struct { const char* what; AlarmItem item; std::int64_t after; std::optional<std::int64_t> next; } rows[] = {
        {"daily, later today", Daily(7, 30, "d"), at(2026, 12, 7, 7, 0), at(2026, 12, 7, 7, 30)},
        {"daily, in its own minute: tomorrow", Daily(7, 30, "d"), at(2026, 12, 7, 7, 30), at(2026, 12, 8, 7, 30)},
        {"weekly Tuesday from Monday", weekly, at(2026, 12, 7, 9, 0), at(2026, 12, 8, 7, 30)},
        {"monthly 31 from 1 November", monthly31, at(2026, 11, 1, 0, 0), at(2026, 12, 31, 7, 30)},
        {"yearly 29 February", feb29, at(2026, 12, 7, 0, 0), at(2028, 2, 29, 7, 30)},
        {"once, in the past", pastOnce, at(2026, 12, 7, 0, 0), std::nullopt},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(alarms::NextOccurrence(r.item, r.after), r.next);
    }
    EXPECT_EQ(alarms::ShortDueText(at(2026, 12, 8, 7, 30)), "Tue 07:30");
    // The tray's line: the weekday alone within six days, with the date beyond.
    const struct { std::int64_t now, due; const char* line; } tips[] = {
        {at(2026, 12, 3, 23, 59), at(2026, 12, 3, 23, 59), "Next alarm: Thu 23:59"},
        {at(2026, 12, 3, 23, 59), at(2026, 12, 9, 7, 30), "Next alarm: Wed 07:30"},
        {at(2026, 12, 3, 0, 0), at(2026, 12, 10, 0, 0), "Next alarm: Thu 10 Dec 00:00"},
        {at(2026, 11, 30, 8, 0), at(2026, 12, 24, 7, 30), "Next alarm: Thu 24 Dec 07:30"},
        {at(2026, 12, 30, 8, 0), at(2027, 1, 1, 7, 5), "Next alarm: Fri 07:05"},
    };
    for (const auto& t : tips) EXPECT_EQ(alarms::NextAlarmLine(t.now, t.due), t.line);
}

}  // namespace
