// The clock's windows and dialogs at 96, 120, 144 and 192 DPI, shown through the DPI seam: every
// control stands where its 96-DPI layout puts it, scaled by the factor, every caption shows whole
// in its own font, and a move to a monitor of another DPI (WM_DPICHANGED) lays a window out anew.
#include "alarms/AlarmEditor.h"
#include "alarms/AlarmList.h"
#include "alarms/MissedAlarms.h"
#include "apps/zentaro/AboutWindow.h"
#include "apps/zentaro/MainWindow.h"
#include "apps/zentaro/MenuLayout.h"
#include "apps/zentaro/PopupMenu.h"
#include "face/Face.h"
#include "face/TimeDrawing.h"
#include "breaksettings/BreakSettingsWindow.h"
#include "common/Dpi.h"
#include "common/SystemSeams.h"
#include "face/OptionsDialog.h"
#include "tests/win/support/TestSupport.h"
#include "tests/win/support/TextFit.h"
#include "tests/win/zentaro/tools_dialog_driver.h"
#include "tools/CalendarTool.h"
#include "tools/SystemTimeTool.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using testing_support::PumpPending;

constexpr int kDpis[] = {96, 120, 144, 192};

// A direct child's class and rectangle in its parent's client coordinates.
struct Child {
    std::string className;
    RECT rect;
};

std::vector<Child> Children(HWND window) {
    std::vector<Child> out;
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        Child child;
        char name[64] = {};
        GetClassNameA(c, name, sizeof name);
        child.className = name;
        GetWindowRect(c, &child.rect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&child.rect), 2);
        out.push_back(child);
    }
    return out;
}

// A template dialog is sized whole (its frame included), a tool window by its client area.
SIZE LaidOutSize(HWND window) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    RECT r{};
    if (std::string(name) == "#32770") {
        GetWindowRect(window, &r);
        return {r.right - r.left, r.bottom - r.top};
    }
    GetClientRect(window, &r);
    return {r.right, r.bottom};
}

// What one window shows at one DPI.
struct Shot {
    std::vector<Child> children;
    SIZE client{};
    std::string clipped;
};

Shot Take(HWND window) { return {Children(window), LaidOutSize(window), testing_support::ClippedTextReport(window)}; }

bool Near(long actual, long expected, long slack) { return std::labs(actual - expected) <= slack; }

// Positions scale to within the rounding of a few sums; sizes of controls that size
// themselves by their text (labels, combo boxes by their font) are left to the text check, and
// a spinner keeps the system's width and takes it from the right of the field it is attached to.
void ExpectScaled(const Shot& at96, const Shot& shot, int dpi, const char* what) {
    SCOPED_TRACE(std::string(what) + " at " + std::to_string(dpi) + " DPI");
    EXPECT_EQ("", shot.clipped);
    EXPECT_TRUE(Near(shot.client.cx, dpi::Scale(at96.client.cx, dpi), 2)) << shot.client.cx;
    EXPECT_TRUE(Near(shot.client.cy, dpi::Scale(at96.client.cy, dpi), 2)) << shot.client.cy;
    ASSERT_EQ(shot.children.size(), at96.children.size());
    for (std::size_t i = 0; i < shot.children.size(); ++i) {
        const Child& base = at96.children[i];
        const RECT& r = shot.children[i].rect;
        SCOPED_TRACE(base.className + " #" + std::to_string(i));
        const bool spinner = base.className == "msctls_updown32";
        const bool spinnerBuddy = i + 1 < shot.children.size() && at96.children[i + 1].className == "msctls_updown32";
        const bool sizedByText = base.className == "Static" || base.className == "ComboBox";
        if (spinner) continue;
        EXPECT_TRUE(Near(r.left, dpi::Scale(base.rect.left, dpi), 2)) << r.left;
        EXPECT_TRUE(Near(r.top, dpi::Scale(base.rect.top, dpi), 2)) << r.top;
        if (sizedByText) continue;
        if (!spinnerBuddy) {
            EXPECT_TRUE(Near(r.right, dpi::Scale(base.rect.right, dpi), 2)) << r.right;
        }
        EXPECT_TRUE(Near(r.bottom, dpi::Scale(base.rect.bottom, dpi), 2)) << r.bottom;
    }
}
class DpiLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::ClearUserRegistry();
        seams_->getLocalTime = [](SYSTEMTIME& t) { t = testing_support::LocalTime(2026, 12, 8, 21, 34, 56); };
        seams_->windowDpi = [this](HWND) { return static_cast<UINT>(dpi_); };
    }
    void TearDown() override {
        alarms::CloseAlarmList();
        for (HWND w : {alarms::AddEditorWindow(), breaksettings::BreakSettingsWindow()})
            if (w) DestroyWindow(w);
        if (HWND w = zentaro::MainWindowHandle()) DestroyWindow(w);
        UnregisterClassA(zentaro::kMainClassName, GetModuleHandleA(nullptr));
        PumpPending();
    }

    // Opens a tool window at each DPI and checks it against its 96-DPI self.
    void CheckToolWindow(const char* what, const std::function<HWND()>& open) {
        Shot at96;
        for (int dpi : kDpis) {
            dpi_ = dpi;
            HWND w = open();
            ASSERT_NE(w, nullptr) << what;
            PumpPending();
            const Shot shot = Take(w);
            DestroyWindow(w);
            PumpPending();
            if (dpi == 96) at96 = shot;
            ExpectScaled(at96, shot, dpi, what);
        }
    }

    // The same for a modal template dialog found by its title.
    void CheckDialog(const char* title, const std::function<void()>& open) {
        Shot at96;
        for (int dpi : kDpis) {
            dpi_ = dpi;
            Shot shot;
            tools_test::DialogDriver::Run(title, open, [&](HWND dlg) { shot = Take(dlg); });
            if (dpi == 96) at96 = shot;
            ExpectScaled(at96, shot, dpi, title);
        }
    }

    HWND OpenClock() {
        EXPECT_TRUE(zentaro::RegisterMainClass(zentaro::kMainClassName));
        HWND w = zentaro::CreateMainWindow(zentaro::kMainClassName, WS_EX_LAYERED, "");
        if (w) zentaro::StartMainWindow(w);
        PumpPending();
        return w;
    }

    sys::ScopedSeams seams_;
    int dpi_ = 96;
};

