// The break settings window: what it shows, what OK stores (alarm item and stop.ini) and what
// Cancel does not.
#include "alarms/AlarmStore.h"
#include "breaksettings/BreakSettingsWindow.h"
#include "common/IniFile.h"
#include "common/SystemSeams.h"
#include "tests/win/support/TestSupport.h"
#include "tests/win/support/TextFit.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

using namespace breaksettings;
using testing_support::PumpPending;
using testing_support::TempDir;

namespace {

// Wednesday, 9 December 2026, 14:05:30.
constexpr SYSTEMTIME kNow{2026, 12, 3, 9, 14, 5, 30, 0};
constexpr const char* kProgramDir = "C:\\Programs\\Zentaro";

class BreakSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::ClearUserRegistry();
        seams_->getLocalTime = [](SYSTEMTIME& t) { t = kNow; };
        config_.iniPath = dir_.path() + "/stop.ini";
        config_.programDirectory = kProgramDir;
    }
    void TearDown() override {
        if (HWND w = BreakSettingsWindow()) DestroyWindow(w);
        PumpPending();
    }

    HWND Open() {
        HWND w = ShowBreakSettings(nullptr, config_);
        PumpPending();
        return w;
    }
    HWND Item(int id) const { return GetDlgItem(BreakSettingsWindow(), id); }
    std::string Text(int id) const {
        char buf[256] = {};
        GetWindowTextA(Item(id), buf, static_cast<int>(sizeof(buf)));
        return buf;
    }
    void SetText(int id, const char* text) { SetWindowTextA(Item(id), text); }
    bool Checked(int id) const { return SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void Click(int id) { SendMessageA(Item(id), BM_CLICK, 0, 0); PumpPending(); }
    std::string Ini(const char* key) const {
        char buf[64] = {};
        GetPrivateProfileStringA("StartBreak", key, "<none>", buf, sizeof(buf), config_.iniPath.c_str());
        return buf;
    }
    bool IniExists() const { return GetFileAttributesA(config_.iniPath.c_str()) != INVALID_FILE_ATTRIBUTES; }
    void WriteIni(const char* key, const char* value) {
        WritePrivateProfileStringA("StartBreak", key, value, config_.iniPath.c_str());
    }

    sys::ScopedSeams seams_;
    TempDir dir_;
    BreakSettingsConfig config_;
};

TEST_F(BreakSettingsTest, OpensWithTheFixedItemTodayAndNoStoredBreak) {
    HWND w = Open();
    ASSERT_NE(w, nullptr);
    char title[64] = {};
    GetWindowTextA(w, title, sizeof(title));
    EXPECT_STREQ(title, "Break Setting . . .");
    const LONG style = GetWindowLongA(w, GWL_STYLE);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));

    struct Control { const char* what; int id; const char* text; bool enabled; } controls[] = {
        {"Only once", kIdOptionOnce, "Only once", false},
        {"Daily", kIdOptionDaily, "Daily", true},
        {"Weekly", kIdOptionWeekly, "Weekly", true},
        {"Monthly", kIdOptionMonthly, "Monthly", false},
        {"Yearly", kIdOptionYearly, "Yearly", false},
        {"action", kIdAction, "Run a program", false},
        {"text hint", kIdTextHint, "", false},
        {"sound", kIdSound, "", false},
        {"sound ...", kIdSoundBrowse, "...", false},
        {"program", kIdProgram, "C:\\Programs\\Zentaro/Break.exe", false},
        {"program ...", kIdProgramBrowse, "...", false},
        {"parameter", kIdParameter, "", false},
        {"month", kIdMonth, "12", false},
        {"day", kIdDay, "9", false},
        {"year", kIdYear, "2026", false},
        {"hour", kIdHour, "14", true},
        {"minute", kIdMinute, "5", true},
        {"second", kIdSecond, "30", true},
        {"weekday box (Daily)", kIdWeek, "Week ", false},
        {"seconds: no stop.ini", kIdSeconds, "0", true},
        {"Enforce Break", kIdEnforce, "Enforce Break", true},
        {"wait while busy", kIdWaitBusy, "&Wait while I present or play full screen", true},
        {"skip after an absence", kIdSkipAway, "&Skip if I was away for the break's length", true},
        {"OK", kIdBreakOk, "OK(&O)", true},
        {"Cancel", kIdBreakCancel, "Cancel(&C)", true},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(c.what);
        ASSERT_NE(Item(c.id), nullptr);
        EXPECT_EQ(Text(c.id), c.text);
        EXPECT_EQ(IsWindowEnabled(Item(c.id)) != FALSE, c.enabled);
    }
    EXPECT_TRUE(Checked(kIdOptionDaily));
    EXPECT_FALSE(Checked(kIdEnforce));
    EXPECT_EQ(SendMessageA(Item(kIdHourSpin), UDM_GETPOS32, 0, 0), 14);
    EXPECT_EQ(SendMessageA(Item(kIdSecondSpin), UDM_GETPOS32, 0, 0), 30);

    // The client area is 5835 x 5835 twips at the screen's pixels per inch.
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    RECT client{};
    GetClientRect(w, &client);
    EXPECT_EQ(client.right, MulDiv(5835, dpi, 1440));
    EXPECT_EQ(client.bottom, MulDiv(5835, dpi, 1440));
}

