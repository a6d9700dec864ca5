// The alarm list window against the real registry store and scheduler.
#include "alarms/AlarmEditor.h"
#include "alarms/AlarmList.h"
#include "alarms/ListRow.h"
#include "alarms/AlarmStore.h"
#include "alarms/Scheduler.h"
#include "common/Registry.h"
#include "common/SystemSeams.h"
#include "tests/win/support/TestSupport.h"
#include "tests/win/support/TextFit.h"
#include "tests/win/zentaro/alarms_fixture.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using alarms::AlarmItem;
using alarms_test::DailyReminder;

SYSTEMTIME Clock(WORD day, WORD hour, WORD minute, WORD second) {
    return testing_support::LocalTime(2026, 12, day, hour, minute, second);
}

class AlarmListTest : public alarms_test::AlarmStoreTest {
protected:
    AlarmListTest() { now = Clock(7, 6, 0, 0); }
    void SetUp() override {
        AlarmStoreTest::SetUp();
        alarms::SetAlarmItemHandler([this](const AlarmItem& item, int) { fired.push_back(item.notifyText); });
    }
    void TearDown() override {
        CloseAlarmWindows();
        alarms::SetAlarmItemHandler({});
        AlarmStoreTest::TearDown();
    }
    static HWND Rows() { return GetDlgItem(alarms::AlarmListWindow(), alarms::kListRows); }
    static int RowCount() { return ListView_GetItemCount(Rows()); }
    static std::string RowText(int row) {
        char buffer[512] = {};
        LVITEMA item{};
        item.iSubItem = 0;
        item.pszText = buffer;
        item.cchTextMax = sizeof buffer;
        SendMessageA(Rows(), LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        return buffer;
    }
    static bool Checked(int row) { return ListView_GetCheckState(Rows(), row) != 0; }
    static void Select(int row) {
        ListView_SetItemState(Rows(), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    static void Press(int id) {
        HWND window = alarms::AlarmListWindow();
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
    }
    static int StoredState(int n) { return alarms::ReadAlarmItem(n).itemState; }
    void TickAt(const SYSTEMTIME& t) {
        now = t;
        alarms::CheckAlarms();
    }

    std::vector<std::string> fired;
};

TEST_F(AlarmListTest, EmptyStoreGivesAnEmptyListAndOkOnlyReloads) {
    // Delete, then Cancel: the store no longer has the item, and neither has the scheduler.
    alarms::AppendAlarmItem(DailyReminder(7, 30, "gone"));
    alarms::LoadAlarmItems();
    alarms::ShowAlarmList(nullptr);
    Press(alarms::kListDelete);
    Press(alarms::kListCancel);
    EXPECT_EQ(alarms::LoadedItemCount(), 0);
    TickAt(Clock(7, 7, 30, 0));
    EXPECT_TRUE(fired.empty());

    HWND window = alarms::ShowAlarmList(nullptr);
    ASSERT_NE(window, nullptr);
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "Alarm Item");
    EXPECT_EQ(RowCount(), 0);
    for (int id : {alarms::kListModify, alarms::kListDelete, alarms::kListSelectAll, alarms::kListClearAll}) Press(id);
    EXPECT_EQ(alarms::ModifyEditorWindow(), nullptr);
    EXPECT_EQ(alarms::AlarmListWindow(), window);
    Press(alarms::kListOk);
    EXPECT_EQ(alarms::AlarmListWindow(), nullptr);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(alarms::LoadedItemCount(), 0);
}

TEST_F(AlarmListTest, CaptionsAndOneWindowOnly) {
    HWND window = alarms::ShowAlarmList(nullptr);
    const struct { int id; const char* caption; } buttons[] = {
        {alarms::kListAdd, "Add(&A)..."}, {alarms::kListModify, "Modify(&M)"}, {alarms::kListDelete, "Delete(&D)"},
        {alarms::kListSelectAll, "&Select All"}, {alarms::kListClearAll, "Ca&ncel All"},
        {alarms::kListOk, "OK(&O)"}, {alarms::kListCancel, "Cancel(&C)"}, {alarms::kListApply, "Apply(&P)"},
    };
    for (const auto& b : buttons) {
        char text[64] = {};
        GetDlgItemTextA(window, b.id, text, sizeof text);
        EXPECT_STREQ(text, b.caption);
    }
    EXPECT_EQ(alarms::ShowAlarmList(nullptr), window);
    // Esc is Cancel.
    PostMessageA(Rows(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(testing_support::PumpUntil([] { return alarms::AlarmListWindow() == nullptr; }, 3000));
}

TEST_F(AlarmListTest, ShowsEveryTextWhole) {
    HWND window = alarms::ShowAlarmList(nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ("", testing_support::ClippedTextReport(window));
}

TEST_F(AlarmListTest, UncheckThenCancelKeepsTheItemApplyDisablesItAtOnce) {
    alarms::AppendAlarmItem(DailyReminder(7, 30, "standup"));
    alarms::LoadAlarmItems();
    alarms::ShowAlarmList(nullptr);
    ASSERT_EQ(RowCount(), 1);
    EXPECT_EQ(RowText(0), "7:30 (Daily)|Text Hintstandup");
    EXPECT_TRUE(Checked(0));
    ListView_SetCheckState(Rows(), 0, FALSE);
    Press(alarms::kListCancel);
    EXPECT_EQ(StoredState(1), 1);
    TickAt(Clock(7, 7, 30, 0));
    EXPECT_EQ(fired.size(), 1u);

    alarms::ShowAlarmList(nullptr);
    EXPECT_TRUE(Checked(0));
    ListView_SetCheckState(Rows(), 0, FALSE);
    Press(alarms::kListApply);
    EXPECT_NE(alarms::AlarmListWindow(), nullptr);
    EXPECT_EQ(StoredState(1), 0);
    TickAt(Clock(8, 7, 30, 0));
    EXPECT_EQ(fired.size(), 1u);  // no longer fires
}

TEST_F(AlarmListTest, DeleteKeepsRowsInStepWithItems) {
    for (std::uint8_t hour = 1; hour <= 4; ++hour)
        alarms::AppendAlarmItem(DailyReminder(hour, 0, "h" + std::to_string(hour)));
    alarms::ShowAlarmList(nullptr);
    ASSERT_EQ(RowCount(), 4);
    ListView_SetCheckState(Rows(), 3, FALSE);  // item 4 unchecked, not yet stored
    Select(1);
    Press(alarms::kListDelete);
    ASSERT_EQ(alarms::StoredItemCount(), 3);
    const char* expected[] = {"1:0 (Daily)|Text Hinth1", "4:0 (Daily)|Text Hinth4", "3:0 (Daily)|Text Hinth3"};
    ASSERT_EQ(RowCount(), 3);
    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(RowText(row), expected[row]);
        EXPECT_EQ(alarms::ListRowText(alarms::ReadAlarmItem(row + 1)), expected[row]);
    }
    EXPECT_TRUE(Checked(0));
    EXPECT_FALSE(Checked(1));  // the former item 4 keeps its unsaved check
    EXPECT_TRUE(Checked(2));
    Press(alarms::kListOk);
    EXPECT_EQ(StoredState(1), 1);
    EXPECT_EQ(StoredState(2), 0);
    EXPECT_EQ(StoredState(3), 1);
}

TEST_F(AlarmListTest, SelectAllClearAllAndTheSpaceKey) {
    for (std::uint8_t hour = 1; hour <= 3; ++hour) alarms::AppendAlarmItem(DailyReminder(hour, 0, "x"));
    alarms::SetAlarmItemState(2, 0);
    alarms::ShowAlarmList(nullptr);
    EXPECT_FALSE(Checked(1));
    Press(alarms::kListSelectAll);
    for (int row = 0; row < 3; ++row) EXPECT_TRUE(Checked(row));
    Press(alarms::kListClearAll);
    for (int row = 0; row < 3; ++row) EXPECT_FALSE(Checked(row));
    EXPECT_EQ(StoredState(1), 1);  // nothing stored yet
    Select(2);
    SetFocus(Rows());
    SendMessageA(Rows(), WM_KEYDOWN, VK_SPACE, 0);
    SendMessageA(Rows(), WM_KEYUP, VK_SPACE, 0);
    testing_support::PumpPending();
    EXPECT_TRUE(Checked(2));
}

TEST_F(AlarmListTest, WeeklySaturdayRowAndTwoHundredItems) {
    AlarmItem saturday = DailyReminder(23, 59, "");
    saturday.timeMode = alarms::kTimeWeekly;
    saturday.week = 6;
    saturday.notifyMode = alarms::kNotifyShutdown;
    alarms::AppendAlarmItem(saturday);
    for (int i = 1; i < 200; ++i)
        alarms::AppendAlarmItem(DailyReminder(static_cast<std::uint8_t>(i % 24), 0, std::string(300, 'y')));
    alarms::ShowAlarmList(nullptr);
    ASSERT_EQ(RowCount(), 200);
    EXPECT_EQ(RowText(0), "23:59 (WeeklySaturday)|Shut down");
    ListView_EnsureVisible(Rows(), 199, FALSE);
    EXPECT_GT(ListView_GetTopIndex(Rows()), 0);
}

}  // namespace
