// Catching up after gaps and clock changes, item identities across reloads, start-up misses
// and snoozed reminders, on a simulated clock (wall time plus a monotonic clock).
#include "alarms/CatchUp.h"
#include "alarms/DueTracker.h"
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

alarms::AlarmItems Copy(const std::vector<AlarmItem>& items) {
    alarms::AlarmItems copy;
    for (const AlarmItem& item : items) copy.Append(item);
    return copy;
}

// A tick: wall time and how far the wall clock was moved against the monotonic one (seconds).
struct Tick {
    LocalMoment at;
    std::int64_t wallAheadSec = 0;
};

Tick T(int h, int mi, int s, int day = 7, std::int64_t wallAheadSec = 0, int month = 12, int year = 2026) {
    return {{{year, month, day}, h, mi, s}, wallAheadSec};
}

std::int64_t Minute(int h, int mi, int day = 7) { return alarms::MinuteSerial({{2026, 12, day}, h, mi, 0}); }

// Runs the ticks over the items; returns what fired and what was listed as missed ("text x count").
struct Outcome {
    std::vector<std::string> fired, missed;
};
Outcome RunTicks(alarms::DueTracker& tracker, const std::vector<Tick>& ticks) {
    Outcome run;
    tracker.SetHandler([&](const AlarmItem& item, int) { run.fired.push_back(item.notifyText); });
    tracker.SetMissedHandler([&](const std::vector<alarms::MissedItem>& missed) {
        for (const auto& m : missed) run.missed.push_back(m.item.notifyText + " x" + std::to_string(m.count));
    });
    for (const Tick& t : ticks) {
        const std::int64_t wallSec = alarms::MinuteSerial(t.at) * 60 + t.at.second;
        tracker.Check(t.at, (wallSec - t.wallAheadSec) * 1000);
    }
    return run;
}

using Texts = std::vector<std::string>;