TEST_F(BreakSettingsTest, ShowsEveryTextWhole) {
    HWND w = Open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ("", testing_support::ClippedTextReport(w));
}

TEST_F(BreakSettingsTest, OkWithoutIniCreatesItWithBothKeysAndAppendsADailyBreak) {
    Open();
    EXPECT_FALSE(IniExists());
    SetText(kIdSeconds, " 60 ");
    Click(kIdBreakOk);
    EXPECT_EQ(BreakSettingsWindow(), nullptr);
    EXPECT_TRUE(IniExists());
    EXPECT_EQ(Ini("timesshow"), "60");
    EXPECT_EQ(Ini("cmdhide"), "0");
    EXPECT_EQ(Ini("waitbusy"), "1");
    EXPECT_EQ(Ini("skipaway"), "1");

    ASSERT_EQ(alarms::StoredItemCount(), 1);
    bool valid = false;
    const alarms::AlarmItem item = alarms::ReadAlarmItem(1, &valid);
    EXPECT_TRUE(valid);
    const alarms::RecordBytes expected{1, 2, 2, 3, 14, 5, 20, 26, 12, 9, 0};
    EXPECT_EQ(alarms::EncodeRecord(item), expected);
    EXPECT_EQ(item.runExe, "C:\\Programs\\Zentaro/Break.exe");
    EXPECT_EQ(item.notifyText, "");
}

TEST_F(BreakSettingsTest, LengthAndEnforceFlagAreSavedAndShownAgain) {
    Open();
    SetText(kIdSeconds, "45");
    Click(kIdEnforce);
    Click(kIdWaitBusy);
    Click(kIdBreakOk);
    EXPECT_EQ(Ini("timesshow"), "45");
    EXPECT_EQ(Ini("cmdhide"), "1");
    EXPECT_EQ(Ini("waitbusy"), "0");
    EXPECT_EQ(Ini("skipaway"), "1");
    Open();
    EXPECT_EQ(Text(kIdSeconds), "45");
    EXPECT_TRUE(Checked(kIdEnforce));
    EXPECT_FALSE(Checked(kIdWaitBusy));
    EXPECT_TRUE(Checked(kIdSkipAway));
    Click(kIdBreakCancel);

    struct Case {
        const char *what, *timesshow, *cmdhide, *switches, *shown;  // switches: waitbusy and skipaway
        bool checked, switchedOn;  // switchedOn: as Break reads them
    } cases[] = {
        {"enforce flag 2 (Break enforces it, the box stays clear)", "30", "2", "0", "30", false, false},
        {"enforce flag 0", "30", "0", "1", "30", false, true},
        {"trailing letters read as the number", "30abc", "1", "2", "30", true, true},
        {"longer than a break can be", "40000", "1", "abc", "32767", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteIni("timesshow", c.timesshow);
        WriteIni("cmdhide", c.cmdhide);
        for (const char* key : {"waitbusy", "skipaway"}) WriteIni(key, c.switches);
        Open();
        EXPECT_EQ(Text(kIdSeconds), c.shown);
        EXPECT_EQ(Checked(kIdEnforce), c.checked);
        EXPECT_EQ(Checked(kIdWaitBusy), c.switchedOn);
        EXPECT_EQ(Checked(kIdSkipAway), c.switchedOn);
        Click(kIdBreakCancel);
    }
    EXPECT_EQ(alarms::StoredItemCount(), 1);  // Cancel stores nothing
}

TEST_F(BreakSettingsTest, OkRefusesAFieldItCannotStoreAndWritesNothing) {
    WriteIni("timesshow", "30");
    WriteIni("cmdhide", "0");
    const std::string ini = testing_support::ReadFileBytes(config_.iniPath);
    struct Case { const char* what; int field; const char* typed; const char* message; } cases[] = {
        {"length 99999", kIdSeconds, "99999", "Break length: 1 to 32767 seconds"},
        {"length 0 (no stop.ini shows 0)", kIdSeconds, "0", "Break length: 1 to 32767 seconds"},
        {"length empty", kIdSeconds, "", "Break length: 1 to 32767 seconds"},
        {"minute 75", kIdMinute, "75", "Minute: 0 to 59"},
        {"hour 24", kIdHour, "24", "Hour: 0 to 23"},
        {"second 60", kIdSecond, "60", "Second: 0 to 59"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HWND w = Open();
        SetText(c.field, c.typed);
        Click(kIdEnforce);
        testing_support::MessageBoxRecorder boxes;
        Click(kIdBreakOk);
        ASSERT_TRUE(IsWindow(w));
        // The field's text is selected; the focus is checked while the window holds the
        // foreground (another test's window on the shared display may take it at any moment).
        DWORD start = 1, end = 0;
        SendMessageA(Item(c.field), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u);
        EXPECT_EQ(end, static_cast<DWORD>(GetWindowTextLengthA(Item(c.field))));
        if (GetForegroundWindow() == w) {
            EXPECT_EQ(GetFocus(), Item(c.field));
        }
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].first, "Break Setting . . .");
        EXPECT_EQ(boxes.boxes[0].second, c.message);
        EXPECT_EQ(testing_support::ReadFileBytes(config_.iniPath), ini);
        EXPECT_EQ(alarms::StoredItemCount(), 0);
        DestroyWindow(w);
    }
}

