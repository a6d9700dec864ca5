// The scheduler as the main window drives it: items from the registry, the clock from the
// clock seam, ticks as WM_TIMER messages to a window, and a blocking action that runs a modal
// dialog.
#include "alarms/AlarmStore.h"
#include "alarms/Scheduler.h"
#include "common/SystemSeams.h"
#include "tests/win/support/TestSupport.h"
#include "tests/win/zentaro/alarms_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using alarms::AlarmItem;
using alarms_test::DailyReminder;

// Monday 7 December 2026, or another day of that month.
SYSTEMTIME Clock(WORD hour, WORD minute, WORD second, WORD ms = 0, WORD day = 7) {
    return testing_support::LocalTime(2026, 12, day, hour, minute, second, ms);
}

class AlarmSchedulerTest : public alarms_test::AlarmStoreTest {
protected:
    AlarmSchedulerTest() { now = Clock(0, 0, 0); }
    void SetUp() override {
        AlarmStoreTest::SetUp();
        // The scheduler lives for the process: a tick in another minute makes it forget what
        // earlier tests fired.
        alarms::LoadAlarmItems();
        alarms::CheckAlarms();
        alarms::SetMissedAlarmsHandler([this](const std::vector<alarms::MissedItem>& items) {
            for (const auto& m : items) missed.push_back(m.item.notifyText);
        });
        alarms::SetAlarmItemHandler([this](const AlarmItem& item, int index) {
            fired.push_back(item.notifyText);
            indexes.push_back(index);
            if (during) during(item);
        });
    }
    void TearDown() override {
        alarms::SetAlarmItemHandler({});
        alarms::SetMissedAlarmsHandler({});
        AlarmStoreTest::TearDown();
    }
    void TickAt(const SYSTEMTIME& t) {
        now = t;
        alarms::CheckAlarms();
    }

    std::vector<std::string> fired, missed;
    std::vector<int> indexes;
    std::function<void(const AlarmItem&)> during;
};

TEST_F(AlarmSchedulerTest, DailyItemFiresOnceWhateverTheTicks) {
    alarms::AppendAlarmItem(DailyReminder(7, 30, "daily"));
    alarms::LoadAlarmItems();
    struct Case {
        const char* what;
        std::vector<SYSTEMTIME> ticks;
        std::size_t firings;
    } cases[] = {
        {"ticks at :59.9 and :01.1", {Clock(7, 29, 59, 900), Clock(7, 30, 1, 100)}, 1},
        {"two ticks in second 0", {Clock(7, 30, 0, 10), Clock(7, 30, 0, 990)}, 1},
        {"a tick every second of the minute and the next", {}, 1},
        {"no tick in the minute: fires late", {Clock(7, 29, 30), Clock(7, 31, 30)}, 1},
    };
    for (int s = 0; s < 120; ++s) cases[2].ticks.push_back(Clock(7, 30 + s / 60, s % 60));
    WORD day = 7;
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        fired.clear();
        ++day;  // each case on a day of its own
        TickAt(Clock(6, 0, 0, 0, day));
        for (SYSTEMTIME& t : c.ticks) {
            t.wDay = day;
            TickAt(t);
        }
        EXPECT_EQ(fired.size(), c.firings);
    }
}

TEST_F(AlarmSchedulerTest, ReloadDuringTheMinuteDoesNotRefire) {
    alarms::AppendAlarmItem(DailyReminder(7, 30, "daily"));
    alarms::LoadAlarmItems();
    TickAt(Clock(7, 30, 0));
    // At :20 an edit is saved: another item is appended and the list reloads the scheduler.
    now = Clock(7, 30, 20);
    alarms::AppendAlarmItem(DailyReminder(8, 0, "later"));
    alarms::LoadAlarmItems();
    TickAt(Clock(7, 30, 20));
    TickAt(Clock(7, 30, 21));
    EXPECT_EQ(fired, std::vector<std::string>{"daily"});
    // Disabling it through the store and reloading stops it on the next day.
    alarms::SetAlarmItemState(1, 0);
    alarms::LoadAlarmItems();
    TickAt(Clock(7, 30, 0, 0, 8));
    EXPECT_EQ(fired, std::vector<std::string>{"daily"});
}

