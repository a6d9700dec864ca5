// The road of an alarm through the whole program: the list opened from the clock's command,
// Add, a daily reminder for the next minute, OK; the reminder appears in that minute.
// Runs in real time (up to about two minutes).
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

}  // namespace