TEST(AlarmCatchUp, GapsAndClockChanges) {
    const AlarmItem r730 = Daily(7, 30, "r730"), s730 = Daily(7, 30, "s730", alarms::kNotifyShutdown);
    const AlarmItem p735 = Daily(7, 35, "p735", alarms::kNotifyProgram), r230 = Daily(2, 30, "r230");
    const AlarmItem r130 = Daily(1, 30, "r130");
    constexpr std::int64_t kHour = 3600, kYear = 365LL * 24 * 3600;
    struct Case {
        const char* what;
        std::vector<AlarmItem> items;
        std::vector<Tick> ticks;
        Texts fired, missed;
    } cases[] = {
        {"asleep across the minute, resumed 5 minutes later", {r730, s730}, {T(7, 29, 0), T(7, 35, 0)},
         {"r730"}, {"s730 x1"}},
        {"late items fire in due order", {p735, r730}, {T(7, 29, 0), T(7, 38, 0)}, {"r730", "p735"}, {}},
        {"exactly 10 minutes late", {r730}, {T(7, 29, 0), T(7, 40, 0)}, {"r730"}, {}},
        {"11 minutes late", {r730, s730}, {T(7, 29, 0), T(7, 41, 0)}, {}, {"r730 x1", "s730 x1"}},
        {"a tick 61 seconds late", {r730, s730}, {T(7, 29, 59), T(7, 31, 0)}, {"r730"}, {"s730 x1"}},
        {"shutdown on time still runs", {s730}, {T(7, 29, 59), T(7, 30, 1)}, {"s730"}, {}},
        {"clock back an hour after firing, then through the minute again", {r730},
         {T(7, 30, 0), T(6, 31, 0, 7, -kHour), T(7, 29, 59, 7, -kHour), T(7, 30, 0, 7, -kHour)}, {"r730"}, {}},
        {"clock back a day", {r730}, {T(7, 30, 0), T(7, 29, 0, 6, -24 * kHour), T(7, 30, 0, 6, -24 * kHour)},
         {"r730", "r730"}, {}},
        {"clock forward 40 minutes by hand: fires late at once", {r730, s730}, {T(7, 0, 0), T(7, 40, 1, 7, 40 * 60)},
         {"r730"}, {"s730 x1"}},
        {"clock forward a year: listed, not run", {r730}, {T(7, 25, 0), T(7, 25, 1, 7, kYear, 12, 2027)}, {},
         {"r730 x8"}},
        {"summer time: 02:00 becomes 03:00", {r230}, {T(1, 59, 59), T(3, 0, 0, 7, kHour)}, {"r230"}, {}},
        {"winter time: 02:00 becomes 01:00", {r130},
         {T(1, 30, 0), T(1, 59, 59), T(1, 0, 0, 7, -kHour), T(1, 30, 0, 7, -kHour), T(2, 0, 0, 7, -kHour)},
         {"r130"}, {}},
        {"a week asleep: each item once, with its count", {r730, s730}, {T(7, 0, 0), T(7, 5, 0, 14)}, {},
         {"r730 x7", "s730 x7"}},
        {"a week asleep, woken 3 minutes after the item", {r730}, {T(7, 0, 0), T(7, 33, 0, 14)}, {"r730"}, {}},
        {"clock forward a year and back again: fires once in its minute", {r730},
         {T(7, 29, 59), T(7, 29, 0, 7, kYear, 12, 2027), T(7, 30, 0), T(7, 30, 30)}, {"r730"}, {"r730 x8"}},
        {"disabled items are neither run nor listed", {[&] { AlarmItem off = r730; off.itemState = 0; return off; }()},
         {T(7, 0, 0), T(8, 0, 0)}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        alarms::DueTracker tracker;
        tracker.Replace(Copy(c.items), static_cast<int>(c.items.size()));
        const Outcome run = RunTicks(tracker, c.ticks);
        EXPECT_EQ(run.fired, c.fired);
        EXPECT_EQ(run.missed, c.missed);
    }
}

TEST(AlarmCatchUp, ResumeAfterAWeekWithHundredsOfItemsGivesOneReport) {
    std::vector<AlarmItem> items;
    for (int i = 0; i < 300; ++i) items.push_back(Daily(i % 11, i % 60, "item" + std::to_string(i)));
    alarms::DueTracker tracker;
    tracker.Replace(Copy(items), 300);
    int reports = 0;
    std::size_t listed = 0;
    tracker.SetMissedHandler([&](const std::vector<alarms::MissedItem>& missed) {
        ++reports;
        listed += missed.size();
        for (std::size_t i = 1; i < missed.size(); ++i) EXPECT_LE(missed[i - 1].latest, missed[i].latest);
    });
    tracker.Check({{2026, 12, 7}, 12, 0, 0}, 0);
    tracker.Check({{2026, 12, 14}, 12, 0, 0}, 7LL * 24 * 3600 * 1000);
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(listed, 300u);
    const auto rows = alarms::MissedRows({{items[0], Minute(0, 0), 7}, {items[1], Minute(1, 1), 1}}, 1);
    EXPECT_EQ(rows, (Texts{"Mon 12/7/2026 00:00   0:0 (Daily)|Text Hintitem0   (missed 7 times)", "... and 1 more"}));
}

TEST(AlarmIdentity, EditsDuringTheFiredMinute) {
    const AlarmItem a = Daily(7, 30, "a"), b = Daily(7, 0, "b"), x = Daily(7, 30, "x");
    AlarmItem bAsA = a;  // b modified to a's record, keeping its text
    bAsA.notifyText = "b";
    AlarmItem aEdited = a;
    aEdited.notifyText = "a, edited";
    AlarmItem offA = a;
    offA.itemState = 0;
    struct Case {
        const char* what;
        std::vector<AlarmItem> before, after;
        Texts firedAfterReload;
    } cases[] = {
        {"the item before a modified to a's record", {b, a}, {bAsA, a}, {"b"}},
        {"the item before a modified to a's record and text", {b, a}, {a, a}, {"a"}},
        {"the same store reloaded", {b, a}, {b, a}, {}},
        {"the item before a deleted (a keeps its place)", {b, a}, {a}, {}},
        {"a fired item deleted, the last moved into its place", {x, a, b}, {b, a}, {}},
        {"a edited in place", {b, a}, {b, aEdited}, {}},
        {"an item appended for this minute", {b, a}, {b, a, x}, {"x"}},
        {"a disabled item enabled during the minute", {offA, x}, {a, x}, {"a"}},
        {"two identical items, one deleted", {a, a}, {a}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        alarms::DueTracker tracker;
        tracker.Replace(Copy(c.before), static_cast<int>(c.before.size()));
        RunTicks(tracker, {T(7, 30, 0)});
        tracker.Replace(Copy(c.after), static_cast<int>(c.after.size()));
        EXPECT_EQ(RunTicks(tracker, {T(7, 30, 20), T(7, 30, 40)}).fired, c.firedAfterReload);
    }
}

TEST(AlarmStartUp, ItemsDueWhileTheProgramWasNotRunning) {
    const AlarmItem r700 = Daily(7, 0, "r700"), s800 = Daily(8, 0, "s800", alarms::kNotifyShutdown);
    AlarmItem off = r700;
    off.itemState = 0;
    AlarmItem once = Daily(7, 10, "once");
    once.timeMode = alarms::kTimeOnce;
    once.SetYear(2026);
    once.month = 12;
    once.wDay = 7;
    const std::vector<AlarmItem> items = {r700, s800, off, once, Daily(7, 20, "now")};
    struct Case {
        const char* what;
        std::optional<std::int64_t> lastTick;
        Texts listed;
    } cases[] = {
        {"first start ever", std::nullopt, {}},
        {"off from 6:50 to 7:20", Minute(6, 50), {"r700 x1", "once x1"}},
        {"last tick three days ago: the last day only", Minute(6, 50, 4), {"s800 x1", "r700 x1", "once x1"}},
        {"last tick in this minute", Minute(7, 20), {}},
        {"last tick in the future (clock set back)", Minute(9, 0), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Texts listed;
        for (const auto& m : alarms::MissedWhileAway(Copy(items), 5, c.lastTick, Minute(7, 20)))
            listed.push_back(m.item.notifyText + " x" + std::to_string(m.count));
        EXPECT_EQ(listed, c.listed);
    }
}

TEST(AlarmSnooze, FiresOnceAtItsMinuteAndIsStoredAsText) {
    alarms::DueTracker tracker;
    tracker.Snooze({Minute(7, 40), "tea"});
    EXPECT_EQ(tracker.NextDue(Minute(7, 30)), Minute(7, 40));
    const Outcome run = RunTicks(tracker, {T(7, 39, 59), T(7, 40, 0), T(7, 40, 1), T(7, 41, 0)});
    EXPECT_EQ(run.fired, Texts{"tea"});
    EXPECT_TRUE(tracker.Snoozed().empty());

    const struct { const char* stored; bool valid; std::int64_t due; const char* text; } rows[] = {
        {"29000000 tea at 5", true, 29000000, "tea at 5"},
        {"29000000 ", true, 29000000, ""},
        {"tea", false, 0, ""},
        {" 5 tea", false, 0, ""},
        {"12x4 tea", false, 0, ""},
        {"1234567890123 tea", false, 0, ""},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.stored);
        const auto parsed = alarms::ParseSnoozed(r.stored);
        ASSERT_EQ(parsed.has_value(), r.valid);
        if (!parsed) continue;
        EXPECT_EQ(parsed->due, r.due);
        EXPECT_EQ(parsed->text, r.text);
        EXPECT_EQ(alarms::FormatSnoozed(*parsed), r.stored);
    }
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
}

}  // namespace
