// The dialog builder, frame helpers, control wrappers and choosers, on real windows.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "common/Handles.h"
#include "common/SystemSeams.h"
#include "tests/win/support/TestSupport.h"
#include "toolkit/CommonDialog.h"
#include "toolkit/Controls.h"
#include "toolkit/Dialog.h"
#include "toolkit/DialogTemplate.h"
#include "tools/DateTip.h"

namespace {

INT_PTR CALLBACK IdleProc(HWND, UINT, WPARAM, LPARAM) { return 0; }

// A modeless dialog from the same empty template, as a parent for the wrappers.
class HostDialog {
public:
    HostDialog() {
        const toolkit::EmptyDialogTemplate t = toolkit::MakeEmptyDialogTemplate();
        dlg_ = CreateDialogIndirectParamA(GetModuleHandleA(nullptr),
                                          reinterpret_cast<LPCDLGTEMPLATEA>(t.bytes.data()), nullptr, IdleProc, 0);
        MoveWindow(dlg_, 0, 0, 450, 330, FALSE);
    }
    ~HostDialog() { DestroyWindow(dlg_); }
    HWND get() const { return dlg_; }
private:
    HWND dlg_;
};

std::string ClassOf(HWND h) {
    char buf[64] = {};
    GetClassNameA(h, buf, sizeof buf);
    return buf;
}

std::string TextOf(HWND h) {
    char buf[512] = {};
    GetWindowTextA(h, buf, sizeof buf);
    return buf;
}

SIZE SizeOf(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return {r.right - r.left, r.bottom - r.top};
}

POINT PosInParent(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    POINT p{r.left, r.top};
    ScreenToClient(GetParent(h), &p);
    return p;
}

DWORD StyleOf(HWND h) { return static_cast<DWORD>(GetWindowLongPtrA(h, GWL_STYLE)); }
DWORD ExStyleOf(HWND h) { return static_cast<DWORD>(GetWindowLongPtrA(h, GWL_EXSTYLE)); }
HFONT FontOf(HWND h) { return reinterpret_cast<HFONT>(SendMessageA(h, WM_GETFONT, 0, 0)); }

SYSTEMTIME Day(WORD y, WORD m, WORD d, WORD hour = 10) {
    SYSTEMTIME st{};
    st.wYear = y; st.wMonth = m; st.wDay = d; st.wHour = hour; st.wMinute = 30;
    return st;
}

}  // namespace

