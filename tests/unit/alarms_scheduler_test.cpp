// The scheduler's bookkeeping on a simulated clock: every due item fires exactly once per
// minute of local time, whatever the ticks, reloads, nested passes, gaps and clock changes do.
#include "alarms/DueTracker.h"
#include "tests/common/alarm_items.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

using alarms::LocalMoment;
using alarms::AlarmItem;

AlarmItem Daily(std::uint8_t hour, std::uint8_t minute, const std::string& text = {}) {
    return alarms_test::DailyReminder(hour, minute, text);
}

LocalMoment At(int h, int mi, int s, int day = 7) { return {{2026, 12, day}, h, mi, s}; }

// The monotonic clock of a tick: it runs with the wall clock except for `wallAheadSec`, the
// amount by which the wall clock was moved (forward positive, back negative).
std::int64_t MonotonicOf(const LocalMoment& at, std::int64_t wallAheadSec = 0) {
    return ((alarms::MinuteSerial(at) * 60 + at.second) - wallAheadSec) * 1000;
}

class SchedulerTest : public ::testing::Test {
protected:
    void Load(const std::vector<AlarmItem>& items, int loadedCount = -1) {
        alarms::AlarmItems copy;
        for (const AlarmItem& item : items) copy.Append(item);
        scheduler.Replace(std::move(copy), loadedCount < 0 ? static_cast<int>(items.size()) : loadedCount);
    }
    void Tick(const LocalMoment& at) { scheduler.Check(at, MonotonicOf(at)); }
    void RecordFiring(std::function<void(const AlarmItem&, int)> during = {}) {
        scheduler.SetHandler([this, during](const AlarmItem& item, int index) {
            fired.push_back(item.notifyText);
            indexes.push_back(index);
            if (during) during(item, index);
        });
    }
    alarms::DueTracker scheduler;
    std::vector<std::string> fired;
    std::vector<int> indexes;
};

