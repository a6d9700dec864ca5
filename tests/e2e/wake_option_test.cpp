// Waking the computer for alarms, seen from outside the clock: with the option ticked in the
// options dialog and an item added in the editor, the user's wake task is registered; it goes
// when the option is cleared and when the clock ends. What the task starts leaves a running
// clock as it is. (The clock's own wake timer is not visible from another process.)
#include "alarms/AlarmEditor.h"
#include "alarms/AlarmList.h"
#include "face/OptionsDialog.h"
#include "tests/e2e/driver/Driver.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string TaskFile() { return driver::WakeTaskFile(); }
bool TaskRegistered() { return GetFileAttributesA(TaskFile().c_str()) != INVALID_FILE_ATTRIBUTES; }

// Opens the clock's window `command` and returns the window titled `title` that it shows.
HWND Open(HWND face, DWORD clock, UINT command, const char* cls, const char* title) {
    PostMessageA(face, WM_COMMAND, command, 0);
    return driver::WaitForWindow(cls, title, 10000, clock);
}

void SetWakeOption(HWND face, DWORD clock, bool on) {
    HWND dlg = Open(face, clock, 3, "#32770", options::kCaption);
    ASSERT_NE(dlg, nullptr);
    HWND box = driver::ChildById(dlg, options::kIdWakeForAlarms);
    if ((SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED) != on) SendMessageA(box, BM_CLICK, 0, 0);
    PostMessageA(dlg, WM_COMMAND, options::kIdOk, 0);
    ASSERT_TRUE(driver::WaitForNoWindow("#32770", options::kCaption, 10000));
}

TEST(WakeOption, TheTaskIsThereWhileTheOptionIsOnAndAnItemPending) {
    driver::ResetZentaroSettings();
    DeleteFileA(TaskFile().c_str());
    driver::Process clock;
    HWND face = driver::StartClock(clock);
    ASSERT_NE(face, nullptr);
    SetWakeOption(face, clock.id(), true);

    // A daily reminder twelve hours away, so it does not fire during the test.
    HWND list = Open(face, clock.id(), 9, "frmOptions", "Alarm Item");
    ASSERT_NE(list, nullptr);
    PostMessageA(list, WM_COMMAND, MAKEWPARAM(alarms::kListAdd, BN_CLICKED), 0);
    HWND editor = driver::WaitForWindow("frmAdditem", "Alarm item ", 10000, clock.id());
    ASSERT_NE(editor, nullptr);
    SYSTEMTIME now{};
    GetLocalTime(&now);
    SendMessageA(driver::ChildById(editor, alarms::kEditorOption0 + 1), BM_CLICK, 0, 0);  // "Daily"
    const std::string hour = std::to_string((now.wHour + 12) % 24);
    SendMessageA(driver::ChildById(editor, alarms::kEditorHour), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(hour.c_str()));
    SendMessageA(driver::ChildById(editor, alarms::kEditorMinute), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("0"));
    SendMessageA(driver::ChildById(editor, alarms::kEditorText), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Wake up"));
    PostMessageA(editor, WM_COMMAND, MAKEWPARAM(alarms::kEditorOk, BN_CLICKED), 0);
    ASSERT_TRUE(driver::WaitFor(TaskRegistered, 10000)) << TaskFile();
    std::ostringstream definition;
    definition << std::ifstream(TaskFile(), std::ios::binary).rdbuf();
    EXPECT_NE(definition.str().find("<WakeToRun>true</WakeToRun>"), std::string::npos) << definition.str();

    SetWakeOption(face, clock.id(), false);
    EXPECT_TRUE(driver::WaitFor([] { return !TaskRegistered(); }, 10000)) << "cleared: removed";
    SetWakeOption(face, clock.id(), true);
    ASSERT_TRUE(driver::WaitFor(TaskRegistered, 10000)) << "ticked again: registered";

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
