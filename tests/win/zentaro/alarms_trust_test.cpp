// Alarms that can be trusted, under Wine: one capped way to read the store, the editor that
// keeps to its item, the "Missed alarms" window, snooze on the reminder and the tray tip.
#include "alarms/AlarmActions.h"
#include "alarms/AlarmEditor.h"
#include "alarms/AlarmStore.h"
#include "alarms/MissedAlarms.h"
#include "alarms/Scheduler.h"
#include "apps/zentaro/TrayIcon.h"
#include "common/Registry.h"
#include "common/SystemSeams.h"
#include "common/Settings.h"
#include "tests/win/support/TestSupport.h"
#include "tests/win/support/TextFit.h"
#include "tests/win/zentaro/alarms_fixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using alarms::AlarmItem;
using alarms_test::DailyReminder;

constexpr char kDataKey[] = "Software\\Zentaro\\Data";

SYSTEMTIME Monday(WORD hour, WORD minute) { return testing_support::LocalTime(2026, 12, 7, hour, minute, 0); }

std::int64_t MinuteOf(const SYSTEMTIME& t) { return alarms::MinuteSerial(alarms::ToLocalMoment(t)); }

void SetRaw(const char* name, DWORD type, const std::string& data) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kDataKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()));
    RegCloseKey(key);
}

// The value as stored: its type and bytes.
std::string Raw(const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kDataKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return "missing";
    DWORD type = 0, size = 0;
    RegQueryValueExA(key, name, nullptr, &type, nullptr, &size);
    std::string data(size, '\0');
    RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    RegCloseKey(key);
    return std::to_string(type) + ":" + data;
}

// Answers the first message box of this thread titled `title` with `answer`, from a timer that
// the box's own message loop runs; counts the boxes it answered.
struct MessageBoxAnswer {
    MessageBoxAnswer(const char* title, int answer) {
        title_ = title;
        answer_ = answer;
        answered_ = 0;
        timer_ = SetTimer(nullptr, 0, 20, Tick);
    }
    ~MessageBoxAnswer() { KillTimer(nullptr, timer_); }
    int answered() const { return answered_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        HWND box = testing_support::FindOwnWindow("#32770", title_);
        if (!box) return;
        ++answered_;
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer_, BN_CLICKED), 0);
    }
    UINT_PTR timer_;
    static inline const char* title_ = nullptr;
    static inline int answer_ = 0;
    static inline int answered_ = 0;
};

class AlarmTrustTest : public alarms_test::AlarmStoreTest {
protected:
    void SetUp() override {
        AlarmStoreTest::SetUp();
        now = Monday(8, 0);
        alarms::LoadAlarmItems();
        alarms::CheckAlarms();
        alarms::SetAlarmItemHandler([this](const AlarmItem& item, int) { fired.push_back(item.notifyText); });
    }
    void TearDown() override {
        alarms::SetAlarmItemHandler({});
        alarms::SetMissedAlarmsHandler({});
        CloseAlarmWindows();
        if (HWND missed = alarms::MissedAlarmsWindow()) DestroyWindow(missed);
        AlarmStoreTest::TearDown();
    }
    static void Press(HWND w, int id) {
        SendMessageA(w, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(w, id)));
    }
    std::vector<std::string> fired;
};