// The bounding box of the window's outline; false when the window has none.
bool OutlineBox(HWND window, RECT& box) {
    win::AutoRegion region(CreateRectRgn(0, 0, 0, 0));
    return GetWindowRgn(window, region.get()) != ERROR && GetRgnBox(region.get(), &box) != ERROR;
}

TEST_F(DpiLayoutTest, ToolWindowsScaleTheirControlsAndShowTheirTextsWhole) {
    CheckToolWindow("alarm list", [] { return alarms::ShowAlarmList(nullptr); });
    CheckToolWindow("alarm editor", [] { return alarms::ShowAddEditor(nullptr); });
    testing_support::TempDir dir;
    breaksettings::BreakSettingsConfig config;
    config.iniPath = dir.file("stop.ini");
    config.programDirectory = dir.path();
    CheckToolWindow("break settings", [&] { return breaksettings::ShowBreakSettings(nullptr, config); });
}

TEST_F(DpiLayoutTest, TemplateDialogsScaleTheirControlsAndShowTheirTextsWhole) {
    CheckDialog(tools::calendar_tool::kTitle, [] { tools::ShowCalendarTool(nullptr); });
    CheckDialog(tools::system_time_tool::kTitle, [] { tools::ShowSystemTimeTool(nullptr); });
    HWND main = OpenClock();
    ASSERT_NE(main, nullptr);
    CheckDialog(options::kCaption, [main] { options::ShowOptionsDialog(main, [] {}); });
}