TEST_F(SchedulerTest, TickSequences) {
    struct Case {
        const char* what;
        std::vector<LocalMoment> ticks;
        int firings;
    } cases[] = {
        {"one tick at second 0", {At(7, 30, 0)}, 1},
        {"ticks at :59 and :01 (no tick in second 0)", {At(7, 29, 59), At(7, 30, 1)}, 1},
        {"two ticks in second 0", {At(7, 30, 0), At(7, 30, 0)}, 1},
        {"every second of the minute", {At(7, 30, 0), At(7, 30, 1), At(7, 30, 30), At(7, 30, 59)}, 1},
        {"first tick late in the minute", {At(7, 29, 58), At(7, 30, 58), At(7, 31, 58)}, 1},
        {"gap over the minute (sleep): fires late", {At(7, 29, 0), At(7, 31, 0)}, 1},
        {"gap ending in the minute", {At(7, 0, 0), At(7, 30, 40)}, 1},
        {"clock set back into the minute", {At(7, 30, 0), At(7, 31, 0), At(7, 30, 5)}, 1},
        {"clock set back within the minute", {At(7, 30, 40), At(7, 30, 2)}, 1},
        {"next day, same time", {At(7, 30, 0), At(7, 30, 0, 8)}, 2},
        {"minute before and after only: fires late", {At(7, 29, 59), At(7, 31, 0)}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        alarms::DueTracker fresh;
        int firings = 0;
        alarms::AlarmItems copy;
        copy.Append(Daily(7, 30));
        fresh.Replace(std::move(copy), 1);
        fresh.SetHandler([&](const AlarmItem&, int) { ++firings; });
        for (const LocalMoment& tick : c.ticks) fresh.Check(tick, MonotonicOf(tick));
        EXPECT_EQ(firings, c.firings);
    }
}

TEST_F(SchedulerTest, LoadedCountLimitsWhatIsLookedAt) {
    RecordFiring();
    Load({Daily(7, 30, "a"), Daily(7, 30, "b")}, 0);
    Tick(At(7, 30, 0));
    EXPECT_TRUE(fired.empty());
    Load({Daily(7, 30, "a"), Daily(7, 30, "b")}, 1);
    Tick(At(7, 30, 1));
    EXPECT_EQ(fired, std::vector<std::string>{"a"});
    Load({Daily(7, 30, "a")}, 5);  // a count beyond the copy looks at what is there
    Tick(At(7, 30, 2));
    EXPECT_EQ(fired, std::vector<std::string>{"a"});
}

TEST_F(SchedulerTest, DisabledItemsNeverFireAndKeepOthersIdentities) {
    RecordFiring();
    AlarmItem off = Daily(7, 30, "off");
    off.itemState = 0;
    Load({off, Daily(7, 30, "on")});
    Tick(At(7, 30, 0));
    EXPECT_EQ(fired, std::vector<std::string>{"on"});
    // Enabling the first one during the minute fires it; "on" does not fire again.
    AlarmItem enabled = off;
    enabled.itemState = 1;
    Load({enabled, Daily(7, 30, "on")});
    Tick(At(7, 30, 20));
    EXPECT_EQ(fired, (std::vector<std::string>{"on", "off"}));
}

TEST_F(SchedulerTest, ReloadDuringTheMinuteDoesNotRefire) {
    RecordFiring();
    const std::vector<AlarmItem> items = {Daily(6, 0, "early"), Daily(7, 30, "x"), Daily(7, 30, "y"),
                                         Daily(9, 0, "late")};
    Load(items);
    Tick(At(7, 30, 0));
    ASSERT_EQ(fired, (std::vector<std::string>{"x", "y"}));
    // The same store loaded again; then the first item deleted (the last moves into its gap);
    // then an item appended for another time.
    Load(items);
    Tick(At(7, 30, 20));
    Load({Daily(9, 0, "late"), Daily(7, 30, "x"), Daily(7, 30, "y")});
    Tick(At(7, 30, 30));
    Load({Daily(9, 0, "late"), Daily(7, 30, "x"), Daily(7, 30, "y"), Daily(8, 0, "new")});
    Tick(At(7, 30, 40));
    EXPECT_EQ(fired, (std::vector<std::string>{"x", "y"}));
    // A new item for the current minute has not fired yet, so it does.
    Load({Daily(9, 0, "late"), Daily(7, 30, "x"), Daily(7, 30, "y"), Daily(7, 30, "z")});
    Tick(At(7, 30, 50));
    EXPECT_EQ(fired, (std::vector<std::string>{"x", "y", "z"}));
}

TEST_F(SchedulerTest, BlockingActionDoesNotLoseLaterItems) {
    // The first reminder's dialog stays open for 75 seconds; its modal loop dispatches a tick
    // every second. The second reminder fires once, in the first nested pass.
    RecordFiring([this](const AlarmItem& item, int) {
        if (item.notifyText != "first") return;
        for (int s = 1; s <= 75; ++s) Tick(At(7, 30 + s / 60, s % 60));
    });
    Load({Daily(7, 30, "first"), Daily(7, 30, "second"), Daily(7, 31, "next minute")});
    Tick(At(7, 30, 0));
    Tick(At(7, 31, 16));
    EXPECT_EQ(fired, (std::vector<std::string>{"first", "second", "next minute"}));
}

TEST_F(SchedulerTest, ItemsAfterABlockingActionFireWhenItReturnsIfNoNestedPassRan) {
    // The action blocks without dispatching ticks; meanwhile the clock moves into the next
    // minute. The items after it still fire, once, when it returns.
    int nested = 0;
    RecordFiring([&](const AlarmItem& item, int) {
        if (item.notifyText == "first") ++nested;
    });
    Load({Daily(7, 30, "first"), Daily(7, 30, "second"), Daily(7, 30, "third")});
    Tick(At(7, 30, 0));
    EXPECT_EQ(fired, (std::vector<std::string>{"first", "second", "third"}));
    EXPECT_EQ(nested, 1);
}

TEST_F(SchedulerTest, NestedPassInTheNextMinuteThenOuterContinues) {
    // A nested pass runs only in the next minute (the dialog pumped no earlier tick): it fires
    // that minute's item; the outer pass then fires the rest of its own minute.
    bool nestedOnce = false;
    RecordFiring([&](const AlarmItem& item, int) {
        if (item.notifyText == "first" && !std::exchange(nestedOnce, true)) Tick(At(7, 31, 0));
    });
    Load({Daily(7, 30, "first"), Daily(7, 31, "next minute"), Daily(7, 30, "second")});
    Tick(At(7, 30, 0));
    Tick(At(7, 31, 1));
    Tick(At(7, 30, 59));  // the clock back into 7:30 after the pass has ended: nothing repeats
    EXPECT_EQ(fired, (std::vector<std::string>{"first", "next minute", "second"}));
}

TEST_F(SchedulerTest, ReloadInsideAnActionContinuesOnTheNewCopy) {
    // While the first dialog is open the user saves an edit that appends an item; the new copy
    // has other positions. Nothing fires twice, nothing due is lost.
    RecordFiring([this](const AlarmItem& item, int) {
        if (item.notifyText != "first") return;
        Load({Daily(7, 30, "first"), Daily(7, 30, "second"), Daily(7, 30, "added")});
    });
    Load({Daily(7, 30, "first"), Daily(7, 30, "second")});
    Tick(At(7, 30, 0));
    EXPECT_EQ(fired, (std::vector<std::string>{"first", "second", "added"}));
    EXPECT_EQ(indexes, (std::vector<int>{1, 2, 3}));
}

TEST_F(SchedulerTest, IdenticalItemsEachFireOnce) {
    RecordFiring();
    Load({Daily(7, 30, "same"), Daily(7, 30, "same"), Daily(7, 30, "same")});
    Tick(At(7, 30, 0));
    Tick(At(7, 30, 1));
    EXPECT_EQ(fired.size(), 3u);
}

TEST_F(SchedulerTest, WithoutHandlerDueItemsCountAsFired) {
    Load({Daily(7, 30, "a")});
    Tick(At(7, 30, 0));
    RecordFiring();
    Tick(At(7, 30, 1));
    EXPECT_TRUE(fired.empty());
}

}  // namespace
