// The alarm item editors (Add and Modify) against the real store, with the clock seam.
#include "alarms/AlarmEditor.h"
#include "alarms/AlarmList.h"
#include "alarms/AlarmStore.h"
#include "alarms/Scheduler.h"
#include "common/Registry.h"
#include "common/SystemSeams.h"
#include "common/Settings.h"
#include "common/WindowText.h"
#include "tests/common/script_texts.h"
#include "tests/win/support/TestSupport.h"
#include "tests/win/support/TextFit.h"
#include "tests/win/zentaro/alarms_fixture.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using alarms::AlarmItem;

SYSTEMTIME Clock(WORD day, WORD hour, WORD minute, WORD second) {
    return testing_support::LocalTime(2026, 12, day, hour, minute, second);
}

class AlarmEditorTest : public alarms_test::AlarmStoreTest {
protected:
    AlarmEditorTest() { now = Clock(6, 14, 7, 33); }  // Sunday 6 December 2026
    void TearDown() override {
        CloseAlarmWindows();
        AlarmStoreTest::TearDown();
    }
    static std::string Text(HWND w, int id) {
        return win::ItemText(w, id);
    }
    static bool Enabled(HWND w, int id) { return IsWindowEnabled(GetDlgItem(w, id)) != FALSE; }
    static void Type(HWND w, int id, const std::string& text) { SetDlgItemTextA(w, id, text.c_str()); }
    static void ChooseAction(HWND w, int action) {
        SendDlgItemMessageA(w, alarms::kEditorAction, CB_SETCURSEL, static_cast<WPARAM>(action), 0);
        SendMessageA(w, WM_COMMAND, MAKEWPARAM(alarms::kEditorAction, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(w, alarms::kEditorAction)));
    }
    static void ChooseRule(HWND w, int option) {
        SendMessageA(GetDlgItem(w, alarms::kEditorOption0 + option), BM_CLICK, 0, 0);
    }
    static void Press(HWND w, int id) {
        SendMessageA(w, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(w, id)));
    }
    static alarms::RecordBytes Record(int n) { return alarms::EncodeRecord(alarms::ReadAlarmItem(n)); }
};

TEST_F(AlarmEditorTest, AddEditorStartsFromTheClock) {
    HWND w = alarms::ShowAddEditor(nullptr);
    ASSERT_NE(w, nullptr);
    char title[64] = {};
    GetWindowTextA(w, title, sizeof title);
    EXPECT_STREQ(title, "Alarm item ");
    const struct { int id; const char* text; } fields[] = {
        {alarms::kEditorMonth, "12"}, {alarms::kEditorDay, "6"}, {alarms::kEditorYear, "2026"},
        {alarms::kEditorHour, "14"}, {alarms::kEditorMinute, "7"}, {alarms::kEditorSecond, "33"},
        {alarms::kEditorAction, "Text Hint"}, {alarms::kEditorWeek, "Week "},
    };
    for (const auto& f : fields) {
        SCOPED_TRACE(f.id);
        EXPECT_EQ(Text(w, f.id), f.text);
    }
    EXPECT_EQ(IsDlgButtonChecked(w, alarms::kEditorOption0), BST_CHECKED);
    EXPECT_EQ(SendDlgItemMessageA(w, alarms::kEditorHourSpin, UDM_GETPOS32, 0, 0), 14);
    for (int id : {alarms::kEditorWeek, alarms::kEditorSound, alarms::kEditorSoundPick, alarms::kEditorProgram,
                   alarms::kEditorProgramPick, alarms::kEditorParameter})
        EXPECT_FALSE(Enabled(w, id)) << id;
    EXPECT_TRUE(Enabled(w, alarms::kEditorText));
    // A second open only brings it to the front; the fields are not loaded again.
    Type(w, alarms::kEditorHour, "9");
    EXPECT_EQ(alarms::ShowAddEditor(nullptr), w);
    EXPECT_EQ(Text(w, alarms::kEditorHour), "9");
}

TEST_F(AlarmEditorTest, ShowsEveryTextWhole) {
    HWND w = alarms::ShowAddEditor(nullptr);
    ASSERT_NE(w, nullptr);
    // Every item of each list is measured, so the weekday box is checked for its longest name.
    EXPECT_EQ("", testing_support::ClippedTextReport(w));
}

