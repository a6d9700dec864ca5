// Waking the computer for alarms, seen from outside the clock: with the option switched on in
// the options dialog and an item added in the editor, the user's wake task is registered
// (waking the computer to run); switching the option off removes it, and so does ending the
// clock. (The clock's waitable timer is in its own process and not visible from here.)
#include "alarms/AlarmEditor.h"
#include "alarms/AlarmList.h"
#include "face/OptionsDialog.h"
#include "tests/e2e/driver/Driver.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr UINT kCommandOptions = 3, kCommandAlarmList = 9;

// Where the task scheduler keeps the definition of the user's wake task.
std::string TaskFile() {
    char user[257] = {};
    DWORD size = sizeof user;
    GetUserNameA(user, &size);
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    return std::string(windows) + "\\system32\\tasks\\Zentaro wake (" + user + ")";
}

std::string TaskDefinition() {
    std::ifstream in(TaskFile(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool TaskRegistered() { return GetFileAttributesA(TaskFile().c_str()) != INVALID_FILE_ATTRIBUTES; }

// Ticks or clears "Wake the computer for alarms(&W)" in the options dialog and presses OK.
void SetWakeOption(HWND face, DWORD clock, bool on) {
    PostMessageA(face, WM_COMMAND, kCommandOptions, 0);
    HWND dlg = driver::WaitForWindow("#32770", options::kCaption, 10000, clock);
    ASSERT_NE(dlg, nullptr);
    HWND box = driver::ChildById(dlg, options::kIdWakeForAlarms);
    ASSERT_NE(box, nullptr);
    if ((SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED) != on) SendMessageA(box, BM_CLICK, 0, 0);
    PostMessageA(dlg, WM_COMMAND, options::kIdOk, 0);
    ASSERT_TRUE(driver::WaitForNoWindow("#32770", options::kCaption, 10000));
}

void AddDailyReminder(HWND face, DWORD clock, int hour, int minute) {
    PostMessageA(face, WM_COMMAND, kCommandAlarmList, 0);
    HWND list = driver::WaitForWindow("frmOptions", "Alarm Item", 10000, clock);
    ASSERT_NE(list, nullptr);
    PostMessageA(list, WM_COMMAND, MAKEWPARAM(alarms::kListAdd, BN_CLICKED), 0);
    HWND editor = driver::WaitForWindow("frmAdditem", "Alarm item ", 10000, clock);
    ASSERT_NE(editor, nullptr);
    SendMessageA(driver::ChildById(editor, alarms::kEditorOption0 + 1), BM_CLICK, 0, 0);  // "Daily"
    for (auto [id, text] : {std::pair{alarms::kEditorText, std::string("Wake up")},
                            std::pair{alarms::kEditorHour, std::to_string(hour)},
                            std::pair{alarms::kEditorMinute, std::to_string(minute)}})
        SendMessageA(driver::ChildById(editor, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    PostMessageA(editor, WM_COMMAND, MAKEWPARAM(alarms::kEditorOk, BN_CLICKED), 0);
    ASSERT_TRUE(driver::WaitForNoWindow("frmAdditem", "Alarm item ", 10000));
    if (HWND open = driver::WaitForWindow("frmOptions", "Alarm Item", 10000, clock))
        PostMessageA(open, WM_CLOSE, 0, 0);
}

TEST(WakeOption, TheTaskIsThereWhileTheOptionIsOnAndAnItemPending) {
    driver::ResetZentaroSettings();
    DeleteFileA(TaskFile().c_str());
    driver::Process clock;
    HWND face = driver::StartClock(clock);
    ASSERT_NE(face, nullptr);

    SetWakeOption(face, clock.id(), true);
    Sleep(1500);  // a few ticks with nothing pending
    EXPECT_FALSE(TaskRegistered()) << "nothing pending, nothing armed";

    // Far from the current minute, so it does not fire during the test.
    SYSTEMTIME now{};
    GetLocalTime(&now);
    AddDailyReminder(face, clock.id(), (now.wHour + 12) % 24, 0);
    ASSERT_TRUE(driver::WaitFor(TaskRegistered, 10000)) << TaskFile();
    EXPECT_NE(TaskDefinition().find("<WakeToRun>true</WakeToRun>"), std::string::npos) << TaskDefinition();

    SetWakeOption(face, clock.id(), false);
    EXPECT_TRUE(driver::WaitFor([] { return !TaskRegistered(); }, 10000)) << "switched off: removed";

    SetWakeOption(face, clock.id(), true);
    ASSERT_TRUE(driver::WaitFor(TaskRegistered, 10000)) << "switched on again: registered";

    // What the task starts at the wake ends at once and leaves the running clock put away.
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