TEST_F(DpiLayoutTest, AMoveToAnotherDpiTakesTheSuggestedRectangleAndScalesTheControls) {
    dpi_ = 96;
    HWND w = alarms::ShowAlarmList(nullptr);
    ASSERT_NE(w, nullptr);
    PumpPending();
    const Shot at96 = Take(w);
    const auto font96 = reinterpret_cast<HFONT>(SendMessageA(GetWindow(w, GW_CHILD), WM_GETFONT, 0, 0));
    LOGFONTA lf96{};
    GetObjectA(font96, sizeof lf96, &lf96);
    const auto columnWidth = [&] {
        return static_cast<int>(SendMessageA(FindWindowExA(w, nullptr, WC_LISTVIEWA, nullptr), LVM_GETCOLUMNWIDTH, 0, 0));
    };
    const int column96 = columnWidth();
    for (int dpi : {144, 120, 192, 96}) {
        dpi_ = dpi;
        RECT before{};
        GetWindowRect(w, &before);
        RECT suggested{before.left + 10, before.top + 20, before.left + 10 + dpi::Scale(at96.client.cx + 20, dpi),
                       before.top + 20 + dpi::Scale(at96.client.cy + 40, dpi)};
        SendMessageA(w, dpi::kDpiChangedMessage, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        PumpPending();
        SCOPED_TRACE(dpi);
        RECT now{};
        GetWindowRect(w, &now);
        EXPECT_EQ(now.left, suggested.left);
        EXPECT_EQ(now.top, suggested.top);
        EXPECT_EQ(now.right, suggested.right);
        EXPECT_EQ(now.bottom, suggested.bottom);
        const std::vector<Child> children = Children(w);
        ASSERT_EQ(children.size(), at96.children.size());
        for (std::size_t i = 0; i < children.size(); ++i) {
            EXPECT_TRUE(Near(children[i].rect.left, dpi::Scale(at96.children[i].rect.left, dpi), 2));
            EXPECT_TRUE(Near(children[i].rect.top, dpi::Scale(at96.children[i].rect.top, dpi), 2));
            EXPECT_TRUE(Near(children[i].rect.right, dpi::Scale(at96.children[i].rect.right, dpi), 2));
        }
        const auto font = reinterpret_cast<HFONT>(SendMessageA(GetWindow(w, GW_CHILD), WM_GETFONT, 0, 0));
        LOGFONTA lf{};
        GetObjectA(font, sizeof lf, &lf);
        EXPECT_EQ(lf.lfHeight, dpi::Scale(lf96.lfHeight, dpi));
        EXPECT_TRUE(Near(columnWidth(), dpi::Scale(column96, dpi), 2)) << "the list's column: " << columnWidth();
    }
}

TEST_F(DpiLayoutTest, TheMissedAlarmsListScrollsToTheEndOfItsLongestRowAfterAMove) {
    dpi_ = 96;
    alarms::AlarmItem item;
    item.itemState = 1;
    item.notifyText = std::string(60, 'W');
    HWND w = alarms::ShowMissedAlarms(nullptr, {{item, 0, 1}});
    ASSERT_NE(w, nullptr);
    HWND rows = GetDlgItem(w, alarms::kMissedRows);
    const auto extent = [&] { return static_cast<int>(SendMessageA(rows, LB_GETHORIZONTALEXTENT, 0, 0)); };
    const int at96 = extent();
    dpi_ = 192;
    RECT r{};
    GetWindowRect(w, &r);
    SendMessageA(w, dpi::kDpiChangedMessage, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&r));
    // Text in a font twice the size is not exactly twice as wide; measured in the old font it
    // would stay as it was.
    EXPECT_GT(extent(), at96 * 3 / 2);
    DestroyWindow(w);
}

TEST_F(DpiLayoutTest, MenuItemsMeasureLargerByTheFactor) {
    zentaro::PopupMenu menu;
    ASSERT_EQ(zentaro::BuildClockMenu(menu), 0);
    HWND host = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(host, nullptr);
    const int option = [&] {
        for (std::size_t i = 0; i < menu.Records().size(); ++i)
            if (menu.Records()[i].text == "Option(&O)...") return static_cast<int>(i);
        return -1;
    }();
    ASSERT_GE(option, 0);
    auto measure = [&](int index) {
        MEASUREITEMSTRUCT mis{};
        mis.CtlType = ODT_MENU;
        mis.itemData = static_cast<ULONG_PTR>(index);
        EXPECT_EQ(menu.OnMeasureItem(host, reinterpret_cast<LPARAM>(&mis)), 0);
        return mis;
    };
    int separator = -1;
    for (std::size_t i = 0; i < menu.Records().size(); ++i)
        if (menu.Records()[i].typeFlags == menu::kTypeSeparator) separator = static_cast<int>(i);
    ASSERT_GE(separator, 0);
    dpi_ = 96;
    const MEASUREITEMSTRUCT at96 = measure(option);
    for (int dpi : kDpis) {
        SCOPED_TRACE(dpi);
        dpi_ = dpi;
        const MEASUREITEMSTRUCT item = measure(option);
        EXPECT_EQ(static_cast<int>(item.itemHeight), dpi::Scale(GetSystemMetrics(SM_CYMENU), dpi));
        // The caption's width follows its font, which grows by the factor give or take a pixel
        // of the font's rounding per few characters.
        EXPECT_TRUE(Near(static_cast<long>(item.itemWidth), dpi::Scale(static_cast<int>(at96.itemWidth), dpi),
                         dpi::Scale(8, dpi)))
            << item.itemWidth;
        if (dpi > 96) {
            EXPECT_GT(item.itemWidth, at96.itemWidth);
        }
        EXPECT_EQ(static_cast<int>(measure(separator).itemHeight), dpi::Scale(menu::kSeparatorHeight, dpi));
    }
    DestroyWindow(host);
}