TEST_F(AlarmEditorTest, ActionAndDateRuleTables) {
    HWND w = alarms::ShowAddEditor(nullptr);
    const struct { int action; bool text, sound, program, parameter; } actions[] = {
        {0, false, true, false, false}, {1, true, false, false, false}, {2, false, false, true, true},
        {3, false, false, false, false}, {4, false, false, false, false},
    };
    for (const auto& a : actions) {
        SCOPED_TRACE(a.action);
        for (int id : {alarms::kEditorText, alarms::kEditorSound, alarms::kEditorProgram, alarms::kEditorParameter})
            Type(w, id, "filled");
        ChooseAction(w, a.action);
        const struct { int id; bool on; } row[] = {{alarms::kEditorText, a.text}, {alarms::kEditorSound, a.sound},
                                                   {alarms::kEditorSoundPick, a.sound},
                                                   {alarms::kEditorProgram, a.program},
                                                   {alarms::kEditorProgramPick, a.program},
                                                   {alarms::kEditorParameter, a.parameter}};
        for (const auto& r : row) {
            EXPECT_EQ(Enabled(w, r.id), r.on) << r.id;
            if (r.id != alarms::kEditorSoundPick && r.id != alarms::kEditorProgramPick) {
                EXPECT_EQ(Text(w, r.id), r.on ? "filled" : "") << r.id;
            }
        }
    }
    const struct { int option; bool month, day, year, week; } rules[] = {
        {1, false, false, false, false}, {2, false, false, false, true}, {3, false, true, false, false},
        {4, true, true, true, false}, {0, true, true, true, false},
    };
    for (const auto& r : rules) {
        SCOPED_TRACE(r.option);
        ChooseRule(w, r.option);
        EXPECT_EQ(IsDlgButtonChecked(w, alarms::kEditorOption0 + r.option), BST_CHECKED);
        EXPECT_EQ(Enabled(w, alarms::kEditorMonth), r.month);
        EXPECT_EQ(Enabled(w, alarms::kEditorDay), r.day);
        EXPECT_EQ(Enabled(w, alarms::kEditorYear), r.year);
        EXPECT_EQ(Enabled(w, alarms::kEditorWeek), r.week);
    }
}

// The field's edit control (a combo box's own edit included) has its whole text selected and,
// while the editor holds the foreground, the focus. Tests share one display: another test's
// window may take the foreground at any moment, and the focus goes with it.
bool FocusedWhole(HWND field) {
    HWND edit = FindWindowExA(field, nullptr, "Edit", nullptr);
    if (!edit) edit = field;
    if (GetForegroundWindow() == GetAncestor(field, GA_ROOT) && GetFocus() != edit) return false;
    DWORD start = 1, end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return start == 0 && end == static_cast<DWORD>(GetWindowTextLengthA(edit));
}

TEST_F(AlarmEditorTest, OkRefusesAFieldItCannotStoreAndKeepsTheEditorOpen) {
    AlarmItem kept;
    kept.notifyMode = alarms::kNotifyText;
    kept.timeMode = alarms::kTimeDaily;
    kept.hour = 8;
    kept.notifyText = "kept";
    alarms::AppendAlarmItem(kept);
    const alarms::RecordBytes before = Record(1);
    const struct {
        const char* what;
        bool modify;
        int action, option, field;
        const char* typed;
        const char* message;
    } cases[] = {
        {"year 1999", false, 1, 0, alarms::kEditorYear, "1999", "Year: 2000 to 2099"},
        {"year 2100", true, 1, 4, alarms::kEditorYear, "2100", "Year: 2000 to 2099"},
        {"year 20261", false, 1, 0, alarms::kEditorYear, "20261", "Year: 2000 to 2099"},
        {"31 February", false, 1, 0, alarms::kEditorMonth, "2", "Day: 1 to 28"},
        {"hour 24", true, 1, 1, alarms::kEditorHour, "24", "Hour: 0 to 23"},
        {"hour -1", false, 1, 1, alarms::kEditorHour, "-1", "Hour: 0 to 23"},
        {"hour empty", false, 1, 1, alarms::kEditorHour, "", "Hour: 0 to 23"},
        {"minute 60", false, 1, 1, alarms::kEditorMinute, "60", "Minute: 0 to 59"},
        {"second abc", false, 1, 1, alarms::kEditorSecond, "abc", "Second: 0 to 59"},
        {"hint without text", false, 1, 1, alarms::kEditorText, " ", "Type the hint text"},
        {"sound without a file", true, 0, 1, alarms::kEditorSound, "", "Choose a sound file, or pick Text Hint"},
        {"program without a path", false, 2, 1, alarms::kEditorProgram, "", "Choose a program to run"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HWND w = c.modify ? alarms::ShowModifyEditor(nullptr, 1) : alarms::ShowAddEditor(nullptr);
        ChooseAction(w, c.action);
        ChooseRule(w, c.option);
        Type(w, alarms::kEditorText, "go");
        Type(w, alarms::kEditorMonth, "12");
        Type(w, alarms::kEditorDay, "31");
        Type(w, c.field, c.typed);
        testing_support::MessageBoxRecorder boxes;
        Press(w, alarms::kEditorOk);
        ASSERT_TRUE(IsWindow(w));
        const int field = c.field == alarms::kEditorMonth ? alarms::kEditorDay : c.field;
        EXPECT_TRUE(FocusedWhole(GetDlgItem(w, field)));
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].first, "Alarm item ");
        EXPECT_EQ(boxes.boxes[0].second, c.message);
        EXPECT_EQ(alarms::StoredItemCount(), 1);
        EXPECT_EQ(Record(1), before);
        EXPECT_EQ(alarms::ReadAlarmItem(1).notifyText, "kept");
        DestroyWindow(w);
    }
}

