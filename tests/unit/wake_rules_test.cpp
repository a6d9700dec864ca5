// Which instant the wake is armed at, the options line for each power plan setting, and the
// UTC text of the wake task's trigger.
#include <gtest/gtest.h>

#include <ctime>
#include <random>
#include <string>

#include "common/WakeRules.h"

namespace {

constexpr std::int64_t kNow = 1'796'000'000;  // 2026-11-30, a whole second
constexpr std::int64_t kDay = 86'400;

TEST(WakeRules, ArmInstant) {
    const std::int64_t dayStart = kNow - kNow % kDay;
    struct Case { const char* what; std::optional<std::int64_t> due; std::optional<std::int64_t> armed; } cases[] = {
        {"nothing pending", std::nullopt, std::nullopt},
        {"due already passed", kNow - 60, std::nullopt},
        {"due this second", kNow, std::nullopt},
        {"due in 10 s: kept 20 s in the past, not moved on every tick", kNow + 10, kNow - 20},
        {"due in 30 s: now", kNow + 30, kNow},
        {"due at 07:00 tomorrow", kNow + 9 * 3600, kNow + 9 * 3600 - 30},
        {"exactly at the horizon", kNow + 49 * kDay + 30, kNow + 49 * kDay},
        {"a second beyond: the last whole day within", kNow + 49 * kDay + 31, dayStart + 49 * kDay},
        {"a year ahead: the same daily instant", kNow + 365 * kDay, dayStart + 49 * kDay},
    };
    for (const Case& c : cases) EXPECT_EQ(wake::ArmInstant(c.due, kNow), c.armed) << c.what;
}

// Every pair of plan settings (unread, disabled, enabled, important timers only): the line
// names exactly the power sources whose setting stops the clock's timer.
TEST(WakeRules, WarningLineForEveryPlanSetting) {
    const std::optional<std::uint32_t> settings[] = {std::nullopt, 0u, 1u, 2u};
    const std::string blocked = wake::kWakeBlockedText;
    for (const auto& mains : settings) {
        for (const auto& battery : settings) {
            const bool offMains = mains && *mains != 1, offBattery = battery && *battery != 1;
            std::string expected;
            if (offMains && offBattery) expected = blocked + " This applies on mains power and on battery.";
            else if (offMains) expected = blocked + " This applies on mains power.";
            else if (offBattery) expected = blocked + " This applies on battery.";
            const std::string line = wake::WarningLine({mains, battery}, {});
            EXPECT_EQ(line, expected) << mains.value_or(9) << "/" << battery.value_or(9);
            // Resume not supported gives the same line for both, whatever the plan says.
            EXPECT_EQ(wake::WarningLine({mains, battery}, {true, 0, 0}),
                      blocked + " This applies on mains power and on battery.");
        }
    }
    EXPECT_EQ(wake::WarningLine({1u, 1u}, {false, 5, 0x80070005}), "Windows refused the wake timer (error 5).");
    EXPECT_EQ(wake::WarningLine({}, {false, 0, 0x80070005}), "Windows refused the wake task (error 0x80070005).");
}

// The trigger's text against the C library's own UTC calendar, over instants from 1970 to 2200.
TEST(WakeRules, UtcTextAgreesWithTheCLibrary) {
    std::mt19937_64 random(28);
    std::uniform_int_distribution<std::int64_t> instants(0, 7'258'118'400);
    for (int i = 0; i < 20000; ++i) {
        const std::int64_t instant = i < 4 ? 951'782'399 + i * 43'200 : instants(random);  // around 29 Feb 2000
        const auto t = static_cast<std::time_t>(instant);
        std::tm parts{};
        ASSERT_NE(gmtime_r(&t, &parts), nullptr);
        char expected[32];
        std::strftime(expected, sizeof expected, "%Y-%m-%dT%H:%M:%SZ", &parts);
        ASSERT_EQ(wake::UtcIsoText(instant), expected) << instant;
    }
}

}  // namespace