TEST(Controls, EachWrapperCreatesItsControlAsTheTableSays) {
    HostDialog host;
    const HWND dlg = host.get();
    win::AutoFont font = toolkit::CreateDialogFont();
    const HFONT f = font.get();

    controls::Button buttons; controls::Trackbar track; controls::ComboBox combos; controls::Edit edits; controls::DatePicker pickers;
    controls::Label label; controls::UpDown spinner; controls::MonthCalendar calendar;
    buttons.CreateButton(dlg, "OK(&O)", 1, 99, 77, 70, 19, f, BS_DEFPUSHBUTTON);
    track.CreateTrackBar(dlg, 20, 5, 6, 0);
    combos.CreateCombox(dlg, 30, 7, 8, 150, 200, f, 0);
    edits.CreateEdit(dlg, 40, 9, 10, 120, 21, f, ES_NUMBER, 6);
    pickers.CreateDTPicker(dlg, 50, 11, 12, 130, 22, 0);
    label.CreateLabel(dlg, "Skin(&S):", 13, 14, f, 0, 60);
    spinner.CreateUpDown(dlg, 70);
    calendar.CreateMonthCalendar(dlg, 80);

    struct Case {
        const char* what; HWND h; const char* cls; DWORD style; DWORD exStyle;
        POINT pos; SIZE size; HFONT font; const char* text;
    } cases[] = {
        {"button", buttons.hwnd(0), "Button", 0x50010001, 0, {99, 77}, {70, 19}, f, "OK(&O)"},
        {"track bar", track.hwnd(), "msctls_trackbar32", 0x50010010, 0, {5, 6}, {110, 25}, nullptr, ""},
        {"drop-down list", combos.hwnd(0), "ComboBox", 0x50010443, 0, {7, 8}, {150, -1}, f, ""},
        {"edit field", edits.hwnd(0), "Edit", 0x50012080, WS_EX_CLIENTEDGE, {9, 10}, {120, 21}, f, ""},
        {"date picker", pickers.hwnd(0), "SysDateTimePick32", 0x50010000, 0, {11, 12}, {130, 22}, nullptr, nullptr},
        {"label", label.hwnd(), "Static", 0x5000000B, 0, {13, 14}, {200, 18}, f, "Skin(&S):"},
        // The up-down control takes its own width when it aligns to the right.
        {"up-down", spinner.hwnd(), "msctls_updown32", 0x50010086, 0, {66, 88}, {-1, 88}, nullptr, ""},
        {"month calendar", calendar.hwnd(), "SysMonthCal32", 0x50000000, 0, {22, 54}, {265, 160}, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(IsWindow(c.h));
        EXPECT_EQ(dlg, GetParent(c.h));
        EXPECT_STRCASEEQ(c.cls, ClassOf(c.h).c_str());
        EXPECT_EQ(c.style, StyleOf(c.h) & c.style) << std::hex << StyleOf(c.h);
        if (c.exStyle) {
            EXPECT_EQ(c.exStyle, ExStyleOf(c.h) & c.exStyle);
        }
        const POINT p = PosInParent(c.h);
        EXPECT_EQ(c.pos.x, p.x);
        EXPECT_EQ(c.pos.y, p.y);
        const SIZE s = SizeOf(c.h);
        if (c.size.cx >= 0) {
            EXPECT_EQ(c.size.cx, s.cx);
        }
        if (c.size.cy >= 0) {
            EXPECT_EQ(c.size.cy, s.cy);
        }
        if (c.font) {
            EXPECT_EQ(c.font, FontOf(c.h));
        }
        if (c.text) {
            EXPECT_EQ(std::string(c.text), TextOf(c.h));
        }
    }
    EXPECT_EQ(0, GetWindowLongPtrA(label.hwnd(), GWL_STYLE) & WS_TABSTOP) << "labels take no tab stop";

    // After-creation state.
    const HWND tb = track.hwnd();
    EXPECT_EQ(100, SendMessageA(tb, TBM_GETRANGEMIN, 0, 0));
    EXPECT_EQ(255, SendMessageA(tb, TBM_GETRANGEMAX, 0, 0));
    EXPECT_EQ(26, SendMessageA(tb, TBM_GETPAGESIZE, 0, 0));
    EXPECT_EQ(26, SendMessageA(tb, TBM_GETLINESIZE, 0, 0));
    track.SetValue(180);
    EXPECT_EQ(180, track.Value());
    track.SetValue(20);
    EXPECT_EQ(100, track.Value()) << "positions stay within the range";

    EXPECT_EQ(6, SendMessageA(edits.hwnd(0), EM_GETLIMITTEXT, 0, 0));

    int lo = 0, hi = 0;
    SendMessageA(spinner.hwnd(), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
    EXPECT_EQ(-37390, lo);
    EXPECT_EQ(999999, hi);
    controls::UpDown::SetBuddy(dlg, 70, edits.hwnd(0));
    EXPECT_EQ(edits.hwnd(0), reinterpret_cast<HWND>(SendMessageA(spinner.hwnd(), UDM_GETBUDDY, 0, 0)));
}

TEST(Controls, LabelFitsItsWholeTextInItsOwnFont) {
    HostDialog host;
    win::AutoFont font = toolkit::CreateDialogFont();
    struct Case { const char* what; std::string text; } cases[] = {
        {"short", "Skin(&S):"},
        {"longer than a short buffer", std::string(300, 'W')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        controls::Label label;
        label.CreateLabel(host.get(), c.text, 0, 0, font.get(), 0, 60);
        controls::Label::FitToText(label.hwnd());
        win::WindowDC dc(label.hwnd());
        win::ScopedSelect select(dc.get(), font.get());
        RECT expected{};
        DrawTextA(dc.get(), c.text.c_str(), static_cast<int>(c.text.size()), &expected, DT_CALCRECT | DT_SINGLELINE);
        EXPECT_EQ(expected.right, SizeOf(label.hwnd()).cx);
    }
}

TEST(Controls, ReleaseDestroysWhatTheObjectHolds) {
    HostDialog host;
    win::AutoFont font = toolkit::CreateDialogFont();
    HWND b0, b1, b2, firstLabel, secondLabel;
    {
        controls::Button buttons;
        for (int i = 0; i < 3; ++i)
            buttons.CreateButton(host.get(), "B" + std::to_string(i), 100 + i, 10, 10 + 25 * i, 70, 19, font.get(), 0);
        b0 = buttons.hwnd(0); b1 = buttons.hwnd(1); b2 = buttons.hwnd(2);
        EXPECT_EQ(GetDlgItem(host.get(), 100), b0) << "hwnd(0) is the first button";
        EXPECT_EQ(GetDlgItem(host.get(), 102), b2) << "hwnd(2) is the third";
        EXPECT_EQ(nullptr, buttons.hwnd(3)) << "no fourth place";
        EXPECT_EQ(3u, buttons.Count());

        controls::Label label;
        label.CreateLabel(host.get(), "first", 100, 10, font.get(), 0, 200);
        firstLabel = label.hwnd();
        label.CreateLabel(host.get(), "second", 100, 40, font.get(), 0, 201);
        secondLabel = label.hwnd();
        EXPECT_NE(firstLabel, secondLabel);
        EXPECT_EQ("second", TextOf(label.hwnd())) << "the second label replaces the first in the object";
    }
    EXPECT_FALSE(IsWindow(b0));
    EXPECT_FALSE(IsWindow(b1));
    EXPECT_FALSE(IsWindow(b2));
    EXPECT_FALSE(IsWindow(secondLabel));
    EXPECT_TRUE(IsWindow(firstLabel)) << "an earlier label goes with its dialog";
}

TEST(Controls, DropDownListOperations) {
    HostDialog host;
    const HWND dlg = host.get();
    controls::ComboBox combos;
    combos.CreateCombox(dlg, 30, 0, 0, 200, 150, nullptr, 0);
    combos.CreateCombox(dlg, 31, 0, 40, 200, 150, nullptr, 0);

    EXPECT_EQ(-1, controls::ComboBox::GetSelItem(dlg, 30));
    EXPECT_EQ("", controls::ComboBox::SelIndexText(dlg, 30)) << "no selection gives an empty text";

    for (const char* item : {"Default", "blue.bmp", "green.bmp", "a & b %s.bmp", "red.bmp"})
        controls::ComboBox::AddItem(dlg, 30, item);
    EXPECT_EQ(5, controls::ComboBox::ListCount(dlg, 30));
    controls::ComboBox::ListIndex(dlg, 30, 3);
    EXPECT_EQ(3, controls::ComboBox::GetSelItem(dlg, 30));
    EXPECT_EQ("a & b %s.bmp", controls::ComboBox::SelIndexText(dlg, 30)) << "the whole text, last character included";

    struct Case { const char* what; int id; std::vector<std::string> items; } cases[] = {
        {"five items", 30, {}},
        {"one item", 31, {"only"}},
    };
    for (const std::string& s : cases[1].items) controls::ComboBox::AddItem(dlg, 31, s);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        controls::ComboBox::DeleteItem(dlg, c.id);
        EXPECT_EQ(1, controls::ComboBox::ListCount(dlg, c.id));
        EXPECT_EQ(0, controls::ComboBox::GetSelItem(dlg, c.id));
    }
    EXPECT_EQ("Default", controls::ComboBox::SelIndexText(dlg, 30));
    EXPECT_EQ("only", controls::ComboBox::SelIndexText(dlg, 31));

    const HWND empty = combos.hwnd(1);
    SendMessageA(empty, CB_RESETCONTENT, 0, 0);
    controls::ComboBox::DeleteItem(dlg, 31);
    EXPECT_EQ(0, controls::ComboBox::ListCount(dlg, 31)) << "an empty list stays empty";
    EXPECT_EQ("", controls::ComboBox::SelIndexText(dlg, 31));
}

TEST(Controls, EditTextRoundTripsWholeTexts) {
    HostDialog host;
    controls::Edit edits;
    edits.CreateEdit(host.get(), 40, 0, 0, 200, 21, nullptr, 0, 1000);
    struct Case { const char* what; std::string text; } cases[] = {
        {"empty", ""},
        {"ordinary", "C:\\Skins\\Blue"},
        {"ampersand and format", "50% & %s"},
        {"longer than 254", std::string(300, 'x') + "END"},
    };
    for (const Case& c : cases) {
        controls::Edit::SetEditText(host.get(), 40, c.text);
        EXPECT_EQ(c.text, controls::Edit::Text(host.get(), 40)) << c.what;
    }
}

TEST(Controls, DateControlsShowTodayPlusDaysFromTheClockSeam) {
    HostDialog host;
    controls::DatePicker pickers;
    controls::MonthCalendar calendar;
    pickers.CreateDTPicker(host.get(), 50, 0, 0, 130, 22, 0);
    calendar.CreateMonthCalendar(host.get(), 80);

    struct Case { const char* what; SYSTEMTIME now; int days; WORD y, m, d; } cases[] = {
        {"today", Day(2026, 12, 8), 0, 2026, 12, 8},
        {"yesterday", Day(2026, 12, 8), -1, 2026, 12, 7},
        {"across the year end", Day(2026, 12, 31), 1, 2027, 1, 1},
        {"back across a year start", Day(2027, 1, 1), -1, 2026, 12, 31},
        {"end of February in a leap year", Day(2028, 2, 28, 23), 1, 2028, 2, 29},
        {"a month ahead", Day(2026, 1, 31), 29, 2026, 3, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sys::ScopedSeams seams;
        seams->getLocalTime = [&](SYSTEMTIME& t) { t = c.now; };
        controls::DatePicker::SetTodayPlus(host.get(), 50, c.days);
        SYSTEMTIME shown{};
        ASSERT_EQ(GDT_VALID, SendMessageA(pickers.hwnd(0), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown)));
        EXPECT_EQ(c.y, shown.wYear);
        EXPECT_EQ(c.m, shown.wMonth);
        EXPECT_EQ(c.d, shown.wDay);

        controls::MonthCalendar::SetTodayPlus(host.get(), 80, c.days);
        SYSTEMTIME sel{};
        ASSERT_TRUE(SendMessageA(calendar.hwnd(), MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&sel)));
        EXPECT_EQ(c.y, sel.wYear);
        EXPECT_EQ(c.m, sel.wMonth);
        EXPECT_EQ(c.d, sel.wDay);
    }
}

TEST(Controls, DateTipIsATopMostTrackingToolTipOverItsWindow) {
    HostDialog host;
    auto tip = tools::CreateDateTip(host.get());
    const HWND h = tip->hwnd();
    ASSERT_TRUE(IsWindow(h));
    EXPECT_STRCASEEQ("tooltips_class32", ClassOf(h).c_str());
    EXPECT_EQ(nullptr, GetParent(h));
    EXPECT_TRUE(ExStyleOf(h) & WS_EX_TOPMOST);
    EXPECT_TRUE(StyleOf(h) & TTS_ALWAYSTIP);
    EXPECT_EQ(1, SendMessageA(h, TTM_GETTOOLCOUNT, 0, 0));
    EXPECT_EQ(4000, SendMessageA(h, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0));
    EXPECT_EQ(288, SendMessageA(h, TTM_GETMAXTIPWIDTH, 0, 0));
    TTTOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ASSERT_TRUE(SendMessageA(h, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&ti)));
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(host.get()), ti.uId);
    // Shown only when told: the tool tip never subclasses the window to watch the mouse.
    EXPECT_TRUE(ti.uFlags & TTF_TRACK);
    EXPECT_FALSE(ti.uFlags & TTF_SUBCLASS);

    tip.reset();
    EXPECT_FALSE(IsWindow(h));
}