TEST_F(AlarmEditorTest, StoredRecords) {
    struct Case {
        const char* what;
        int action, option;
        const char* text;
        const char* week;
        const char* hour;
        const char* minute;
        const char* year;
        alarms::RecordBytes record;
        WORD day = 6;
    } cases[] = {
        {"restart without text", 3, 1, "", "Week ", "8", "15", "2026", {1, 3, 2, 0, 8, 15, 20, 26, 12, 6, 0}},
        {"weekly Monday", 1, 2, "go", "Monday", "8", "15", "2026", {1, 1, 3, 1, 8, 15, 20, 26, 12, 6, 0}},
        {"daily gets today's weekday (Tuesday)", 1, 1, "go", "Week ", "8", "15", "2026",
         {1, 1, 2, 2, 8, 15, 20, 26, 12, 8, 0}, 8},
        {"year 2010", 1, 0, "go", "", "8", "15", "2010", {1, 1, 1, 0, 8, 15, 20, 10, 12, 6, 0}},
        {"blanks around the numbers", 1, 0, "go", "", " 8", "15 ", "2026 ", {1, 1, 1, 0, 8, 15, 20, 26, 12, 6, 0}},
    };
    int n = 0;
    alarms::ShowAlarmList(nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        now = Clock(c.day, 14, 7, 33);
        HWND w = alarms::ShowAddEditor(nullptr);
        ChooseAction(w, c.action);
        ChooseRule(w, c.option);
        if (*c.text) Type(w, alarms::kEditorText, c.text);
        Type(w, alarms::kEditorWeek, c.week);
        Type(w, alarms::kEditorHour, c.hour);
        Type(w, alarms::kEditorMinute, c.minute);
        Type(w, alarms::kEditorSecond, "40");
        Type(w, alarms::kEditorYear, c.year);
        Press(w, alarms::kEditorOk);
        ASSERT_EQ(alarms::StoredItemCount(), ++n);
        EXPECT_EQ(Record(n), c.record);
    }
    // The scheduler was reloaded with every stored item, and the list opened again.
    EXPECT_EQ(alarms::LoadedItemCount(), n);
    EXPECT_NE(alarms::AlarmListWindow(), nullptr);
}