TEST_F(AlarmTrustTest, ListSchedulerAndEditorReadTheStoreAlikeAndLeaveItAsItIs) {
    struct Case {
        const char* what;
        const char* name;
        DWORD type;
        std::string data;
        bool recordValid;
        std::string text;
    } cases[] = {
        {"record stored as text", "Data1", REG_SZ, std::string("0123456789ab") + '\0', false, "keep"},
        {"record stored as a number", "Data1", REG_DWORD, std::string("\1\0\0\0", 4), false, "keep"},
        {"record of 16 MB", "Data1", REG_BINARY, std::string(16 << 20, '\1'), false, "keep"},
        {"text stored as a number", "Text1", REG_DWORD, std::string("\5\0\0\0", 4), true, ""},
        {"text stored expandable", "Text1", REG_EXPAND_SZ, std::string("%TEMP%") + '\0', true, ""},
        {"text over the read limit", "Text1", REG_SZ, std::string(alarms::kMaxStoredValue + 10, 't'), true, ""},
        {"text long but within the limit", "Text1", REG_SZ, std::string(5000, 't'), true, std::string(1023, 't')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testing_support::ClearUserRegistry();
        alarms::AppendAlarmItem(DailyReminder(7, 30, "keep"));
        SetRaw(c.name, c.type, c.data);
        const std::string stored = Raw(c.name);

        bool valid = true;
        const AlarmItem editorView = alarms::ReadAlarmItem(1, &valid);
        const alarms::AlarmItems listView = alarms::ReadAllAlarmItems(1);
        alarms::LoadAlarmItems();
        EXPECT_EQ(valid, c.recordValid);
        EXPECT_EQ(editorView.notifyText, c.text);
        ASSERT_EQ(listView.Count(), 1);
        EXPECT_EQ(*listView.At(1), editorView);
        EXPECT_EQ(*alarms::ScheduledItems().At(1), editorView);
        EXPECT_EQ(alarms::ScheduledItems().At(1)->Enabled(), c.recordValid);
        alarms::SetAlarmItemState(1, 1);  // the list's Apply
        EXPECT_EQ(Raw(c.name), stored) << "reading and Apply leave the value alone";
    }
}

TEST_F(AlarmTrustTest, TheEditorKeepsToItsItem) {
    AlarmItem changed = DailyReminder(9, 0, "changed by someone else");
    struct Case {
        const char* what;
        std::function<void()> meanwhile;
        int answer;  // 0: no question expected
        std::vector<std::string> texts;
    } cases[] = {
        {"unchanged: the edit overwrites it", [] {}, 0, {"a", "edited"}},
        {"only disabled in the list: the edit overwrites it", [] { alarms::SetAlarmItemState(2, 0); }, 0,
         {"a", "edited"}},
        {"deleted, the last item moved into its number; Yes adds the edit", [] { alarms::DeleteAlarmItem(1); }, IDYES,
         {"b", "edited"}},
        {"changed; No keeps the other edit", [&] { alarms::WriteAlarmItem(2, changed); }, IDNO,
         {"a", "changed by someone else"}},
        {"deleted and nothing moved; No adds nothing", [] { alarms::DeleteAlarmItem(2); }, IDNO, {"a"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testing_support::ClearUserRegistry();
        alarms::AppendAlarmItem(DailyReminder(7, 30, "a"));
        alarms::AppendAlarmItem(DailyReminder(8, 0, "b"));
        HWND editor = alarms::ShowModifyEditor(nullptr, 2);
        ASSERT_NE(editor, nullptr);
        SetDlgItemTextA(editor, alarms::kEditorText, "edited");
        c.meanwhile();
        MessageBoxAnswer answer("Alarm item ", c.answer ? c.answer : IDNO);
        Press(editor, alarms::kEditorOk);
        EXPECT_EQ(answer.answered(), c.answer ? 1 : 0);
        std::vector<std::string> texts;
        for (int n = 1; n <= alarms::StoredItemCount(); ++n) texts.push_back(alarms::ReadAlarmItem(n).notifyText);
        EXPECT_EQ(texts, c.texts);
        CloseAlarmWindows();
    }
}

std::vector<std::string> MissedRowsShown() {
    std::vector<std::string> rows;
    HWND list = GetDlgItem(alarms::MissedAlarmsWindow(), alarms::kMissedRows);
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::string row(static_cast<std::size_t>(SendMessageA(list, LB_GETTEXTLEN, i, 0)), '\0');
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(row.data()));
        rows.push_back(row);
    }
    return rows;
}

TEST_F(AlarmTrustTest, StartUpListsWhatFellDueWhileNotRunningInOneWindow) {
    testing_support::ClearUserRegistry();
    AlarmItem shutdown = DailyReminder(7, 10, "home");
    shutdown.notifyMode = alarms::kNotifyShutdown;
    alarms::AppendAlarmItem(DailyReminder(7, 0, "standup"));
    alarms::AppendAlarmItem(shutdown);
    alarms::SetMissedAlarmsHandler([](const std::vector<alarms::MissedItem>& m) { alarms::ShowMissedAlarms(nullptr, m); });
    now = Monday(7, 20);

    alarms::StartScheduler();  // never ran before: nothing to list
    alarms::CheckAlarms();
    EXPECT_EQ(alarms::MissedAlarmsWindow(), nullptr);

    settings::WriteText(settings::kLoadKey, alarms::kLastTickName, std::to_string(MinuteOf(Monday(6, 50))));
    alarms::StartScheduler();
    alarms::CheckAlarms();
    ASSERT_NE(alarms::MissedAlarmsWindow(), nullptr);
    EXPECT_EQ(testing_support::ClippedTextReport(alarms::MissedAlarmsWindow()), "");
    EXPECT_EQ(MissedRowsShown(), (std::vector<std::string>{"Mon 12/7/2026 07:00   7:0 (Daily)|Text Hintstandup",
                                                           "Mon 12/7/2026 07:10   7:10 (Daily)|Shut down"}));
    EXPECT_TRUE(fired.empty()) << "nothing missed is run";

    // Everything reported later joins the same window, summarised.
    std::vector<alarms::MissedItem> many(alarms::kMaxItemCount, {DailyReminder(6, 0, "x"), MinuteOf(Monday(6, 0)), 7});
    alarms::ShowMissedAlarms(nullptr, many);
    const auto rows = MissedRowsShown();
    ASSERT_EQ(rows.size(), alarms::kMaxMissedRows + 1);
    EXPECT_EQ(rows.back(), "... and " + std::to_string(alarms::kMaxItemCount + 2 - alarms::kMaxMissedRows) + " more");
}

TEST_F(AlarmTrustTest, SnoozeShowsTheReminderOnceMoreAfterTheChosenMinutes) {
    static HWND reminder = nullptr;
    static LRESULT defaultId = 0;
    reminder = nullptr;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR id, DWORD) {
        HWND dlg = testing_support::FindOwnWindow("#32770", alarms::kReminderTitle);
        if (!dlg) return;
        KillTimer(nullptr, id);
        reminder = dlg;
        defaultId = SendMessageA(dlg, DM_GETDEFID, 0, 0);
        SendDlgItemMessageA(dlg, alarms::kReminderSnoozeChoiceId, CB_SETCURSEL, 1, 0);  // 10 minutes
        PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(alarms::kReminderSnoozeId, BN_CLICKED), 0);
    });
    alarms::ShowReminderText(nullptr, "tea");
    KillTimer(nullptr, timer);
    ASSERT_NE(reminder, nullptr);
    EXPECT_EQ(LOWORD(defaultId), IDOK) << "OK stays the default button";
    // Ten minutes of real time, kept as a UTC instant with the whole text.
    const std::int64_t due = alarms::ReadClocks().utcSec + 600;
    ASSERT_EQ(alarms::SnoozedReminders().size(), 1u);
    EXPECT_EQ(alarms::SnoozedReminders()[0], (alarms::SnoozedReminder{due, "tea"}));
    EXPECT_EQ(registry::RegReadWholeText(HKEY_CURRENT_USER, alarms::kSnoozedKey, "1"), std::to_string(due) + " tea");
    EXPECT_EQ(alarms::NextAlarmText(), "Next alarm: Mon 08:10");

    for (const SYSTEMTIME& t : {Monday(8, 9), Monday(8, 10), Monday(8, 11)}) {
        now = t;
        alarms::CheckAlarms();
    }
    EXPECT_EQ(fired, std::vector<std::string>{"tea"});
    EXPECT_TRUE(alarms::SnoozedReminders().empty());
    EXPECT_EQ(registry::RegReadWholeText(HKEY_CURRENT_USER, alarms::kSnoozedKey, "1"), std::nullopt);
}