// --- the dialog builder ---

namespace {

struct SeenByIdleDialog {
    RECT client{1, 1, 1, 1};
    RECT window{};
    std::string title = "unset";
    LPARAM init = -1;
    int opened = 0;
};

constexpr UINT kMeasure = WM_APP + 1;

INT_PTR CALLBACK InertInitProc(HWND dlg, UINT msg, WPARAM, LPARAM lp) {
    static SeenByIdleDialog* seen = nullptr;
    switch (msg) {
    case WM_INITDIALOG:
        seen = reinterpret_cast<SeenByIdleDialog*>(lp);
        seen->init = lp;
        ++seen->opened;
        PostMessageA(dlg, kMeasure, 0, 0);
        return 0;
    case kMeasure:
        GetClientRect(dlg, &seen->client);
        GetWindowRect(dlg, &seen->window);
        seen->title = TextOf(dlg);
        EndDialog(dlg, 0);
        return 1;
    }
    return 0;
}

}  // namespace

TEST(DialogBuilder, AnInertProcedureLeavesAnUntitledDialogWithoutClientArea) {
    for (int run = 0; run < 2; ++run) {  // a second opening builds a fresh dialog
        SeenByIdleDialog seen;
        toolkit::TemplateDialog dialog;
        dialog.CreateDialog(nullptr, InertInitProc, reinterpret_cast<LPARAM>(&seen));
        EXPECT_EQ(1, seen.opened);
        EXPECT_EQ(reinterpret_cast<LPARAM>(&seen), seen.init);
        EXPECT_EQ("", seen.title);
        EXPECT_EQ(0, seen.client.right - seen.client.left);
        EXPECT_EQ(0, seen.client.bottom - seen.client.top);
        EXPECT_EQ(0, seen.window.left);
        EXPECT_EQ(0, seen.window.top);
    }
}

