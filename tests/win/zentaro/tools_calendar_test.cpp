// The calendar tool on real controls, with the local clock fixed through the clock seam.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "common/Handles.h"
#include "common/SystemSeams.h"
#include "tests/win/support/TestSupport.h"
#include "tests/win/support/TextFit.h"
#include "tests/win/zentaro/tools_dialog_driver.h"
#include "tools/CalendarTool.h"

using namespace tools::calendar_tool;
using tools_test::DialogDriver;
using tools_test::TextOfItem;

namespace {

struct Ymd {
    WORD y, m, d;
    friend bool operator==(const Ymd&, const Ymd&) = default;
};
std::ostream& operator<<(std::ostream& o, const Ymd& v) { return o << v.y << "-" << v.m << "-" << v.d; }

constexpr Ymd kToday{2026, 12, 8};

// Fixes the local clock at 14:25 of kToday for the test's scope.
class FixedClock {
public:
    FixedClock() {
        seams_->getLocalTime = [](SYSTEMTIME& t) {
            t = SYSTEMTIME{};
            t.wYear = kToday.y; t.wMonth = kToday.m; t.wDay = kToday.d; t.wHour = 14; t.wMinute = 25;
        };
    }
private:
    sys::ScopedSeams seams_;
};

Ymd DateField(HWND dlg) {
    SYSTEMTIME st{};
    SendDlgItemMessageA(dlg, kDateFieldId, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
    return {st.wYear, st.wMonth, st.wDay};
}

Ymd CalendarSelection(HWND dlg) {
    SYSTEMTIME st{};
    SendDlgItemMessageA(dlg, kMonthCalendarId, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&st));
    return {st.wYear, st.wMonth, st.wDay};
}

std::string NumberField(HWND dlg) { return TextOfItem(dlg, kNumberFieldId); }

void TypeIntoNumberField(HWND dlg, const std::string& text) { SetDlgItemTextA(dlg, kNumberFieldId, text.c_str()); }

void TypeKeys(HWND dlg, const std::string& keys) {
    const HWND edit = GetDlgItem(dlg, kNumberFieldId);
    for (char c : keys) SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 1);
}

// Clicks the spinner's upper (up = true) or lower arrow.
void ClickSpinner(HWND dlg, bool up) {
    const HWND spinner = GetDlgItem(dlg, kSpinnerId);
    RECT r{};
    GetClientRect(spinner, &r);
    const LPARAM at = MAKELPARAM(r.right / 2, up ? r.bottom / 4 : r.bottom * 3 / 4);
    SendMessageA(spinner, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(spinner, WM_LBUTTONUP, 0, at);
}

// The user sets the date field: the control changes and tells its dialog.
void PickInDateField(HWND dlg, Ymd date) {
    const HWND field = GetDlgItem(dlg, kDateFieldId);
    NMDATETIMECHANGE change{};
    change.nmhdr = {field, static_cast<UINT_PTR>(kDateFieldId), static_cast<UINT>(DTN_DATETIMECHANGE)};
    change.dwFlags = GDT_VALID;
    change.st.wYear = date.y; change.st.wMonth = date.m; change.st.wDay = date.d;
    SendMessageA(field, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&change.st));
    SendMessageA(dlg, WM_NOTIFY, kDateFieldId, reinterpret_cast<LPARAM>(&change));
}

// A point of the month calendar that shows `date` as a day of the current month, or false.
bool FindDayCell(HWND calendar, Ymd date, POINT* where) {
    RECT r{};
    GetClientRect(calendar, &r);
    for (int y = 0; y < r.bottom; y += 3) {
        for (int x = 0; x < r.right; x += 3) {
            MCHITTESTINFO hit{};
            hit.cbSize = MCHITTESTINFO_V1_SIZE;
            hit.pt = {x, y};
            SendMessageA(calendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            if (hit.uHit == MCHT_CALENDARDATE && hit.st.wYear == date.y && hit.st.wMonth == date.m &&
                hit.st.wDay == date.d) {
                *where = hit.pt;
                return true;
            }
        }
    }
    return false;
}

}  // namespace