TEST_F(AlarmTrustTest, WhatTheProgramKeepsSurvivesARestart) {
    // What the previous run left in the registry, then a start at 7:30:20 with a daily 7:30 reminder.
    const std::string long1023(1023, 'r');
    const std::int64_t minute730 = MinuteOf(Monday(7, 30));
    const struct { const char* what; std::function<void()> previousRun; std::vector<std::string> fired, snoozed; } cases[] = {
        {"fired at 7:30:00, ended, started again in the same minute",
         [&] {
             now = Monday(7, 30);
             alarms::StartScheduler();
             alarms::CheckAlarms();
             alarms::SnoozeReminder(long1023, 30);
         },
         {"daily"}, {long1023}},
        {"the previous version ticked in this minute (its last tick and snooze, no ledger)",
         [&] {
             settings::WriteText(settings::kLoadKey, alarms::kLastTickName, std::to_string(minute730));
             settings::WriteText(alarms::kOldSnoozeKey, "1", std::to_string(minute730 + 5) + " old tea");
         },
         {}, {"old tea"}},
        {"the previous version last ticked a minute before",
         [&] { settings::WriteText(settings::kLoadKey, alarms::kLastTickName, std::to_string(minute730 - 1)); }, {"daily"}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        testing_support::ClearUserRegistry();
        alarms::StartScheduler();  // a first start ever
        alarms::AppendAlarmItem(DailyReminder(7, 30, "daily"));
        registry::RegDeleteSubKey(HKEY_CURRENT_USER, settings::kRootKey, "Ledger");
        fired.clear();
        c.previousRun();
        now = testing_support::LocalTime(2026, 12, 7, 7, 30, 20);
        alarms::StartScheduler();
        alarms::CheckAlarms();
        std::vector<std::string> snoozed;
        for (const auto& s : alarms::SnoozedReminders()) snoozed.push_back(s.text);
        EXPECT_EQ(fired, c.fired);
        EXPECT_EQ(snoozed, c.snoozed);
        EXPECT_EQ(registry::RegReadWholeText(HKEY_CURRENT_USER, alarms::kOldSnoozeKey, "1"), std::nullopt);
    }
    alarms::StartScheduler();
}

TEST_F(AlarmTrustTest, TrayTipNamesTheNextAlarm) {
    std::vector<std::string> tips;
    seams->notifyIcon = [&](DWORD, NOTIFYICONDATAA* data) {
        tips.push_back(data->szTip);
        return TRUE;
    };
    zentaro::TrayIcon tray;
    tray.Add(nullptr);
    tray.Remove();
    alarms::AppendAlarmItem(DailyReminder(7, 30, "daily"));
    alarms::LoadAlarmItems();
    tray.Add(nullptr);
    alarms::AppendAlarmItem(DailyReminder(9, 0, "later today"));
    alarms::LoadAlarmItems();
    tray.RefreshTip();
    tray.RefreshTip();  // unchanged: not sent again
    tray.Remove();
    const std::string tip = std::string(zentaro::kTrayTip) + "\n";
    EXPECT_EQ(tips, (std::vector<std::string>{zentaro::kTrayTip, zentaro::kTrayTip, tip + "Next alarm: Tue 07:30",
                                              tip + "Next alarm: Mon 09:00", tip + "Next alarm: Mon 09:00"}));
}

}  // namespace