// --- frames ---

namespace {

// A 300 x 120 surface on which one frame is drawn.
class Surface : public testing_support::PaintSurface {
public:
    Surface() : PaintSurface(300, 120) {}
    int MarkedInRow(int y, int x0, int x1) const {
        int n = 0;
        for (int x = x0; x < x1; ++x) n += Marked(x, y) ? 1 : 0;
        return n;
    }
};

}  // namespace

TEST(Frames, FlatRectangleGivesAHorizontalLineAndBoxesGiveFourSides) {
    {
        Surface s;
        toolkit::DrawEtchedFrame(s.dc(), 8, 254, 66, 66);
        int marked = 0;
        for (int y = 60; y <= 70; ++y) marked += s.MarkedInRow(y, 8, 254);
        EXPECT_GE(marked, 246) << "a line across the width";
        EXPECT_EQ(0, s.MarkedInRow(66, 0, 8) + s.MarkedInRow(66, 255, 300)) << "nothing beyond its ends";
        EXPECT_EQ(0, s.MarkedInRow(50, 0, 300) + s.MarkedInRow(80, 0, 300));
    }
    {
        Surface s;
        toolkit::DrawSunkenFrame(s.dc(), 99, 171, 76, 97);
        EXPECT_TRUE(s.Marked(99, 80)) << "left side";
        EXPECT_TRUE(s.Marked(170, 80)) << "right side";
        EXPECT_TRUE(s.Marked(120, 76)) << "top side";
        EXPECT_TRUE(s.Marked(120, 96)) << "bottom side";
        EXPECT_FALSE(s.Marked(135, 86)) << "the inside is left alone";
        EXPECT_FALSE(s.Marked(98, 80));
        EXPECT_FALSE(s.Marked(171, 80));
    }
}