TEST_F(AlarmSchedulerTest, DamagedItemDoesNotSilenceTheOthers) {
    alarms::AppendAlarmItem(DailyReminder(7, 30, "first"));
    alarms::AppendAlarmItem(DailyReminder(7, 30, "damaged"));
    alarms::AppendAlarmItem(DailyReminder(7, 30, "third"));
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Zentaro\\Data", 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    RegDeleteValueA(key, "Data2");
    RegCloseKey(key);
    alarms::LoadAlarmItems();
    TickAt(Clock(7, 30, 0));
    EXPECT_EQ(fired, (std::vector<std::string>{"first", "third"}));
    EXPECT_EQ(indexes, (std::vector<int>{1, 3}));
}

// The main window's part: a window whose timer calls the scheduler, as the clock's tick does.
// Each tick moves the seam clock on by one second and posts the next tick until 7:31:05, so
// the ticks reach the window through whichever message loop runs, the modal dialog's too. A
// tick at 7:30:40 or later ends the blocking dialog.
constexpr UINT_PTR kTickTimer = 8;
HWND g_blocking = nullptr;

LRESULT CALLBACK TickWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_TIMER && wp == kTickTimer) {
        auto* clock = reinterpret_cast<SYSTEMTIME*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
        if (++clock->wSecond == 60) {
            clock->wSecond = 0;
            ++clock->wMinute;
        }
        if (g_blocking && (clock->wSecond >= 40 || clock->wMinute > 30)) EndDialog(g_blocking, 0);
        // The next tick is queued before the scheduler runs: an action that blocks in a modal
        // dialog keeps receiving ticks, as it does from the clock's timer.
        if (clock->wMinute < 31 || clock->wSecond < 5) PostMessageA(wnd, WM_TIMER, kTickTimer, 0);
        alarms::CheckAlarms();
        return 0;
    }
    return DefWindowProcA(wnd, msg, wp, lp);
}

// A modal dialog from an empty template that the ticks end.
INT_PTR CALLBACK BlockingDialogProc(HWND dlg, UINT msg, WPARAM, LPARAM) {
    if (msg == WM_INITDIALOG) {
        g_blocking = dlg;
        return TRUE;
    }
    if (msg == WM_DESTROY) g_blocking = nullptr;
    return FALSE;
}

TEST_F(AlarmSchedulerTest, TwoRemindersInOneMinuteBothFireWhileTheFirstBlocks) {
    alarms::AppendAlarmItem(DailyReminder(7, 30, "first"));
    alarms::AppendAlarmItem(DailyReminder(7, 30, "second"));
    alarms::LoadAlarmItems();

    WNDCLASSA wc{};
    wc.lpfnWndProc = TickWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "AlarmTickWindow";
    RegisterClassA(&wc);
    HWND main = CreateWindowA("AlarmTickWindow", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                              wc.hInstance, nullptr);
    ASSERT_NE(main, nullptr);
    now = Clock(7, 29, 58);
    SetWindowLongPtrA(main, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&now));

    std::vector<std::string> firedWhileFirstOpen;
    during = [&](const AlarmItem& item) {
        if (item.notifyText != "first") return;
        // An empty in-memory template, as the system's dialogs are built.
        struct {
            DLGTEMPLATE t;
            WORD menu, cls, title;
        } tmpl{};
        tmpl.t.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
        DialogBoxIndirectParamA(GetModuleHandleA(nullptr), &tmpl.t, main, BlockingDialogProc,
                                reinterpret_cast<LPARAM>(&now));
        firedWhileFirstOpen = fired;
    };
    PostMessageA(main, WM_TIMER, kTickTimer, 0);
    EXPECT_TRUE(testing_support::PumpUntil([&] { return now.wMinute == 31 && now.wSecond >= 5; }, 20000));
    DestroyWindow(main);

    EXPECT_EQ(firedWhileFirstOpen, (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(fired, (std::vector<std::string>{"first", "second"}));
}

}  // namespace
