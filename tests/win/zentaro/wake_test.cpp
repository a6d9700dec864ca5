// For every event that can move the next due instant, the running clock arms exactly one wake
// (the timer and the task together) 30 s before it, through the recording seams.
#include "alarms/AlarmStore.h"
#include "alarms/Scheduler.h"
#include "apps/zentaro/MainWindow.h"
#include "common/Settings.h"
#include "common/Wake.h"
#include "tests/win/zentaro/alarms_fixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

namespace {

using alarms_test::DailyReminder;
using Instant = std::optional<std::int64_t>;

// Monday 7 December 2026.
SYSTEMTIME Clock(int hour, int minute) {
    return testing_support::LocalTime(2026, 12, 7, static_cast<WORD>(hour), static_cast<WORD>(minute), 0);
}

// UTC seconds of a local time, by the zone's rules.
std::int64_t UtcOf(SYSTEMTIME local) {
    SYSTEMTIME utc{};
    FILETIME file{};
    EXPECT_TRUE(TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) && SystemTimeToFileTime(&utc, &file));
    return ((static_cast<std::int64_t>(file.dwHighDateTime) << 32) | file.dwLowDateTime) / 10'000'000 - 11'644'473'600;
}

// UTC seconds 30 s before the local hh:mm given as hour * 100 + minute; none for -1.
Instant WakeBefore(int hhmm) {
    if (hhmm < 0) return std::nullopt;
    return UtcOf(Clock(hhmm / 100, hhmm % 100)) - 30;
}

using WakeTest = alarms_test::AlarmStoreTest;

TEST_F(WakeTest, EveryEventArmsOneWakeAtTheNextDueInstant) {
    HWND main = nullptr;
    std::vector<Instant> timer, task;
    now = Clock(6, 0);
    seams->wakeTimer = [&](Instant at) { timer.push_back(at); return DWORD{ERROR_SUCCESS}; };
    seams->wakeTask = [&](Instant at) { task.push_back(at); return S_OK; };
    alarms::LoadAlarmItems();
    alarms::CheckAlarms();
    alarms::AppendAlarmItem(DailyReminder(7, 0, "seven"));
    settings::WriteDword(settings::kOptionKey, settings::kWakeForAlarms, 1);
    const auto tick = [&] { SendMessageA(main, WM_TIMER, zentaro::kTickTimerId, 0); };
    const auto reload = [&] { alarms::LoadAlarmItems(); tick(); };
    struct Step { const char* what; std::function<void()> act; int due; } steps[] = {
        {"start-up", [&] {
             zentaro::RegisterMainClass(zentaro::kMainClassName);
             main = zentaro::CreateMainWindow(zentaro::kMainClassName, WS_EX_LAYERED, "");
             tick();
         }, 700},
        {"another tick in the same minute", tick, 700},
        {"an edit stored", [&] { alarms::AppendAlarmItem(DailyReminder(6, 30)); reload(); }, 630},
        {"a snooze", [&] { alarms::SnoozeReminder("later", 5); tick(); }, 605},
        {"a resume after it",
         [&] { now = Clock(6, 10); SendMessageA(main, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0); }, 630},
        {"the clock set forward", [&] { now = Clock(6, 45); SendMessageA(main, WM_TIMECHANGE, 0, 0); }, 700},
        {"the option off", [] { wake::SetEnabled(false); }, -1},
        {"ticks while off", tick, -1},
        {"the option on", [] { wake::SetEnabled(true); }, 700},
        {"nothing pending", [&] { alarms::SetAlarmItemState(1, 0); alarms::SetAlarmItemState(2, 0); reload(); }, -1},
        {"an item again", [&] { alarms::SetAlarmItemState(1, 1); reload(); }, 700},
        {"the clock ends", [&] { DestroyWindow(main); main = nullptr; }, -1},
    };
    Instant armed;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        const size_t before = timer.size();
        step.act();
        const Instant expected = WakeBefore(step.due);
        ASSERT_EQ(timer.size(), before + (expected != armed ? 1 : 0)) << "once for each change, never otherwise";
        EXPECT_EQ(task, timer);
        EXPECT_EQ(wake::ArmedInstant(), expected);
        EXPECT_EQ(timer.empty() ? Instant() : timer.back(), expected);
        armed = expected;
    }
}

// The zone is Europe/Berlin (the test's environment). A reminder snoozed for 20 minutes at
// 02:50 CEST on the night summer time ends is due at 02:10 CET, which the clock reads as an
// hour that comes twice: the wake follows the snooze's own instant, not an hour later.
TEST_F(WakeTest, SnoozeBeforeSummerTimeEndsWakesAtItsOwnInstant) {
    now = testing_support::LocalTime(2026, 10, 25, 2, 50, 0);
    Instant armed;
    seams->wakeTimer = [&](Instant at) { armed = at; return DWORD{ERROR_SUCCESS}; };
    seams->wakeTask = [](Instant) { return S_OK; };
    settings::WriteDword(settings::kOptionKey, settings::kWakeForAlarms, 1);
    zentaro::RegisterMainClass(zentaro::kMainClassName);
    HWND main = zentaro::CreateMainWindow(zentaro::kMainClassName, WS_EX_LAYERED, "");
    alarms::SnoozeReminder("later", 20);
    SendMessageA(main, WM_TIMER, zentaro::kTickTimerId, 0);
    EXPECT_EQ(armed, Instant(UtcOf(now) + 20 * 60 - 30));
    DestroyWindow(main);
}

}  // namespace