namespace {

// Types the text into the field as the keyboard does: one WM_CHAR per UTF-16 unit.
void TypeChars(HWND field, const std::wstring& text) {
    SetWindowTextW(field, L"");
    for (wchar_t c : text) SendMessageW(field, WM_CHAR, c, 1);
}

std::wstring RegistryText(const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, win::Wide(settings::kAlarmKey).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return L"(no key)";
    std::vector<wchar_t> data(4096);
    DWORD type = 0, size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    const LONG rc = RegQueryValueExW(key, win::Wide(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || type != REG_SZ) return L"(not REG_SZ)";
    return std::wstring(data.data(), wcsnlen(data.data(), size / sizeof(wchar_t)));
}

std::wstring ListRow(int row) {
    wchar_t buffer[2048] = {};
    LVITEMW item{};
    item.pszText = buffer;
    item.cchTextMax = static_cast<int>(std::size(buffer));
    SendMessageW(GetDlgItem(alarms::AlarmListWindow(), alarms::kListRows), LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
    return buffer;
}

}  // namespace

TEST_F(AlarmEditorTest, ATextInAnyScriptGoesWholeFromTheEditorToTheStoreAndTheList) {
    ASSERT_EQ(65001u, GetACP()) << "the manifest's UTF-8 code page";
    alarms::ShowAlarmList(nullptr);
    int n = 0;
    for (const scripts_test::ScriptText& row : scripts_test::kScriptTexts) {
        SCOPED_TRACE(row.script);
        HWND w = alarms::ShowAddEditor(nullptr);
        ChooseAction(w, 1);  // "Text Hint"
        TypeChars(GetDlgItem(w, alarms::kEditorText), win::Wide(row.text));
        EXPECT_EQ(row.text, Text(w, alarms::kEditorText));
        Press(w, alarms::kEditorOk);
        ASSERT_EQ(alarms::StoredItemCount(), ++n);
        EXPECT_EQ(win::Wide(row.text), RegistryText(alarms::ValueName(alarms::kTextPrefix, n))) << "stored as UTF-16";
        EXPECT_EQ(row.text, alarms::ReadAlarmItem(n).notifyText) << "what the reminder and the countdown get";
        ASSERT_NE(alarms::AlarmListWindow(), nullptr);
        const std::wstring shown = ListRow(n - 1);
        EXPECT_NE(std::wstring::npos, shown.find(win::Wide(row.text))) << "the list row";
    }
}

TEST_F(AlarmEditorTest, TheTextFieldsLimitCountsCharactersWhateverTheirBytes) {
    struct Case { const char* what; std::wstring unit; size_t unitsPerCharacter; } cases[] = {
        {"ASCII", L"a", 1}, {"Cyrillic", L"\x0416", 1}, {"CJK", L"\x4F1A", 1}, {"emoji", L"\xD83D\xDE00", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HWND w = alarms::ShowAddEditor(nullptr);
        ChooseAction(w, 1);
        std::wstring typed;
        for (int i = 0; i < 1100; ++i) typed += c.unit;
        HWND field = GetDlgItem(w, alarms::kEditorText);
        TypeChars(field, typed);
        const int units = GetWindowTextLengthW(field);
        EXPECT_GE(units, 1022) << "the limit counts UTF-16 units, not code-page bytes";
        EXPECT_LE(units, 1023);
        // What the editor reads and stores: whole characters only (a pair's lone first half is dropped).
        const std::string kept = Text(w, alarms::kEditorText);
        EXPECT_EQ(1023u - 1023u % c.unitsPerCharacter, win::Wide(kept).size());
        DestroyWindow(w);
    }
}

TEST_F(AlarmEditorTest, ModifyShowsTheItemAndClearedTextsLeaveTheStore) {
    AlarmItem item;
    item.itemState = 0;
    item.notifyMode = alarms::kNotifyText;
    item.timeMode = alarms::kTimeYearly;
    item.hour = 8;
    item.minute = 15;
    item.SetYear(2010);
    item.month = 6;
    item.wDay = 15;
    item.notifyText = std::string(300, 't');
    alarms::AppendAlarmItem(AlarmItem{});
    alarms::AppendAlarmItem(item);
    HWND w = alarms::ShowModifyEditor(nullptr, 2);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(Text(w, alarms::kEditorYear), "2010");
    EXPECT_EQ(Text(w, alarms::kEditorHour), "8");
    EXPECT_EQ(Text(w, alarms::kEditorSecond), "33");
    EXPECT_EQ(Text(w, alarms::kEditorText).size(), 300u);
    EXPECT_EQ(IsDlgButtonChecked(w, alarms::kEditorOption0 + 4), BST_CHECKED);
    EXPECT_EQ(Text(w, alarms::kEditorWeek), "Sunday");

    ChooseAction(w, alarms::kNotifySound);  // empties the reminder text
    Type(w, alarms::kEditorSound, std::string(300, 's'));
    Press(w, alarms::kEditorOk);
    EXPECT_EQ(registry::RegReadValue(HKEY_CURRENT_USER, "Software\\Zentaro\\Data", "Text2").kind, registry::RegValue::Kind::Nothing);
    const AlarmItem stored = alarms::ReadAlarmItem(2);
    EXPECT_EQ(stored.wavFile.size(), 300u);
    EXPECT_EQ(stored.itemState, 1);  // a saved item is enabled
    EXPECT_EQ(alarms::StoredItemCount(), 2);
}

TEST_F(AlarmEditorTest, SpinnerWritesItsField) {
    HWND w = alarms::ShowAddEditor(nullptr);
    Type(w, alarms::kEditorHour, "5");  // typing does not move the spinner
    EXPECT_EQ(SendDlgItemMessageA(w, alarms::kEditorHourSpin, UDM_GETPOS32, 0, 0), 14);
    HWND spin = GetDlgItem(w, alarms::kEditorHourSpin);
    RECT r{};
    GetClientRect(spin, &r);
    SendMessageA(spin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.right / 2, 2));
    SendMessageA(spin, WM_LBUTTONUP, 0, MAKELPARAM(r.right / 2, 2));
    EXPECT_EQ(Text(w, alarms::kEditorHour), "15");
}

}  // namespace
