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
#include <vector>

namespace {

using testing_support::PumpPending;

// Finds the newest visible top-level window of this thread that was not there before, runs the
// check on it and closes it (modal ones from inside their own loop).
struct Visit {
    std::set<HWND> before;
    std::function<void(HWND)> check;
    bool done = false;
};
Visit* g_visit = nullptr;

HWND NewWindow(const std::set<HWND>& before) {
    struct Search {
        const std::set<HWND>* before;
        HWND found;
    } search{&before, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM data) {
        auto* s = reinterpret_cast<Search*>(data);
        if (!IsWindowVisible(w) || s->before->count(w)) return TRUE;
        char cls[32] = {};
        GetClassNameA(w, cls, sizeof cls);
        if (std::string(cls) == "tooltips_class32") return TRUE;
        s->found = w;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::set<HWND> ThreadWindows() {
    std::set<HWND> all;
    EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM data) {
        reinterpret_cast<std::set<HWND>*>(data)->insert(w);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&all));
    return all;
}

void CALLBACK VisitTick(HWND, UINT, UINT_PTR timer, DWORD) {
    if (!g_visit || g_visit->done) return;
    HWND w = NewWindow(g_visit->before);
    if (!w) return;
    g_visit->done = true;
    KillTimer(nullptr, timer);
    g_visit->check(w);
    if (IsWindow(w)) PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
    if (IsWindow(w)) PostMessageA(w, WM_CLOSE, 0, 0);
}

// Opens a window with `open` (modal or not) and runs `check` on it.
void VisitWindow(const std::function<void()>& open, const std::function<void(HWND)>& check) {
    Visit visit{ThreadWindows(), check};
    g_visit = &visit;
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, VisitTick);
    open();
    testing_support::PumpUntil([&] { return visit.done; }, 10000);
    KillTimer(nullptr, timer);
    g_visit = nullptr;
    EXPECT_TRUE(visit.done) << "the window never opened";
    PumpPending();
}

class TabOrderTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::ClearUserRegistry();
        seams_->exitWindows = [](UINT, DWORD) { return TRUE; };
        seams_->enableShutdownPrivilege = [] { return TRUE; };
        seams_->playSound = [](const void*, HMODULE, DWORD) { return TRUE; };
    }
    void TearDown() override {
        alarms::CloseAlarmList();
        for (HWND w : {alarms::AddEditorWindow(), alarms::ModifyEditorWindow(), alarms::MissedAlarmsWindow(),
                       breaksettings::BreakSettingsWindow()})
            if (w) DestroyWindow(w);
        PumpPending();
    }
    sys::ScopedSeams seams_;
    testing_support::TempDir dir_;
};

// Each window's controls in reading order (top to bottom, left to right within a row, a
// frame's controls together), and the access keys its captions show, none twice.
struct Expected {
    const char* window;
    std::function<void()> open;
    std::vector<int> tabOrder;
    std::string accessKeys;
    int initialFocus = 0;  // the control that has the focus when the window opens; 0: not checked
};

TEST_F(TabOrderTest, EveryWindowTabsInReadingOrderAndNoTwoControlsShareAnAccessKey) {
    alarms::AlarmItem missed;
    missed.itemState = 1;
    missed.notifyText = "Tea";
    const std::string ini = dir_.file("stop.ini"), directory = dir_.path();
    const Expected rows[] = {
        {"options", [] { options::ShowOptionsDialog(nullptr, [] {}); },
         {6, 5, 4, 7, 8, 9, 10, 11, 12, 13, 1, 2, 3}, "ABCIOTUV", 6},
        {"alarm list", [] { alarms::ShowAlarmList(nullptr); }, {100, 101, 102, 103, 105, 106, 1, 2, 107}, "ACDMNOPS"},
        {"item editor", [] { alarms::ShowAddEditor(nullptr); },
         {200, 201, 202, 203, 204, 205, 206, 210, 220, 221, 222, 223, 225, 227, 229, 1, 2}, "CO"},
        {"break settings", [=] { breaksettings::ShowBreakSettings(nullptr, {ini, directory}); },
         {202, 206, 207, 208, 209, 210, 211, 212, 213, 214, 215, 216, 218, 220, 222, 223, 224, 1, 2}, "CO"},
        {"calendar", [] { tools::ShowCalendarTool(nullptr); }, {1, 2, 5, 4}, "O", 1},
        {"time tool", [] { tools::ShowSystemTimeTool(nullptr); }, {4, 5, 1, 2, 3}, "ACO", 4},
        {"reminder", [] { alarms::ShowReminderText(nullptr, "Tea"); }, {2002, 1, 2001}, "OS", IDOK},
        {"countdown", [] { alarms::ShowShutdownCountdown(nullptr, false, ""); }, {1, 2}, "CO"},
        {"missed alarms", [=] { alarms::ShowMissedAlarms(nullptr, {{missed, 0, 1}}); }, {300, 1}, "O"},
    };
    for (const Expected& row : rows) {
        SCOPED_TRACE(row.window);
        VisitWindow(row.open, [&](HWND window) {
            if (row.initialFocus) {
                EXPECT_EQ(GetDlgCtrlID(GetFocus()), row.initialFocus);
            }
            std::string keys;
            for (const auto& [key, ids] : testing_support::AccessKeys(window)) {
                keys += key;
                EXPECT_EQ(ids.size(), 1u) << "access key " << key << " is shown by " << ids.size() << " controls";
            }
            EXPECT_EQ(keys, row.accessKeys);
            EXPECT_EQ(testing_support::TabOrder(window), row.tabOrder);
        });
    }
}

}  // namespace
