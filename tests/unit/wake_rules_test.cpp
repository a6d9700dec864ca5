// Which instant the wake is armed at, the options line for each power plan setting, and the
// UTC text of the wake task's trigger.
#include <gtest/gtest.h>

#include <ctime>
#include <random>
#include <string>

#include "common/WakeRules.h"

namespace {

TEST(WakeRules, ArmInstant) {
    constexpr std::int64_t now = 1'796'000'000, day = 86'400, horizon = now - now % day + 49 * day;
    struct Case { const char* what; std::optional<std::int64_t> due, armed; } cases[] = {
        {"nothing pending", std::nullopt, std::nullopt},
        {"due already passed", now - 60, std::nullopt},
        {"due this second", now, std::nullopt},
        {"due in 10 s: kept in the past, not moved on every tick", now + 10, now - 20},
        {"due in 30 s: now", now + 30, now},
        {"due at 07:00 tomorrow", now + 9 * 3600, now + 9 * 3600 - 30},
        {"exactly at the horizon", now + 49 * day + 30, now + 49 * day},
        {"a second beyond: the last whole day within", now + 49 * day + 31, horizon},
        {"a year ahead: the same daily instant", now + 365 * day, horizon},
    };
    for (const Case& c : cases) EXPECT_EQ(wake::ArmInstant(c.due, now), c.armed) << c.what;
}

// Every pair of plan settings (unread, disabled, enabled, important timers only): the line
// names the power sources whose setting stops the timer; no resume names both, whatever the plan.
TEST(WakeRules, WarningLineForEveryPlanSetting) {
    const std::optional<std::uint32_t> settings[] = {std::nullopt, 0u, 1u, 2u};
    const std::string blocked = std::string(wake::kWakeBlockedText) + " This applies on ";
    const char* where[] = {"", "battery.", "mains power.", "mains power and on battery."};
    for (const auto& mains : settings) {
        for (const auto& battery : settings) {
            const int off = (mains && *mains != 1 ? 2 : 0) + (battery && *battery != 1 ? 1 : 0);
            EXPECT_EQ(wake::WarningLine({mains, battery}, {}), off ? blocked + where[off] : "")
                << mains.value_or(9) << "/" << battery.value_or(9);
            EXPECT_EQ(wake::WarningLine({mains, battery}, {true, 0, 0}), blocked + where[3]);
        }
    }
    EXPECT_EQ(wake::WarningLine({1u, 1u}, {false, 5, 0x80070005}), "Windows refused the wake timer (error 5).");
    EXPECT_EQ(wake::WarningLine({}, {false, 0, 0x80070005}), "Windows refused the wake task (error 0x80070005).");
}

// The trigger's text against the C library's UTC calendar, 1970 to 2200 and around 29 Feb 2000.
TEST(WakeRules, UtcTextAgreesWithTheCLibrary) {
    std::mt19937_64 random(28);
    std::uniform_int_distribution<std::int64_t> instants(0, 7'258'118'400);
    for (int i = 0; i < 20000; ++i) {
        const auto instant = static_cast<std::time_t>(i < 4 ? 951'782'399 + i * 43'200 : instants(random));
        std::tm parts{};
        ASSERT_NE(gmtime_r(&instant, &parts), nullptr);
        char expected[32];
        std::strftime(expected, sizeof expected, "%Y-%m-%dT%H:%M:%SZ", &parts);
        ASSERT_EQ(wake::UtcIsoText(instant), expected) << instant;
    }
}

}  // namespace
