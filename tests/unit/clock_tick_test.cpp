// The one-second tick's timing and the hourly chime rule.
#include "apps/zentaro/ClockTick.h"

#include <gtest/gtest.h>

using namespace clocktick;

TEST(ClockTickDelay, NextTickLandsJustAfterTheNextSecond) {
    struct Case {
        unsigned ms;
        unsigned delay;
    };
    const Case cases[] = {{0, 1016}, {16, 1000}, {500, 516}, {999, 17}, {1000, 17} /* leap-second style */};
    for (const Case& c : cases) {
        EXPECT_EQ(DelayToNextTick(c.ms), c.delay) << c.ms;
        EXPECT_EQ((c.ms < 1000 ? c.ms : 999) + DelayToNextTick(c.ms), 1000 + kTickPastSecondMs) << c.ms;
    }
}

TEST(HourlyChime, OnceAtTheFirstTickOfEachHour) {
    struct Tick {
        const char* what;
        ClockReading at;
        bool chimes;
    };
    const Tick ticks[] = {
        {"minute before the hour", {2026, 12, 8, 9, 59, 59}, false},
        {"first tick skips second 0", {2026, 12, 8, 10, 0, 1}, true},
        {"next tick same hour", {2026, 12, 8, 10, 0, 2}, false},
        {"second tick in the same second", {2026, 12, 8, 10, 0, 2}, false},
        {"later in the hour", {2026, 12, 8, 10, 30, 0}, false},
        {"next hour on the second", {2026, 12, 8, 11, 0, 0}, true},
        {"twice within that second", {2026, 12, 8, 11, 0, 0}, false},
        {"midnight: a new day", {2026, 12, 9, 0, 0, 0}, true},
        {"same hour a day later", {2026, 12, 10, 0, 0, 5}, true},
        {"clock set back into an hour already chimed", {2026, 12, 10, 0, 0, 6}, false},
        {"late first tick of the hour (59 s)", {2026, 12, 10, 1, 0, 59}, true},
        {"minute 1 never chimes", {2026, 12, 10, 2, 1, 0}, false},
    };
    HourlyChimeRule rule;
    for (const Tick& t : ticks) EXPECT_EQ(rule.ShouldChime(t.at), t.chimes) << t.what;
}