// --- choosers ---

namespace {

// Cancels the first chooser window of this thread that appears, from a thread timer.
class CancelChooserSoon {
public:
    CancelChooserSoon() { timer_ = SetTimer(nullptr, 0, 50, Tick); cancelled_ = false; }
    ~CancelChooserSoon() { KillTimer(nullptr, timer_); }
    static bool cancelled() { return cancelled_; }
private:
    static BOOL CALLBACK Find(HWND h, LPARAM lp) {
        if (IsWindowVisible(h) && ClassOf(h) == "#32770") {
            *reinterpret_cast<HWND*>(lp) = h;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        HWND found = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), Find, reinterpret_cast<LPARAM>(&found));
        if (found && !cancelled_) {
            cancelled_ = true;
            PostMessageA(found, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
    }
    UINT_PTR timer_;
    static inline bool cancelled_ = false;
};

}  // namespace

TEST(Choosers, CancellingEitherChooserGivesAnEmptyText) {
    {
        CancelChooserSoon cancel;
        EXPECT_EQ("", toolkit::CommonDialog::OpenDialog(nullptr, "*.wav"));
        EXPECT_TRUE(CancelChooserSoon::cancelled());
    }
    {
        CancelChooserSoon cancel;
        EXPECT_EQ("", toolkit::CommonDialog::BrowsCatalog(nullptr));
        EXPECT_TRUE(CancelChooserSoon::cancelled());
    }
}

TEST(Choosers, FilterTakesBarePatternsAndBarSeparatedPairs) {
    using namespace std::string_literals;
    struct Case { const char* what; std::string in, out; } cases[] = {
        {"bare pattern", "*.wav", "*.wav\0*.wav\0\0"s},
        {"pairs", "Sounds|*.wav|All|*.*", "Sounds\0*.wav\0All\0*.*\0\0"s},
        {"empty", "", "\0\0\0"s},
    };
    for (const Case& c : cases) EXPECT_EQ(c.out, toolkit::ChooserFilter(c.in)) << c.what;
}
