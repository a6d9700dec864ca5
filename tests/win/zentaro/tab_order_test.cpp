// Every dialog and tool window of the clock by keyboard: the Tab order follows reading order
// and no two controls of one window share an access key.
#include "alarms/AlarmActions.h"
#include "alarms/AlarmEditor.h"
#include "alarms/AlarmList.h"
#include "alarms/MissedAlarms.h"
#include "alarms/ShutdownCountdown.h"
#include "breaksettings/BreakSettingsWindow.h"
#include "common/SystemSeams.h"
#include "face/OptionsDialog.h"
#include "tests/win/support/KeyboardOrder.h"
#include "tests/win/support/TestSupport.h"
#include "tools/CalendarTool.h"
#include "tools/SystemTimeTool.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using testing_support::PumpPending;

// The visible top-level windows of this thread but tool tips.
std::set<HWND> ShownWindows() {
    std::set<HWND> shown;
    EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM data) {
        char cls[32] = {};
        GetClassNameA(w, cls, sizeof cls);
        if (IsWindowVisible(w) && std::string(cls) != "tooltips_class32") reinterpret_cast<std::set<HWND>*>(data)->insert(w);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&shown));
    return shown;
}

// The check of the window being opened: run from a timer on the first shown window that was not
// there before, so that a modal one is checked inside its own loop, and then closed.
std::set<HWND> g_before;
std::function<void(HWND)> g_check;

void CALLBACK VisitTick(HWND, UINT, UINT_PTR, DWORD) {
    for (HWND w : ShownWindows()) {
        if (!g_check || g_before.count(w)) continue;
        std::exchange(g_check, nullptr)(w);
        PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
        PostMessageA(w, WM_CLOSE, 0, 0);
    }
}

// Each window's controls in reading order (top to bottom, left to right within a row, a
// frame's controls together), and the access keys its captions show, none twice.
struct Expected {
    const char* window;
    std::function<void()> open;
    std::vector<int> tabOrder;
    std::string accessKeys;
    int initialFocus = 0;  // the control that has the focus when the window opens; 0: not checked
};

TEST(TabOrderTest, EveryWindowTabsInReadingOrderAndNoTwoControlsShareAnAccessKey) {
    testing_support::ClearUserRegistry();
    sys::ScopedSeams seams;
    seams->exitWindows = [](UINT, DWORD) { return TRUE; };
    seams->enableShutdownPrivilege = [] { return TRUE; };
    seams->playSound = [](const void*, HMODULE, DWORD) { return TRUE; };
    testing_support::TempDir dir;
    alarms::AlarmItem missed;
    missed.itemState = 1;
    missed.notifyText = "Tea";
    const std::string ini = dir.file("stop.ini"), directory = dir.path();
    const Expected rows[] = {
        {"options", [] { options::ShowOptionsDialog(nullptr, [] {}); },
         {6, 5, 4, 7, 8, 9, 10, 11, 12, 13, 14, 1, 2, 3}, "ABCIOTUVW", 6},
        {"alarm list", [] { alarms::ShowAlarmList(nullptr); }, {100, 101, 102, 103, 105, 106, 1, 2, 107}, "ACDMNOPS"},
        {"item editor", [] { alarms::ShowAddEditor(nullptr); },
         {200, 201, 202, 203, 204, 205, 206, 210, 220, 221, 222, 223, 225, 227, 229, 1, 2}, "CO"},
        {"break settings", [=] { breaksettings::ShowBreakSettings(nullptr, {ini, directory}); },
         {202, 206, 207, 208, 209, 210, 211, 212, 213, 214, 215, 216, 218, 220, 222, 223, 224, 228, 229, 1, 2}, "COSW"},
        {"calendar", [] { tools::ShowCalendarTool(nullptr); }, {1, 2, 5, 4}, "O", 1},
        {"time tool", [] { tools::ShowSystemTimeTool(nullptr); }, {4, 5, 1, 2, 3}, "ACO", 4},
        {"reminder", [] { alarms::ShowReminderText(nullptr, "Tea"); }, {2002, 1, 2001}, "OS", IDOK},
        {"countdown", [] { alarms::ShowShutdownCountdown(nullptr, false, ""); }, {1, 2}, "CO"},
        {"missed alarms", [=] { alarms::ShowMissedAlarms(nullptr, {{missed, 0, 1}}); }, {300, 1}, "O"},
    };
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, VisitTick);
    for (const Expected& row : rows) {
        SCOPED_TRACE(row.window);
        g_before = ShownWindows();
        g_check = [&](HWND window) {
            EXPECT_EQ(row.initialFocus ? GetDlgCtrlID(GetFocus()) : 0, row.initialFocus);
            EXPECT_EQ(testing_support::AccessKeys(window), row.accessKeys);
            EXPECT_EQ(testing_support::TabOrder(window), row.tabOrder);
        };
        row.open();
        EXPECT_TRUE(testing_support::PumpUntil([] { return !g_check; }, 10000)) << "the window never opened";
        g_check = nullptr;
        PumpPending();
    }
    KillTimer(nullptr, timer);
    alarms::CloseAlarmList();
    for (HWND w : {alarms::AddEditorWindow(), alarms::ModifyEditorWindow(), alarms::MissedAlarmsWindow(),
                   breaksettings::BreakSettingsWindow()})
        if (w) DestroyWindow(w);
    PumpPending();
}

}  // namespace