TEST(CalendarTool, OpensWithTodayInBothDateControlsAndNoDistance) {
    FixedClock clock;
    DialogDriver::Run(kTitle, [] { tools::ShowCalendarTool(nullptr); }, [](HWND dlg) {
        RECT w{};
        GetWindowRect(dlg, &w);
        EXPECT_EQ(kDialogWidth, w.right - w.left);
        EXPECT_EQ(kDialogHeight, w.bottom - w.top);
        EXPECT_EQ(kToday, DateField(dlg));
        EXPECT_EQ(kToday, CalendarSelection(dlg));
        EXPECT_EQ("0", NumberField(dlg));
        // Tests of other programs share the display: the focus only shows in the foreground.
        if (GetForegroundWindow() == dlg) {
            EXPECT_EQ(GetDlgItem(dlg, kDateFieldId), GetFocus()) << "the date field has the keyboard focus";
        }
        EXPECT_EQ(GetDlgItem(dlg, kNumberFieldId),
                  reinterpret_cast<HWND>(SendDlgItemMessageA(dlg, kSpinnerId, UDM_GETBUDDY, 0, 0)));
        EXPECT_EQ(kNumberFieldMaxChars, SendDlgItemMessageA(dlg, kNumberFieldId, EM_GETLIMITTEXT, 0, 0));
        EXPECT_EQ(BS_DEFPUSHBUTTON, GetWindowLongPtrA(GetDlgItem(dlg, kOkId), GWL_STYLE) & 0x0F);
    });
}

TEST(CalendarTool, ShowsEveryTextWholeEvenForTheLongestDate) {
    FixedClock clock;
    DialogDriver::Run(kTitle, [] { tools::ShowCalendarTool(nullptr); }, [](HWND dlg) {
        EXPECT_EQ("", testing_support::ClippedTextReport(dlg)) << "today";
        // The longest weekday and month names of the long date format.
        SYSTEMTIME longest{};
        longest.wYear = 2026; longest.wMonth = 9; longest.wDay = 30; longest.wDayOfWeek = 3;
        SendDlgItemMessageA(dlg, kDateFieldId, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&longest));
        EXPECT_EQ("", testing_support::ClippedTextReport(dlg)) << "Wednesday, September 30";
    });
}

TEST(CalendarTool, ATypedNumberMovesBothDateControlsToTodayPlusThatMany) {
    FixedClock clock;
    DialogDriver::Run(kTitle, [] { tools::ShowCalendarTool(nullptr); }, [](HWND dlg) {
        struct Case { const char* what; const char* text; Ymd expected; } cases[] = {
            {"30 days on, across the year end", "30", {2027, 1, 7}},
            {"yesterday", "-1", {2026, 12, 7}},
            {"1.5 rounds to 2", "1.5", {2026, 12, 10}},
            {"2.5 rounds to even 2", "2.5", {2026, 12, 10}},
            {"blanks around", " 7 ", {2026, 12, 15}},
            {"an exponent", "1e2", {2027, 3, 18}},
            {"six characters, below the spinner's range", "-99999", {1753, 2, 23}},
            {"the spinner's top", "999999", {4764, 11, 3}},
        };
        for (const Case& c : cases) {
            TypeIntoNumberField(dlg, c.text);
            EXPECT_EQ(c.expected, DateField(dlg)) << c.what;
            EXPECT_EQ(c.expected, CalendarSelection(dlg)) << c.what;
        }
    });
}

TEST(CalendarTool, TextThatIsNoNumberChangesNothing) {
    FixedClock clock;
    DialogDriver::Run(kTitle, [] { tools::ShowCalendarTool(nullptr); }, [](HWND dlg) {
        TypeIntoNumberField(dlg, "5");
        const Ymd fiveOn{2026, 12, 13};
        struct Case { const char* what; const char* text; } cases[] = {
            {"empty", ""}, {"lone minus", "-"}, {"letters", "abc"}, {"a point", "."},
            {"beyond the date controls' range", "1e9"},
        };
        for (const Case& c : cases) {
            TypeIntoNumberField(dlg, c.text);
            EXPECT_EQ(fiveOn, DateField(dlg)) << c.what;
            EXPECT_EQ(fiveOn, CalendarSelection(dlg)) << c.what;
        }
        // Typed key by key: the minus alone waits for its digit.
        TypeIntoNumberField(dlg, "");
        TypeKeys(dlg, "-");
        EXPECT_EQ(fiveOn, DateField(dlg));
        TypeKeys(dlg, "3");
        EXPECT_EQ("-3", NumberField(dlg));
        EXPECT_EQ((Ymd{2026, 12, 5}), DateField(dlg));
        EXPECT_EQ((Ymd{2026, 12, 5}), CalendarSelection(dlg));
    });
}

