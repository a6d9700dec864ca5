// The biorhythm window driven as a user would: boxes, spins, steps, check boxes, the colour
// panel, and the birth date kept in the INI file.
#include "apps/vitaro/VitaroLayout.h"
#include "apps/vitaro/VitaroWindow.h"
#include "common/MessageLoop.h"
#include "common/SystemSeams.h"
#include "tests/win/support/TestSupport.h"
#include "tests/win/support/TextFit.h"

#include <gtest/gtest.h>

namespace {

using namespace bio::ui;
using testing_support::PumpPending;
using testing_support::PumpUntil;
using testing_support::ReadFileBytes;
using testing_support::TempDir;
using testing_support::WriteFileBytes;

constexpr int kBirthMonth = 0, kBirthDay = 1, kBirthYear = 2, kMonth = 3, kDay = 4, kYear = 5;

std::string Text(HWND wnd) {
    char buffer[256] = {};
    GetWindowTextA(wnd, buffer, sizeof buffer);
    return buffer;
}

class VitaroTest : public ::testing::Test {
protected:
    void SetUp() override {
        iniPath_ = dir_.path() + "/stop.ini";
        SetToday(2024, 3, 10);
    }
    void TearDown() override {
        if (wnd_ && IsWindow(wnd_)) DestroyWindow(wnd_);
        PumpPending();
    }
    void SetToday(int year, int month, int day) {
        seams_->getLocalTime = [year, month, day](SYSTEMTIME& t) {
            t = {};
            t.wYear = static_cast<WORD>(year);
            t.wMonth = static_cast<WORD>(month);
            t.wDay = static_cast<WORD>(day);
            t.wHour = 12;
        };
    }
    void StoreBirthDate(const std::string& text) {
        ASSERT_TRUE(WriteFileBytes(iniPath_, "[StartBreak]\r\nBirthdate=" + text + "\r\n"));
    }
    void Open() {
        vitaro::VitaroOptions options;
        options.iniPath = iniPath_;
        options.show = SW_SHOWNOACTIVATE;
        wnd_ = vitaro::CreateVitaroWindow(GetModuleHandleA(nullptr), options);
        ASSERT_NE(wnd_, nullptr);
        PumpPending();
    }
    HWND Control(int id) const { return GetDlgItem(wnd_, id); }
    HWND BoxWnd(int box) const { return Control(BoxId(box)); }
    std::string BoxText(int box) const { return Text(BoxWnd(box)); }
    std::string Boxes(int first) const { return BoxText(first) + "/" + BoxText(first + 1) + "/" + BoxText(first + 2); }
    int Spin(int box) const { return GetScrollPos(Control(SpinId(box)), SB_CTL); }
    std::string Days() const { return Text(Control(kIdDays)); }
    std::string Line(int i) const { return Text(Control(kIdCycles4 + i)); }
    std::string Caption() const { return vitaro::VitaroViewOf(wnd_).chart->texts().back().text; }
    COLORREF ChartPixel(int x, int y) const { return GetPixel(vitaro::VitaroViewOf(wnd_).chart->dc(), x, y); }

