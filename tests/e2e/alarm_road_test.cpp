// The road of an alarm through the whole program: the list opened from the clock's command,
// Add, a daily reminder for the next minute, OK; the reminder appears in that minute. And a
// clock ended and started again inside the minute its reminder fired does not fire it again.
// Runs in real time (up to about two minutes each).
#include "alarms/AlarmEditor.h"
#include "alarms/AlarmList.h"
#include "tests/e2e/driver/Driver.h"

#include <gtest/gtest.h>

#include <string>

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

    // Clear of the end of a minute, so the entry is stored before its minute begins.
    const int minuteOfDay = driver::NextMinuteOfDay(50);
    const int hour = minuteOfDay / 60, minute = minuteOfDay % 60;
    SendMessageA(driver::ChildById(editor, alarms::kEditorOption0 + 1), BM_CLICK, 0, 0);  // "Daily"
    SetControlText(editor, alarms::kEditorText, "Stand up");
    SetControlText(editor, alarms::kEditorHour, std::to_string(hour));
    SetControlText(editor, alarms::kEditorMinute, std::to_string(minute));
    PostMessageA(editor, WM_COMMAND, MAKEWPARAM(alarms::kEditorOk, BN_CLICKED), 0);
    ASSERT_TRUE(driver::WaitForNoWindow("frmAdditem", "Alarm item ", 10000));
    HWND reopened = driver::WaitForWindow("frmOptions", "Alarm Item", 10000, clock.id());
    ASSERT_NE(reopened, nullptr);

    HWND reminder = nullptr;
    ASSERT_TRUE(driver::WaitFor(
        [&] {
            reminder = driver::FindTopWindows(nullptr, "Text Hint", clock.id()).empty()
                           ? nullptr
                           : driver::FindTopWindows(nullptr, "Text Hint", clock.id()).front();
            return reminder != nullptr;
        },
        90000))
        << "no reminder within 90 s";
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
    // A daily reminder for the next minute, stored as the list would store it.
    const int minuteOfDay = driver::NextMinuteOfDay(45);
    const unsigned char record[11] = {1, 1, 2, 0, static_cast<unsigned char>(minuteOfDay / 60),
                                      static_cast<unsigned char>(minuteOfDay % 60), 20, 26, 12, 9, 0};
    HKEY data = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Zentaro\\Data", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &data, nullptr),
              ERROR_SUCCESS);
    const DWORD count = 1;
    RegSetValueExA(data, "DataCount", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count), sizeof count);
    RegSetValueExA(data, "Data1", 0, REG_BINARY, record, sizeof record);
    RegSetValueExA(data, "Text1", 0, REG_SZ, reinterpret_cast<const BYTE*>("Once"), 5);
    RegCloseKey(data);

    driver::Process first;
    ASSERT_TRUE(first.Start(driver::ProgramPath("zentaro.exe")));
    HWND face = driver::WaitForWindow("frmMain", "Zentaro", 20000, first.id());
    ASSERT_NE(face, nullptr);
    HWND reminder = nullptr;
    ASSERT_TRUE(driver::WaitFor([&] { return (reminder = FindReminder(first.id())) != nullptr; }, 90000));
    PostMessageA(reminder, WM_COMMAND, IDOK, 0);
    PostMessageA(face, WM_COMMAND, 16, 0);  // Exit(&X)
    ASSERT_TRUE(first.WaitExit(15000));

    driver::Process second;
    ASSERT_TRUE(second.Start(driver::ProgramPath("zentaro.exe")));
    ASSERT_NE(driver::WaitForWindow("frmMain", "Zentaro", 20000, second.id()), nullptr);
    SYSTEMTIME now{};
    GetLocalTime(&now);
    ASSERT_EQ(now.wHour * 60 + now.wMinute, minuteOfDay) << "started again too late to tell";
    // Until the minute is over: no second reminder.
    EXPECT_FALSE(driver::WaitFor([&] { return FindReminder(second.id()) != nullptr; }, (61 - now.wSecond) * 1000));
    if (HWND face2 = driver::WaitForWindow("frmMain", "Zentaro", 1000, second.id())) PostMessageA(face2, WM_COMMAND, 16, 0);
    EXPECT_TRUE(second.WaitExit(15000));
}

}  // namespace
