// The break over several monitors, which a test puts in force: the break window on the primary
// monitor, a calm plain window on each other one, all closed together, an enforced break held on
// every one of them, and monitors added or removed during the break.
#include "apps/break/BreakLogic.h"
#include "apps/break/BreakWindow.h"
#include "common/Dpi.h"
#include "common/Monitors.h"
#include "tests/win/break/break_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using monitors::Monitor;
using monitors::Rect;
using testing_support::PumpPending;

namespace {

Monitor M(int left, int top, int right, int bottom, bool primary = false) {
    return {{left, top, right, bottom}, {left, top, right, bottom - 30}, primary};
}
// The primary second in the list, at the origin; the other one left of it at negative
// coordinates, larger and higher.
const Monitor kPrimary = M(0, 0, 1024, 768, true);
const Monitor kLeft = M(-1920, -312, 0, 768);
const Monitor kRight = M(1024, 0, 2304, 1024);
const Monitor kAbove = M(0, -900, 1600, 0);

Rect WindowRectOf(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return monitors::FromRect(r);
}

class BreakMonitorsTest : public break_test::BreakWindowTest {
protected:
    // Opens a break of 60 seconds, enforced or not, over the monitors in force.
    void Open(bool enforced) {
        WriteIni("60", enforced ? "1" : "0");
        BreakWindowTest::Open();
    }
    std::vector<HWND> Covers() const { return break_program::BreakCoverWindows(wnd_); }
    std::vector<Rect> CoverRects() const {
        std::vector<Rect> rects;
        for (HWND c : Covers()) rects.push_back(WindowRectOf(c));
        return rects;
    }
    // Every window of the break is on the screen, top-most, and the plain ones are owned by the
    // break window, have no caption and hold no control.
    void ExpectAllCovering() const {
        EXPECT_TRUE(IsWindowVisible(wnd_));
        EXPECT_TRUE(GetWindowLongA(wnd_, GWL_EXSTYLE) & WS_EX_TOPMOST);
        for (HWND c : Covers()) {
            EXPECT_TRUE(IsWindowVisible(c));
            EXPECT_TRUE(GetWindowLongA(c, GWL_EXSTYLE) & WS_EX_TOPMOST);
            EXPECT_FALSE(GetWindowLongA(c, GWL_STYLE) & (WS_CAPTION | WS_SYSMENU));
            EXPECT_EQ(GetWindow(c, GW_OWNER), wnd_);
            EXPECT_EQ(GetWindow(c, GW_CHILD), nullptr);
            EXPECT_EQ(GetWindowTextLengthA(c), 0);
        }
    }
};

TEST_F(BreakMonitorsTest, TheBreakWindowTakesThePrimaryMonitorAndAPlainWindowEachOther) {
    struct Case { const char* what; std::vector<Monitor> list; std::vector<Rect> plain; } cases[] = {
        {"one monitor", {kPrimary}, {}},
        {"primary second, the other at negative coordinates", {kLeft, kPrimary}, {kLeft.area}},
        {"three of different sizes", {kRight, kPrimary, kAbove}, {kRight.area, kAbove.area}},
        {"the primary elsewhere than the origin", {M(0, 0, 1024, 768), M(-1920, -312, 0, 768, true)},
         {kPrimary.area}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        monitors::ScopedMonitors fake(c.list);
        Open(false);
        const Rect primary = c.list[*monitors::PrimaryIndex(c.list)].area;
        EXPECT_EQ(WindowRectOf(wnd_), primary);
        // The controls sit on the picture as the primary monitor's size puts them.
        const breaklogic::BreakLayout layout = breaklogic::ComputeBreakLayout(primary.width(), primary.height());
        const Rect next = WindowRectOf(GetDlgItem(wnd_, break_program::kIdNextButton));
        EXPECT_EQ(next.left, primary.left + layout.nextButton.left);
        EXPECT_EQ(next.top, primary.top + layout.nextButton.top);
        EXPECT_EQ(CoverRects(), c.plain);
        ExpectAllCovering();
        DestroyWindow(wnd_);
    }
}

TEST_F(BreakMonitorsTest, ThePlainWindowsAreCalmAndCloseWithTheBreak) {
    monitors::ScopedMonitors fake({kLeft, kPrimary, kRight});
    Open(false);
    const std::vector<HWND> covers = Covers();
    ASSERT_EQ(covers.size(), 2u);
    // A plain window is painted black all over.
    testing_support::PaintSurface surface(16, 16);
    SendMessageA(covers[0], WM_ERASEBKGND, reinterpret_cast<WPARAM>(surface.dc()), 0);
    EXPECT_EQ(GetPixel(surface.dc(), 8, 8), RGB(0, 0, 0));
    // A click on one leaves the focus with the break window.
    EXPECT_EQ(SendMessageA(covers[1], WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(covers[1]),
                           MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
              MA_NOACTIVATE);

    SendMessageA(wnd_, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(wnd_));
    for (HWND c : covers) EXPECT_FALSE(IsWindow(c));
    EXPECT_EQ(flagCalls_, (std::vector<bool>{true, false}));
}

TEST_F(BreakMonitorsTest, ClosingAPlainWindowClosesTheWholeBreakUnlessItIsEnforced) {
    monitors::ScopedMonitors fake({kLeft, kPrimary});
    struct Way { const char* what; UINT msg; WPARAM wp; LPARAM lp; } ways[] = {
        {"WM_CLOSE", WM_CLOSE, 0, 0},
        {"system menu Close (Alt+F4)", WM_SYSCOMMAND, SC_CLOSE, 0},
        {"Esc key", WM_KEYDOWN, VK_ESCAPE, 0},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.what);
        // Enforced: every window stays.
        Open(true);
        std::vector<HWND> covers = Covers();
        ASSERT_EQ(covers.size(), 1u);
        SendMessageA(covers[0], way.msg, way.wp, way.lp);
        PumpPending();
        EXPECT_TRUE(IsWindow(wnd_));
        EXPECT_TRUE(IsWindow(covers[0]));
        ExpectAllCovering();
        // Once the count has run out, the same way ends the break on every monitor.
        now_ += 60000;
        SendMessageA(wnd_, WM_TIMER, break_program::kCountdownTimerId, 0);
        ASSERT_TRUE(break_program::BreakFinished(wnd_));
        SendMessageA(covers[0], way.msg, way.wp, way.lp);
        PumpPending();
        EXPECT_FALSE(IsWindow(wnd_));
        EXPECT_FALSE(IsWindow(covers[0]));

        // Not enforced: at once.
        Open(false);
        covers = Covers();
        ASSERT_EQ(covers.size(), 1u);
        SendMessageA(covers[0], way.msg, way.wp, way.lp);
        PumpPending();
        EXPECT_FALSE(IsWindow(wnd_));
        EXPECT_FALSE(IsWindow(covers[0]));
    }
}

TEST_F(BreakMonitorsTest, MonitorsAddedOrRemovedDuringTheBreakAreCoveredOrReleased) {
    monitors::ScopedMonitors fake({kLeft, kPrimary});
    Open(true);
    const std::vector<HWND> first = Covers();
    ASSERT_EQ(first.size(), 1u);
    struct Step { const char* what; std::vector<Monitor> list; Rect main; std::vector<Rect> plain; bool firstKept; } steps[] = {
        {"nothing changed", {kLeft, kPrimary}, kPrimary.area, {kLeft.area}, true},
        {"two monitors added", {kLeft, kPrimary, kRight, kAbove}, kPrimary.area,
         {kLeft.area, kRight.area, kAbove.area}, true},
        {"the left one removed", {kPrimary, kRight, kAbove}, kPrimary.area, {kRight.area, kAbove.area}, false},
        {"only the primary left", {kPrimary}, kPrimary.area, {}, false},
        {"another monitor made primary", {M(0, 0, 1024, 768), M(1024, 0, 2304, 1024, true)}, kRight.area,
         {kPrimary.area}, false},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        fake.Set(step.list);
        SendMessageA(wnd_, WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
        PumpPending();
        EXPECT_EQ(WindowRectOf(wnd_), step.main);
        EXPECT_EQ(CoverRects(), step.plain);
        EXPECT_EQ(IsWindow(first[0]) != FALSE, step.firstKept);
        ExpectAllCovering();
    }
    // The enforced break still holds on every monitor.
    const std::vector<HWND> covers = Covers();
    SendMessageA(wnd_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(wnd_));
    DestroyWindow(wnd_);
    for (HWND c : covers) EXPECT_FALSE(IsWindow(c));
    EXPECT_EQ(flagCalls_, (std::vector<bool>{true, false}));
}

// A move of the break to a monitor of another scale: the buttons, their font and the window
// follow the new DPI; the window still covers the primary monitor.
TEST_F(BreakMonitorsTest, ADpiChangeDuringTheBreakScalesItsControlsAndFonts) {
    monitors::ScopedMonitors fake({kPrimary});
    int at = 96;
    seams_->windowDpi = [&at](HWND) { return static_cast<UINT>(at); };
    Open(false);
    auto measure = [this] {
        HWND close = GetDlgItem(wnd_, break_program::kIdCloseButton);
        RECT r{};
        GetClientRect(close, &r);
        LOGFONTA font{};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(close, WM_GETFONT, 0, 0)), sizeof font, &font);
        return std::pair<int, int>{r.right, font.lfHeight < 0 ? -font.lfHeight : font.lfHeight};
    };
    const auto before = measure();
    at = 192;
    SendMessageA(wnd_, dpi::kDpiChangedMessage, MAKEWPARAM(192, 192), 0);
    PumpPending();
    const auto after = measure();
    EXPECT_EQ(WindowRectOf(wnd_), kPrimary.area);
    EXPECT_NEAR(after.first, 2 * before.first, 2) << "button width";
    EXPECT_NEAR(after.second, 2 * before.second, 1) << "font height";
}

}  // namespace