TEST_F(BreakSettingsTest, WeeklyBreakStoresTheChosenWeekdayAndTime) {
    Open();
    Click(kIdOptionWeekly);
    EXPECT_TRUE(IsWindowEnabled(Item(kIdWeek)));
    for (int id : {kIdMonth, kIdDay, kIdYear}) EXPECT_FALSE(IsWindowEnabled(Item(id)));
    SendMessageA(Item(kIdWeek), CB_SETCURSEL, 3, 0);
    EXPECT_EQ(Text(kIdWeek), "Wednesday");
    SetText(kIdHour, "14");
    SetText(kIdMinute, "5");
    SetText(kIdSeconds, "60");
    Click(kIdBreakOk);

    const alarms::AlarmItem item = alarms::ReadAlarmItem(1);
    EXPECT_EQ(item.timeMode, 3);
    EXPECT_EQ(item.week, 3);
    EXPECT_EQ(item.hour, 14);
    EXPECT_EQ(item.minute, 5);
    EXPECT_EQ(item.notifyMode, 2);
    EXPECT_EQ(item.runExe, std::string(kProgramDir) + "/Break.exe");

    // Back to Daily: the weekday box goes off again, and its value is still stored.
    Open();
    Click(kIdOptionWeekly);
    SendMessageA(Item(kIdWeek), CB_SETCURSEL, 5, 0);
    Click(kIdOptionDaily);
    EXPECT_FALSE(IsWindowEnabled(Item(kIdWeek)));
    SetText(kIdSeconds, "60");
    Click(kIdBreakOk);
    const alarms::AlarmItem daily = alarms::ReadAlarmItem(2);
    EXPECT_EQ(daily.timeMode, 2);
    EXPECT_EQ(daily.week, 5);
}

TEST_F(BreakSettingsTest, EveryOkAppendsAnotherBreak) {
    Open();
    SetText(kIdSeconds, "60");
    Click(kIdBreakOk);
    Open();
    SetText(kIdMinute, "30");
    SetText(kIdSeconds, "60");
    Click(kIdBreakOk);
    ASSERT_EQ(alarms::StoredItemCount(), 2);
    EXPECT_EQ(alarms::ReadAlarmItem(1).minute, 5);
    EXPECT_EQ(alarms::ReadAlarmItem(2).minute, 30);
    for (int n : {1, 2}) EXPECT_EQ(alarms::ReadAlarmItem(n).runExe, std::string(kProgramDir) + "/Break.exe");
}

TEST_F(BreakSettingsTest, CancelEscAndCloseSaveNothingAndASecondOpenKeepsTheFields) {
    struct Way { const char* what; void (*close)(HWND); } ways[] = {
        {"Cancel", [](HWND w) { SendMessageA(GetDlgItem(w, kIdBreakCancel), BM_CLICK, 0, 0); }},
        {"Esc", [](HWND w) {
             SetFocus(GetDlgItem(w, kIdSeconds));
             PostMessageA(GetDlgItem(w, kIdSeconds), WM_KEYDOWN, VK_ESCAPE, 0);
             PumpPending();
         }},
        {"title bar close", [](HWND w) { SendMessageA(w, WM_CLOSE, 0, 0); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.what);
        HWND w = Open();
        SetText(kIdSeconds, "99");
        EXPECT_EQ(Open(), w);  // the same window, fields as the user left them
        EXPECT_EQ(Text(kIdSeconds), "99");
        way.close(w);
        PumpPending();
        EXPECT_FALSE(IsWindow(w));
        EXPECT_EQ(BreakSettingsWindow(), nullptr);
    }
    EXPECT_FALSE(IniExists());
    EXPECT_EQ(alarms::StoredItemCount(), 0);
}

TEST_F(BreakSettingsTest, SpinnersWriteTheirValueIntoTheTimeFields) {
    Open();
    struct Case { const char* what; int spin, field, pos; const char* text; } cases[] = {
        {"hour", kIdHourSpin, kIdHour, 23, "23"},
        {"minute", kIdMinuteSpin, kIdMinute, 0, "0"},
        {"second", kIdSecondSpin, kIdSecond, 59, "59"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SendMessageA(Item(c.spin), UDM_SETPOS32, 0, c.pos);
        SendMessageA(BreakSettingsWindow(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, c.pos),
                     reinterpret_cast<LPARAM>(Item(c.spin)));
        EXPECT_EQ(Text(c.field), c.text);
    }
    // A typed time moves the spinner with it.
    SetText(kIdMinute, "42");
    EXPECT_EQ(SendMessageA(Item(kIdMinuteSpin), UDM_GETPOS32, 0, 0), 42);
}

}  // namespace