TEST(CalendarTool, PickingADateShowsItsDistance) {
    FixedClock clock;
    DialogDriver::Run(kTitle, [] { tools::ShowCalendarTool(nullptr); }, [](HWND dlg) {
        struct Case { const char* what; Ymd date; const char* distance; } cases[] = {
            {"1 January of next year", {2027, 1, 1}, "24"},
            {"a past leap day", {2024, 2, 29}, "-1013"},
            {"today again", kToday, "0"},
        };
        for (const Case& c : cases) {
            PickInDateField(dlg, c.date);
            EXPECT_EQ(c.distance, NumberField(dlg)) << c.what;
            EXPECT_EQ(c.date, CalendarSelection(dlg)) << c.what;
            EXPECT_EQ(c.date, DateField(dlg)) << c.what;
        }
    });
}

TEST(CalendarTool, ClickingADayInTheMonthCalendarShowsItsDistanceAndMovesTheDateField) {
    FixedClock clock;
    DialogDriver::Run(kTitle, [] { tools::ShowCalendarTool(nullptr); }, [](HWND dlg) {
        const HWND calendar = GetDlgItem(dlg, kMonthCalendarId);
        const Ymd target{2026, 12, 20};
        POINT at{};
        ASSERT_TRUE(FindDayCell(calendar, target, &at));
        SendMessageA(calendar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        SendMessageA(calendar, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        EXPECT_EQ("12", NumberField(dlg));
        EXPECT_EQ(target, DateField(dlg));
        EXPECT_EQ(target, CalendarSelection(dlg));
    });
}

TEST(CalendarTool, TheSpinnerStepsByADayAndStopsAtItsRangeEnds) {
    FixedClock clock;
    DialogDriver::Run(kTitle, [] { tools::ShowCalendarTool(nullptr); }, [](HWND dlg) {
        struct Case { const char* what; const char* start; bool up; const char* shown; Ymd date; } cases[] = {
            {"up from 0", "0", true, "1", {2026, 12, 9}},
            {"down from 0", "0", false, "-1", {2026, 12, 7}},
            {"down into last year", "-7", false, "-8", {2026, 11, 30}},
            {"stops at the top", "999999", true, "999999", {4764, 11, 3}},
            {"stops at the bottom", "-37390", false, "-37390", {1924, 7, 26}},
        };
        for (const Case& c : cases) {
            TypeIntoNumberField(dlg, c.start);
            ClickSpinner(dlg, c.up);
            EXPECT_EQ(c.shown, NumberField(dlg)) << c.what;
            EXPECT_EQ(c.date, DateField(dlg)) << c.what;
            EXPECT_EQ(c.date, CalendarSelection(dlg)) << c.what;
        }
    });
}

TEST(CalendarTool, OkAndEscapeCloseTheDialog) {
    FixedClock clock;
    DialogDriver::Run(kTitle, [] { tools::ShowCalendarTool(nullptr); }, [](HWND dlg) {
        SendMessageA(GetDlgItem(dlg, kOkId), BM_CLICK, 0, 0);
        EXPECT_FALSE(IsWindowVisible(dlg)) << "OK ends the dialog";
    });
    DialogDriver::Run(kTitle, [] { tools::ShowCalendarTool(nullptr); }, [](HWND dlg) {
        MSG key{GetDlgItem(dlg, kNumberFieldId), WM_KEYDOWN, VK_ESCAPE, 1, 0, {}};
        IsDialogMessageA(dlg, &key);
        EXPECT_FALSE(IsWindowVisible(dlg)) << "Escape ends the dialog";
    });
}

TEST(CalendarTool, PaintsAnEtchedFrameAroundTheDatesAndASunkenOneAroundOk) {
    testing_support::PaintSurface surface(kDialogWidth, kDialogHeight);
    tools::PaintCalendarTool(surface.dc());
    struct Case { const char* what; int x, y; bool marked; } cases[] = {
        {"etched left side", 10, 100, true}, {"etched right side", 409, 100, true},
        {"etched top", 150, 12, true}, {"etched bottom", 150, 235, true},
        {"inside the etched frame", 150, 100, false}, {"left of it", 8, 100, false},
        {"sunken left side", 334, 285, true}, {"sunken bottom", 370, 297, true},
        {"inside the sunken frame", 370, 286, false}, {"below everything", 150, 320, false},
    };
    for (const Case& c : cases) EXPECT_EQ(c.marked, surface.Marked(c.x, c.y)) << c.what;
}