    // Replaces the whole text as a paste would.
    void Paste(int box, const char* text) {
        SendMessageA(BoxWnd(box), EM_SETSEL, 0, -1);
        SendMessageA(BoxWnd(box), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
    }
    // Key by key, after selecting everything.
    void Type(int box, const char* text) {
        SendMessageA(BoxWnd(box), EM_SETSEL, 0, -1);
        for (const char* c = text; *c; ++c) SendMessageA(BoxWnd(box), WM_CHAR, static_cast<unsigned char>(*c), 1);
    }
    void Click(int id) {
        HWND button = Control(id);
        const LONG style = GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK;
        if (style == BS_AUTOCHECKBOX || style == BS_AUTORADIOBUTTON) {
            const bool checked = SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
            SendMessageA(button, BM_SETCHECK, style == BS_AUTOCHECKBOX && checked ? BST_UNCHECKED : BST_CHECKED, 0);
        }
        SendMessageA(wnd_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    }
    void SpinArrow(int box, int request) {
        SendMessageA(wnd_, WM_VSCROLL, MAKEWPARAM(request, 0), reinterpret_cast<LPARAM>(Control(SpinId(box))));
    }

    TempDir dir_;
    std::string iniPath_;
    sys::ScopedSeams seams_;
    HWND wnd_ = nullptr;
};

TEST_F(VitaroTest, StartsWithTheStoredBirthDateAndTodayAndDrawsTheChart) {
    StoreBirthDate("2-29-2000");
    Open();
    EXPECT_EQ(Boxes(0), "2/29/2000");
    EXPECT_EQ(Boxes(3), "3/10/2024");
    EXPECT_EQ(Days(), "You have lived 8776 days");
    EXPECT_EQ(Caption(), "Sunday, Mar 10 2024");
    EXPECT_EQ(Line(3).rfind(" Average : ", 0), 0u);
    EXPECT_EQ(Spin(kBirthDay), 29);
    EXPECT_EQ(Spin(kYear), 2024);
    EXPECT_EQ(Text(wnd_), "Vitaro");
}

TEST_F(VitaroTest, MissingEmptyOrImpossibleStoredBirthDatesStartAtFirstJanuary1990) {
    struct { const char* what; const char* stored; } cases[] = {{"no file", nullptr}, {"empty", ""}, {"impossible", "2-30-2000"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteFileA(iniPath_.c_str());
        if (c.stored) StoreBirthDate(c.stored);
        Open();
        EXPECT_EQ(Boxes(0), "1/1/1990");
        EXPECT_EQ(Days(), "You have lived 12487 days");
        DestroyWindow(wnd_);
    }
}

TEST_F(VitaroTest, ValueLinesOnTheBirthDay) {
    StoreBirthDate("3-10-2024");
    Open();
    EXPECT_EQ(Line(0), " Emotional :  Crucial Day");
    EXPECT_EQ(Line(1), " Physical :  Crucial Day");
    EXPECT_EQ(Line(2), " Intellectual :  Crucial Day");
    EXPECT_EQ(Line(3), " Average : 0%");
    EXPECT_EQ(Days(), "You have lived 0 days");
}

TEST_F(VitaroTest, LayoutAndLook) {
    Open();
    RECT client{};
    GetClientRect(wnd_, &client);
    EXPECT_EQ(client.right, kClientWidth);
    EXPECT_EQ(client.bottom, kClientHeight);
    const LONG style = GetWindowLongA(wnd_, GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_NE(GetClassLongPtrA(wnd_, GCLP_HICON), 0);

    struct { int id; const char* text; Box box; } controls[] = {
        {kIdChart, "", kChart},
        {kIdRulers, "Rulers", kCheckBoxes[3]},
        {kIdReset, "Current Date", kReset},
        {kIdSystemDate, "Apply System  Date", kSystemDate},
        {kIdMonthForth, "--->", {kStepForthX, 250, kStepWidth, kStepHeight}},
        {kIdCycles4 + 3, nullptr, {kValuePanel.x, 279, kValueLineWidth, 19}},
        {SpinId(kDay), nullptr, {284 + kBoxWidth, kSpinTop, 16, 16}},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(c.id);
        HWND control = Control(c.id);
        ASSERT_NE(control, nullptr);
        if (c.text) {
            EXPECT_EQ(Text(control), c.text);
        }
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, wnd_, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, c.box.x);
        EXPECT_EQ(r.top, c.box.y);
        EXPECT_EQ(r.right - r.left, c.box.width);
        EXPECT_EQ(r.bottom - r.top, c.box.height);
    }
    for (int id = kIdEmotional; id <= kIdRulers; ++id) EXPECT_EQ(IsDlgButtonChecked(wnd_, id), BST_CHECKED);

    // The check boxes are the legend: their backgrounds are the curve colours.
    struct { int id; COLORREF colour; } legend[] = {
        {kIdEmotional, RGB(255, 255, 0)}, {kIdPhysical, RGB(0, 255, 0)}, {kIdIntellectual, RGB(255, 0, 0)}, {kIdRulers, RGB(255, 255, 255)},
    };
    for (const auto& l : legend) {
        HDC dc = GetDC(Control(l.id));
        SendMessageA(wnd_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(Control(l.id)));
        EXPECT_EQ(GetBkColor(dc), l.colour) << l.id;
        ReleaseDC(Control(l.id), dc);
    }

    // The colour panel lies below the client area.
    RECT panel{};
    GetWindowRect(Control(kIdColorPanel), &panel);
    MapWindowPoints(nullptr, wnd_, reinterpret_cast<POINT*>(&panel), 2);
    EXPECT_GE(panel.top, kClientHeight);
}

TEST_F(VitaroTest, ShowsEveryTextWhole) {
    Open();
    EXPECT_EQ("", testing_support::ClippedTextReport(wnd_));
    // The longest value lines: every cycle at its crucial day.
    DestroyWindow(wnd_);
    StoreBirthDate("3-10-2024");
    Open();
    EXPECT_EQ(Line(2), " Intellectual :  Crucial Day");
    EXPECT_EQ("", testing_support::ClippedTextReport(wnd_));
}

TEST_F(VitaroTest, BoxesRejectWhatTheyCannotHoldAndRestoreTheLastAcceptedValue) {
    StoreBirthDate("7-4-1976");
    Open();
    const std::string days = Days();

    Paste(kMonth, "13");
    EXPECT_EQ(BoxText(kMonth), "3");
    EXPECT_EQ(Spin(kMonth), 3);

    struct { const char* what; int box; const char* pasted; const char* shown; } cases[] = {
        {"letters", kBirthDay, "x4", "4"},
        {"too long a year", kBirthYear, "19760", "1976"},
        {"zero day", kDay, "0", "10"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Paste(c.box, c.pasted);
        EXPECT_EQ(BoxText(c.box), c.shown);
    }
    EXPECT_EQ(Days(), days);

    // Typing key by key: "1" is a month, "13" is not, so the box keeps 1.
    Type(kMonth, "13");
    EXPECT_EQ(BoxText(kMonth), "1");
    EXPECT_EQ(Spin(kMonth), 1);

    // Delete clears the box, which refills at once.
    SendMessageA(BoxWnd(kBirthYear), EM_SETSEL, 0, -1);
    SendMessageA(BoxWnd(kBirthYear), WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(BoxText(kBirthYear), "1976");
}

TEST_F(VitaroTest, AcceptedChangesRecountTheDaysWithoutRedrawing) {
    StoreBirthDate("3-13-2024");
    Open();
    EXPECT_EQ(Days(), "You have lived -3 days");
    const std::string caption = Caption();
    Paste(kDay, "20");
    EXPECT_EQ(Days(), "You have lived 7 days");
    EXPECT_EQ(Caption(), caption);
    EXPECT_EQ(Spin(kDay), 20);
    Paste(kBirthYear, "05");  // two digits: 2005
    EXPECT_EQ(BoxText(kBirthYear), "05");
    EXPECT_EQ(Days(), "You have lived 6947 days");
    // The spin puts its own value back in decimal.
    SpinArrow(kBirthYear, SB_LINEUP);
    EXPECT_EQ(BoxText(kBirthYear), "6");
}

TEST_F(VitaroTest, AnImpossibleCurrentDateKeepsTheCountAndTheDate) {
    SetToday(2001, 1, 31);
    StoreBirthDate("1-1-2001");
    Open();
    EXPECT_EQ(Days(), "You have lived 30 days");
    Paste(kMonth, "2");  // 31 February
    EXPECT_EQ(BoxText(kMonth), "2");
    EXPECT_EQ(BoxText(kDay), "31");
    EXPECT_EQ(Days(), "You have lived 30 days");
    EXPECT_EQ((vitaro::VitaroViewOf(wnd_).current), (bio::CivilDate{2001, 1, 31}));
    // The birth date group still updates.
    Paste(kBirthDay, "2");
    EXPECT_EQ((vitaro::VitaroViewOf(wnd_).birth), (bio::CivilDate{2001, 1, 2}));
    EXPECT_EQ(Days(), "You have lived 30 days");
    // "Current Date" with an impossible group keeps the chart.
    Click(kIdReset);
    EXPECT_EQ(Caption(), "Wednesday, Jan 31 2001");
}

TEST_F(VitaroTest, StepsMoveTheChartOnlyAndCurrentDateBringsItBack) {
    SetToday(2001, 1, 31);
    StoreBirthDate("1-1-2001");
    Open();
    Click(kIdMonthForth);
    EXPECT_EQ(Caption(), "Wednesday, Feb 28 2001");
    EXPECT_EQ(Boxes(3), "1/31/2001");
    EXPECT_EQ(Days(), "You have lived 30 days");
    Click(kIdReset);
    EXPECT_EQ(Caption(), "Wednesday, Jan 31 2001");

    struct { int id; const char* caption; } steps[] = {
        {kIdDayForth, "Thursday, Feb 1 2001"},
        {kIdDayBack, "Wednesday, Jan 31 2001"},
        {kIdMonthBack, "Sunday, Dec 31 2000"},
        {kIdYearBack, "Friday, Dec 31 1999"},
        {kIdYearForth, "Sunday, Dec 31 2000"},
    };
    for (const auto& s : steps) {
        Click(s.id);
        EXPECT_EQ(Caption(), s.caption) << s.id;
    }
}

TEST_F(VitaroTest, SpinsRunUpwardAndStopAtTheirEnds) {
    StoreBirthDate("12-31-1");
    Open();
    SpinArrow(kBirthMonth, SB_LINEUP);
    EXPECT_EQ(BoxText(kBirthMonth), "12");
    SpinArrow(kBirthMonth, SB_LINEDOWN);
    EXPECT_EQ(BoxText(kBirthMonth), "11");
    EXPECT_EQ(Spin(kBirthMonth), 11);
    SpinArrow(kBirthDay, SB_LINEUP);
    EXPECT_EQ(BoxText(kBirthDay), "31");
    // Year spin down to 0: the box refuses it and both go back to 1.
    SpinArrow(kBirthYear, SB_LINEDOWN);
    EXPECT_EQ(BoxText(kBirthYear), "1");
    EXPECT_EQ(Spin(kBirthYear), 1);
}

TEST_F(VitaroTest, ApplySystemDateFillsTheBoxesButLeavesTheChart) {
    StoreBirthDate("1-1-2024");
    Open();
    Click(kIdDayForth);
    EXPECT_EQ(Caption(), "Monday, Mar 11 2024");
    SetToday(2024, 4, 1);
    Click(kIdSystemDate);
    EXPECT_EQ(Boxes(3), "4/1/2024");
    EXPECT_EQ(Days(), "You have lived 91 days");
    EXPECT_EQ(Caption(), "Monday, Mar 11 2024");
    Click(kIdReset);
    EXPECT_EQ(Caption(), "Monday, Apr 1 2024");
}

TEST_F(VitaroTest, CheckBoxesRedrawTheirCurves) {
    StoreBirthDate("7-4-1976");
    Open();
    const auto has = [&](COLORREF colour) {
        for (int y = 0; y < 223; ++y)
            for (int x = 0; x < 418; ++x)
                if (ChartPixel(x, y) == colour) return true;
        return false;
    };
    Click(kIdEmotional);
    EXPECT_FALSE(has(RGB(255, 255, 0)));
    Click(kIdRulers);
    EXPECT_EQ(vitaro::VitaroViewOf(wnd_).chart->texts().size(), 1u);  // the caption only
    Click(kIdEmotional);
    EXPECT_TRUE(has(RGB(255, 255, 0)));
}

TEST_F(VitaroTest, ColourPanelEditsTheChosenSlotAndTheChartFollowsAtItsNextDrawing) {
    Open();
    EXPECT_EQ(SendMessageA(Control(kIdColorOption1), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(Text(Control(kIdColorNumber1)), "187");
    EXPECT_EQ(Text(Control(kIdColorNumber1 + 1)), "0");
    EXPECT_EQ(Text(Control(kIdColorNumber1 + 2)), "82");
    EXPECT_EQ(GetScrollPos(Control(kIdColorScroll1 + 2), SB_CTL), 82);

    Click(kIdColorOption1 + 1);  // "Axes"
    EXPECT_EQ(Text(Control(kIdColorOption1 + 1)), "Axes");
    EXPECT_EQ(Text(Control(kIdColorNumber1)), "255");
    struct { int bar; int request; int thumb; const char* number; } moves[] = {
        {0, SB_LEFT, 0, "0"},            // red to 0
        {1, SB_PAGELEFT, 0, "245"},      // green down a page
        {1, SB_LINELEFT, 0, "244"},
        {2, SB_THUMBPOSITION, 17, "17"},
        {2, SB_PAGERIGHT, 0, "27"},
        {0, SB_LINELEFT, 0, "0"},        // stops at 0
    };
    for (const auto& m : moves) {
        SendMessageA(wnd_, WM_HSCROLL, MAKEWPARAM(m.request, m.thumb), reinterpret_cast<LPARAM>(Control(kIdColorScroll1 + m.bar)));
        EXPECT_EQ(Text(Control(kIdColorNumber1 + m.bar)), m.number);
    }
    const COLORREF axes = RGB(0, 244, 27);
    EXPECT_EQ(vitaro::VitaroViewOf(wnd_).colors[1], axes);
    EXPECT_EQ(ChartPixel(bio::PixelX(1), 60), RGB(255, 255, 255));  // not redrawn yet
    Click(kIdReset);
    EXPECT_EQ(ChartPixel(bio::PixelX(1), 60), axes);
    EXPECT_EQ(vitaro::VitaroViewOf(wnd_).colors[0], RGB(187, 0, 82));
}

TEST_F(VitaroTest, EscapeClosesWhateverHasTheFocusAndStoresTheBirthDateAsTyped) {
    StoreBirthDate("7-4-1976");
    Open();
    Paste(kBirthYear, "76");
    for (HWND target : {BoxWnd(kDay), Control(kIdReset), wnd_}) {
        MSG msg{target, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
        EXPECT_TRUE(win::RouteDialogKeys(msg));
    }
    MSG elsewhere{GetDesktopWindow(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    EXPECT_FALSE(win::RouteDialogKeys(elsewhere));
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(wnd_); }));
    char value[32] = {};
    GetPrivateProfileStringA("StartBreak", "birthdate", "", value, sizeof value, iniPath_.c_str());
    EXPECT_STREQ(value, "7-4-76");
}

TEST_F(VitaroTest, ChartBoxRepaintsFromTheRetainedImage) {
    Open();
    HWND chart = Control(kIdChart);
    ShowWindow(wnd_, SW_MINIMIZE);
    PumpPending();
    ShowWindow(wnd_, SW_RESTORE);
    PumpPending();
    // The box paints its retained image (WM_PRINTCLIENT takes the same road as WM_PAINT).
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 418, 223);
    HGDIOBJ old = SelectObject(mem, bmp);
    SendMessageA(chart, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT);
    EXPECT_EQ(GetPixel(mem, 5, 5), RGB(187, 0, 82));
    EXPECT_EQ(GetPixel(mem, bio::PixelX(1), 60), RGB(255, 255, 255));
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    EXPECT_TRUE(IsWindowVisible(chart));
}

}  // namespace
