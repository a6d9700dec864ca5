// The road of an alarm through the whole program: the list opened from the clock's command,
// Add, a daily reminder for the next minute, OK; the reminder appears in that minute. And the
// nights the wall clock jumps (summer time, a clock set back) and a clock ended and started
// again inside the minute its reminder fired: a daily reminder fires once.
// The wall clock is moved forward to ten seconds before a minute instead of waiting for it.
#include "alarms/AlarmEditor.h"
#include "alarms/AlarmItem.h"
#include "alarms/AlarmList.h"
#include "tests/e2e/driver/Driver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr UINT kCommandAlarmList = 9;

void SetControlText(HWND parent, int id, const std::string& text) {
    SendMessageA(driver::ChildById(parent, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

TEST(AlarmRoad, ReminderAddedInTheListAppearsInItsMinute) {
    driver::ResetZentaroSettings();
    driver::Process clock;
    ASSERT_TRUE(clock.Start(driver::ProgramPath("zentaro.exe")));
    HWND face = driver::WaitForWindow("frmMain", "Zentaro", 20000, clock.id());
    ASSERT_NE(face, nullptr);

    PostMessageA(face, WM_COMMAND, kCommandAlarmList, 0);
    HWND list = driver::WaitForWindow("frmOptions", "Alarm Item", 10000, clock.id());
    ASSERT_NE(list, nullptr);
    PostMessageA(list, WM_COMMAND, MAKEWPARAM(alarms::kListAdd, BN_CLICKED), 0);
    HWND editor = driver::WaitForWindow("frmAdditem", "Alarm item ", 10000, clock.id());
    ASSERT_NE(editor, nullptr);

    // Two minutes ahead; the clock is moved to just before it once the item is stored.
    const int minuteOfDay = driver::MinuteOfDayAhead(2);
    const int hour = minuteOfDay / 60, minute = minuteOfDay % 60;
    SendMessageA(driver::ChildById(editor, alarms::kEditorOption0 + 1), BM_CLICK, 0, 0);  // "Daily"
    SetControlText(editor, alarms::kEditorText, "Stand up");
    SetControlText(editor, alarms::kEditorHour, std::to_string(hour));
    SetControlText(editor, alarms::kEditorMinute, std::to_string(minute));
    PostMessageA(editor, WM_COMMAND, MAKEWPARAM(alarms::kEditorOk, BN_CLICKED), 0);
    ASSERT_TRUE(driver::WaitForNoWindow("frmAdditem", "Alarm item ", 10000));
    HWND reopened = driver::WaitForWindow("frmOptions", "Alarm Item", 10000, clock.id());
    ASSERT_NE(reopened, nullptr);
    driver::ApproachMinute(minuteOfDay, 5);

    HWND reminder = nullptr;
    ASSERT_TRUE(driver::WaitFor(
        [&] {
            reminder = driver::FindTopWindows(nullptr, "Text Hint", clock.id()).empty()
                           ? nullptr
                           : driver::FindTopWindows(nullptr, "Text Hint", clock.id()).front();
            return reminder != nullptr;
        },
        30000))
        << "no reminder";
    SYSTEMTIME seen{};
    GetLocalTime(&seen);
    EXPECT_EQ(seen.wHour * 60 + seen.wMinute, minuteOfDay);
    PostMessageA(reminder, WM_COMMAND, IDOK, 0);
}

HWND FindReminder(DWORD process) {
    const auto found = driver::FindTopWindows(nullptr, "Text Hint", process);
    return found.empty() ? nullptr : found.front();
}

TEST(AlarmRoad, ClockStartedAgainInTheFiredMinuteDoesNotFireAgain) {
    driver::ResetZentaroSettings();
    const int minuteOfDay = driver::MinuteOfDayAhead(2);
    driver::StoreDailyItem(1, minuteOfDay, alarms::kNotifyText, "Once");

    driver::Process first;
    HWND face = driver::StartClock(first);
    ASSERT_NE(face, nullptr);
    driver::ApproachMinute(minuteOfDay, 5);
    HWND reminder = nullptr;
    ASSERT_TRUE(driver::WaitFor([&] { return (reminder = FindReminder(first.id())) != nullptr; }, 30000));
    PostMessageA(reminder, WM_COMMAND, IDOK, 0);
    PostMessageA(face, WM_COMMAND, 16, 0);  // Exit(&X)
    ASSERT_TRUE(first.WaitExit(15000));

    driver::Process second;
    ASSERT_NE(driver::StartClock(second), nullptr);
    SYSTEMTIME now{};
    GetLocalTime(&now);
    ASSERT_EQ(now.wHour * 60 + now.wMinute, minuteOfDay) << "started again too late to tell";
    // Through the rest of the minute (moved on to its last seconds): no second reminder.
    Sleep(2000);
    GetLocalTime(&now);
    if (now.wSecond < 55) driver::ShiftWallClock(55 - now.wSecond);
    EXPECT_FALSE(driver::WaitFor([&] { return FindReminder(second.id()) != nullptr; }, 8000));
    second.Kill();
}

// Nights the wall clock jumps, in a zone with summer time (the test runs with
// TZ=Europe/Berlin under a movable wall clock): a daily reminder fires once a night.
struct ClockNight {
    const char* description;
    SYSTEMTIME start;   // UTC wall time at which the clock starts
    int dueMinute;      // the item's local minute of the day
    int firesAtMinute;  // the local minute of the day in which the reminder shows
    // After the reminder was closed: UTC wall times the clock is set to, one after the other,
    // each a few seconds before the item's local minute comes round again.
    std::vector<SYSTEMTIME> after;
};

class AlarmRoadNights : public ::testing::TestWithParam<ClockNight> {};

HWND WaitForReminder(const driver::Process& clock, DWORD timeoutMs) {
    HWND found = nullptr;
    driver::WaitFor(
        [&] {
            const auto all = driver::FindTopWindows(nullptr, "Text Hint", clock.id());
            found = all.empty() ? nullptr : all.front();
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

TEST_P(AlarmRoadNights, ADailyReminderFiresOnce) {
    const ClockNight& night = GetParam();
    driver::ResetZentaroSettings();
    driver::StoreDailyItem(1, night.dueMinute, alarms::kNotifyText, "Night shift");
    // Started a minute before the row's start and moved on to it once up, so that a slow start
    // never eats the lead.
    SYSTEMTIME early = night.start;
    early.wMinute = static_cast<WORD>(early.wMinute - 1);  // every row starts at minute 1 or later
    ASSERT_TRUE(driver::SetWallClockUtc(early)) << "the test needs its movable wall clock";
    driver::Process clock;
    ASSERT_NE(driver::StartClock(clock), nullptr);
    ASSERT_TRUE(driver::SetWallClockUtc(night.start));

    HWND reminder = WaitForReminder(clock, 30000);
    ASSERT_NE(reminder, nullptr) << night.description;
    SYSTEMTIME seen{};
    GetLocalTime(&seen);
    EXPECT_EQ(seen.wHour * 60 + seen.wMinute, night.firesAtMinute) << night.description;
    PostMessageA(reminder, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(driver::WaitForNoWindow(nullptr, "Text Hint", 10000));

    for (const SYSTEMTIME& when : night.after) {
        Sleep(3000);  // ticks at the time before the move
        ASSERT_TRUE(driver::SetWallClockUtc(when));
    }
    // Through the item's minute once more, and a little past it: no second reminder.
    EXPECT_EQ(WaitForReminder(clock, 10000), nullptr) << night.description;
    clock.Kill();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AlarmRoadNights,
    ::testing::Values(
        // 02:29:50 CEST; then 02:59:58 CEST, which turns 02:00 CET; then 02:29:56 CET.
        ClockNight{"summer time ends: the 02:30 of both hours", driver::Utc(2027, 10, 31, 0, 29, 50), 2 * 60 + 30,
                   2 * 60 + 30, {driver::Utc(2027, 10, 31, 0, 59, 58), driver::Utc(2027, 10, 31, 1, 29, 56)}},
        // 01:59:50 CET turns 03:00 CEST: 02:30 never comes, the item runs late at 03:00.
        ClockNight{"summer time starts: 02:30 runs at 03:00", driver::Utc(2027, 3, 28, 0, 59, 50), 2 * 60 + 30,
                   3 * 60, {}},
        // Fired at 12:00 CEST; the clock set back five minutes, then on to 11:59:56 again.
        ClockNight{"the clock set back after the item fired", driver::Utc(2027, 6, 15, 9, 59, 50), 12 * 60, 12 * 60,
                   {driver::Utc(2027, 6, 15, 9, 55, 10), driver::Utc(2027, 6, 15, 9, 59, 56)}}),
    [](const auto& info) { return "Row" + std::to_string(info.index); });

}  // namespace
