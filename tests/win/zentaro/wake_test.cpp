// Waking the computer for the next alarm, as the running clock does it: for every event that
// can move the next due instant, exactly one wake (the timer and the task together) is armed
// 30 s before it, through the recording seams; nothing while the option is off.
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
SYSTEMTIME Clock(WORD hour, WORD minute) { return testing_support::LocalTime(2026, 12, 7, hour, minute, 0); }

// 30 s before that local minute, in UTC seconds; none for "nothing armed".
Instant WakeBefore(std::optional<SYSTEMTIME> local) {
    if (!local) return std::nullopt;
    SYSTEMTIME utc{};
    FILETIME file{};
    EXPECT_TRUE(TzSpecificLocalTimeToSystemTime(nullptr, &*local, &utc));
    EXPECT_TRUE(SystemTimeToFileTime(&utc, &file));
    const std::int64_t ticks = (static_cast<std::int64_t>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
    return ticks / 10'000'000 - 11'644'473'600 - 30;
}

class WakeTest : public alarms_test::AlarmStoreTest {
protected:
    void SetUp() override {
        AlarmStoreTest::SetUp();
        now = Clock(6, 0);
        seams->wakeTimer = [this](Instant at) { timer.push_back(at); return DWORD{ERROR_SUCCESS}; };
        seams->wakeTask = [this](Instant at) { task.push_back(at); return S_OK; };
        alarms::LoadAlarmItems();
        alarms::CheckAlarms();
    }
    void TearDown() override {
        if (main) DestroyWindow(main);
        wake::SetEnabled(false);
        AlarmStoreTest::TearDown();
    }
    void Tick() const { SendMessageA(main, WM_TIMER, zentaro::kTickTimerId, 0); }

    HWND main = nullptr;
    std::vector<Instant> timer, task;
};

TEST_F(WakeTest, EveryEventArmsOneWakeAtTheNextDueInstant) {
    alarms::AppendAlarmItem(DailyReminder(7, 0, "seven"));
    settings::WriteDword(settings::kOptionKey, settings::kWakeForAlarms, 1);
    struct Step {
        const char* what;
        std::function<void()> act;
        std::optional<SYSTEMTIME> due;  // the local minute the wake precedes; none: nothing armed
    };
    const Step steps[] = {
        {"start-up", [&] {
             zentaro::RegisterMainClass(zentaro::kMainClassName);
             main = zentaro::CreateMainWindow(zentaro::kMainClassName, WS_EX_LAYERED, "");
             Tick();
         }, Clock(7, 0)},
        {"another tick in the same minute", [&] { Tick(); }, Clock(7, 0)},
        {"an edit stored", [&] { alarms::AppendAlarmItem(DailyReminder(6, 30)); alarms::LoadAlarmItems(); Tick(); },
         Clock(6, 30)},
        {"a snooze", [&] { alarms::SnoozeReminder("later", 5); Tick(); }, Clock(6, 5)},
        {"a resume after the snooze's minute",
         [&] { now = Clock(6, 10); SendMessageA(main, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0); }, Clock(6, 30)},
        {"the clock set forward", [&] { now = Clock(6, 45); SendMessageA(main, WM_TIMECHANGE, 0, 0); }, Clock(7, 0)},
        {"the option switched off", [] { wake::SetEnabled(false); }, std::nullopt},
        {"ticks while off", [&] { Tick(); }, std::nullopt},
        {"the option switched on", [] { wake::SetEnabled(true); }, Clock(7, 0)},
        {"nothing pending", [&] { alarms::SetAlarmItemState(1, 0); alarms::SetAlarmItemState(2, 0);
                                  alarms::LoadAlarmItems(); Tick(); }, std::nullopt},
        {"an item again", [&] { alarms::SetAlarmItemState(1, 1); alarms::LoadAlarmItems(); Tick(); }, Clock(7, 0)},
        {"the clock ends", [&] { DestroyWindow(main); main = nullptr; }, std::nullopt},
    };
    Instant armed;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        const size_t before = timer.size();
        step.act();
        const Instant expected = WakeBefore(step.due);
        // The timer and the task always move together, once for each change, never otherwise.
        ASSERT_EQ(timer.size(), before + (expected != armed ? 1 : 0));
        EXPECT_EQ(task, timer);
        EXPECT_EQ(wake::ArmedInstant(), expected);
        EXPECT_EQ(timer.empty() ? Instant() : timer.back(), expected);
        armed = expected;
    }
}

}  // namespace
