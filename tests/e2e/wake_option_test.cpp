// Waking the computer for alarms, seen from outside the clock: the user's wake task is there
// while the option is ticked and an item pending, and goes when the option is cleared and when
// the clock ends; what the task starts leaves a running clock as it is.
#include "alarms/AlarmItem.h"
#include "alarms/AlarmList.h"
#include "face/OptionsDialog.h"
#include "tests/e2e/driver/Driver.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

bool TaskRegistered() { return GetFileAttributesA(driver::WakeTaskFile().c_str()) != INVALID_FILE_ATTRIBUTES; }

HWND Open(HWND face, DWORD clock, UINT command, const char* cls, const char* title) {
    PostMessageA(face, WM_COMMAND, command, 0);
    return driver::WaitForWindow(cls, title, 10000, clock);
}

// Sets the option in the options dialog; then the task is there or not as `registered` says.
void SetWakeOption(HWND face, DWORD clock, bool on, bool registered) {
    HWND dlg = Open(face, clock, 3, "#32770", options::kCaption);
    ASSERT_NE(dlg, nullptr);
    HWND box = driver::ChildById(dlg, options::kIdWakeForAlarms);
    if ((SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED) != on) SendMessageA(box, BM_CLICK, 0, 0);
    PostMessageA(dlg, WM_COMMAND, options::kIdOk, 0);
    ASSERT_TRUE(driver::WaitForNoWindow("#32770", options::kCaption, 10000));
    EXPECT_TRUE(driver::WaitFor([&] { return TaskRegistered() == registered; }, 10000)) << on;
}

TEST(WakeOption, TheTaskIsThereWhileTheOptionIsOnAndAnItemPending) {
    driver::ResetZentaroSettings();
    DeleteFileA(driver::WakeTaskFile().c_str());
    driver::Process clock;
    HWND face = driver::StartClock(clock);
    ASSERT_NE(face, nullptr);
    SetWakeOption(face, clock.id(), true, false);

    // A daily reminder twelve hours away, so it does not fire during the test, stored as the
    // editor stores it; OK in the alarm list reloads the store.
    SYSTEMTIME now{};
    GetLocalTime(&now);
    driver::StoreDailyItem(1, (now.wHour + 12) % 24 * 60, alarms::kNotifyText, "Wake up");
    HWND list = Open(face, clock.id(), 9, "frmOptions", "Alarm Item");
    ASSERT_NE(list, nullptr);
    PostMessageA(list, WM_COMMAND, MAKEWPARAM(alarms::kListOk, BN_CLICKED), 0);
    ASSERT_TRUE(driver::WaitFor(TaskRegistered, 10000));
    std::ostringstream definition;
    definition << std::ifstream(driver::WakeTaskFile(), std::ios::binary).rdbuf();
    EXPECT_NE(definition.str().find("<WakeToRun>true</WakeToRun>"), std::string::npos) << definition.str();
    SetWakeOption(face, clock.id(), false, false);
    SetWakeOption(face, clock.id(), true, true);

    ShowWindow(face, SW_MINIMIZE);
    ASSERT_TRUE(driver::WaitFor([&] { return IsIconic(face) != FALSE; }, 10000));
    driver::Process woken;
    ASSERT_TRUE(woken.Start(driver::ProgramPath("zentaro.exe"), {}, "/wake"));
    EXPECT_TRUE(woken.WaitExit(30000));
    EXPECT_TRUE(IsIconic(face)) << "the running clock stays minimised";
    PostMessageA(face, WM_CLOSE, 0, 0);
    EXPECT_TRUE(clock.WaitExit(20000));
    EXPECT_FALSE(TaskRegistered()) << "the clock ended: removed";
}

}  // namespace