// The face at each DPI: the window and its outline are the 96-DPI ones scaled, and the painted
// face is the 96-DPI picture scaled: at 200 % every pixel a 2 x 2 block.
TEST_F(DpiLayoutTest, TheFaceAndItsOutlineScaleByTheFactor) {
    RECT box96{};
    std::vector<COLORREF> pixels96;
    int width = 0, height = 0;
    for (int dpi : kDpis) {
        SCOPED_TRACE(dpi);
        dpi_ = dpi;
        HWND main = OpenClock();
        ASSERT_NE(main, nullptr);
        face::FaceState& face = zentaro::MainFace();
        RECT window{};
        GetWindowRect(main, &window);
        EXPECT_EQ(window.right - window.left, dpi::Scale(face.width, dpi));
        EXPECT_EQ(window.bottom - window.top, dpi::Scale(face.height, dpi));
        RECT box{};
        ASSERT_TRUE(OutlineBox(main, box));
        // The surface the face is painted on, at the window's size.
        testing_support::PaintSurface surface(window.right - window.left, window.bottom - window.top);
        std::string lastGood;
        zentaro::PaintClockFace(surface.dc(), face, zentaro::MainDrawTime(), "12:34:56", lastGood);
        EXPECT_EQ(lastGood, "12:34:56");
        if (dpi == 96) {
            box96 = box;
            width = face.width;
            height = face.height;
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) pixels96.push_back(GetPixel(surface.dc(), x, y));
        }
        EXPECT_EQ(box.left, dpi::Scale(box96.left, dpi));
        EXPECT_EQ(box.top, dpi::Scale(box96.top, dpi));
        EXPECT_EQ(box.right, dpi::Scale(box96.right, dpi));
        EXPECT_EQ(box.bottom, dpi::Scale(box96.bottom, dpi));
        // The whole window is painted: its last pixel too.
        EXPECT_TRUE(surface.Marked(window.right - window.left - 1, window.bottom - window.top - 1));
        if (dpi == 192) {
            int differing = 0;
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    const COLORREF expected = pixels96[static_cast<std::size_t>(y) * width + x];
                    for (int dy : {0, 1})
                        for (int dx : {0, 1})
                            if (GetPixel(surface.dc(), 2 * x + dx, 2 * y + dy) != expected) ++differing;
                }
            EXPECT_EQ(differing, 0);
        }
        DestroyWindow(main);
        UnregisterClassA(zentaro::kMainClassName, GetModuleHandleA(nullptr));
        PumpPending();
    }
}

// A drag onto a monitor of another DPI: the face takes the new DPI at the place the drag put
// it, and its outline follows.
TEST_F(DpiLayoutTest, TheFaceFollowsAMoveToAnotherDpi) {
    dpi_ = 96;
    HWND main = OpenClock();
    ASSERT_NE(main, nullptr);
    const face::FaceState& face = zentaro::MainFace();
    for (int dpi : {144, 192, 120, 96}) {
        SCOPED_TRACE(dpi);
        dpi_ = dpi;
        const RECT suggested{300, 200, 300 + dpi::Scale(face.width, dpi), 200 + dpi::Scale(face.height, dpi)};
        SendMessageA(main, dpi::kDpiChangedMessage, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        RECT window{};
        GetWindowRect(main, &window);
        EXPECT_EQ(window.left, 300);
        EXPECT_EQ(window.top, 200);
        EXPECT_EQ(window.right - window.left, dpi::Scale(face.width, dpi));
        EXPECT_EQ(window.bottom - window.top, dpi::Scale(face.height, dpi));
        RECT box{};
        ASSERT_TRUE(OutlineBox(main, box));
        EXPECT_LE(box.right, window.right - window.left);
        EXPECT_GT(box.right, dpi::Scale(face.width, dpi) * 3 / 4);
    }
}

// The about picture is enlarged with its window.
TEST_F(DpiLayoutTest, TheAboutPictureScalesWithItsWindow) {
    SIZE at96{};
    for (int dpi : kDpis) {
        SCOPED_TRACE(dpi);
        dpi_ = dpi;
        HWND about = zentaro::ShowAboutWindow(nullptr);
        ASSERT_NE(about, nullptr);
        RECT client{};
        GetClientRect(about, &client);
        if (dpi == 96) at96 = {client.right, client.bottom};
        EXPECT_EQ(client.right, dpi::Scale(at96.cx, dpi));
        EXPECT_EQ(client.bottom, dpi::Scale(at96.cy, dpi));
        DestroyWindow(about);
        PumpPending();
    }
}

}  // namespace
