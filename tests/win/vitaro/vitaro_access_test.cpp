// The biorhythm window for readers and in high contrast: the chart's description, the curves'
// line styles, the frame's colours.
#include "apps/vitaro/BiorhythmChart.h"
#include "apps/vitaro/VitaroLayout.h"
#include "apps/vitaro/VitaroWindow.h"
#include "common/SystemSeams.h"
#include "tests/win/support/KeyboardOrder.h"
#include "tests/win/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace bio::ui;
using testing_support::PumpPending;

class VitaroAccess : public ::testing::Test {
protected:
    void SetUp() override {
        seams_->getLocalTime = [](SYSTEMTIME& t) { t = testing_support::LocalTime(2024, 3, 10, 12, 0, 0); };
        seams_->annotate = [this](HWND w, sys::AccessibleText which, const std::string& text) {
            if (which == sys::AccessibleText::description) descriptions_.push_back(text);
            annotated_.push_back(w);
            return true;
        };
        seams_->highContrast = [this] { return highContrast_; };
        ASSERT_TRUE(testing_support::WriteFileBytes(dir_.file("stop.ini"), "[StartBreak]\r\nBirthdate=1990-01-01\r\n"));
        vitaro::VitaroOptions options;
        options.iniPath = dir_.file("stop.ini");
        options.show = SW_SHOWNOACTIVATE;
        wnd_ = vitaro::CreateVitaroWindow(GetModuleHandleA(nullptr), options);
        ASSERT_NE(wnd_, nullptr);
        PumpPending();
    }
    void TearDown() override {
        if (IsWindow(wnd_)) DestroyWindow(wnd_);
        PumpPending();
    }
    std::string Text(int id) const {
        char buffer[256] = {};
        GetWindowTextA(GetDlgItem(wnd_, id), buffer, sizeof buffer);
        return buffer;
    }

    sys::ScopedSeams seams_;
    testing_support::TempDir dir_;
    HWND wnd_ = nullptr;
    std::vector<std::string> descriptions_;
    std::vector<HWND> annotated_;
    bool highContrast_ = false;
};

TEST_F(VitaroAccess, ChartDescribesTheShownDaysThreeValuesOnceAReaderAsks) {
    HWND chart = GetDlgItem(wnd_, kIdChart);
    ASSERT_TRUE(chart);
    EXPECT_TRUE(annotated_.empty()) << "no reader yet: the service is not touched";
    SendMessageA(chart, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
    const auto expected = [&] { return Text(kIdCycles4) + ", " + Text(kIdCycles4 + 1) + ", " + Text(kIdCycles4 + 2); };
    ASSERT_EQ(descriptions_.size(), 1u);
    EXPECT_EQ(descriptions_.back(), expected());
    EXPECT_FALSE(Text(kIdCycles4).empty());
    SendMessageA(wnd_, WM_COMMAND, MAKEWPARAM(kIdDayForth, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(wnd_, kIdDayForth)));
    PumpPending();
    ASSERT_GE(descriptions_.size(), 2u);
    EXPECT_EQ(descriptions_.back(), expected());
    EXPECT_NE(descriptions_.front(), descriptions_.back());
    for (HWND w : annotated_) EXPECT_EQ(w, chart);
}

TEST(VitaroCurves, ThreeCurvesHaveThreeLineStyles) {
    bio::ChartSurface chart;
    ASSERT_TRUE(chart.Create());
    bio::ChartInputs in;
    in.birth = {1990, 1, 1};
    in.current = {2024, 3, 10};
    bio::DrawGraph(chart, in, bio::PlatformLocaleNames());
    EXPECT_EQ(chart.curveStyles(), (std::vector<DWORD>{PS_SOLID, PS_DASH, PS_DOT}));
}

TEST_F(VitaroAccess, HighContrastGivesTheFrameSystemColoursAndTabFollowsReadingOrder) {
    const struct {
        const char* what;
        bool on;
        int id;
        int background;  // system colour index when on
    } rows[] = {
        {"day label", true, kIdDayLabel, COLOR_BTNFACE},
        {"emotional check box", true, kIdEmotional, COLOR_BTNFACE},
        {"value line", true, kIdCycles4, COLOR_WINDOW},
        {"average line", true, kIdCycles4 + 3, COLOR_WINDOW},
        {"day label, contrast off", false, kIdDayLabel, -1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        highContrast_ = row.on;
        SendMessageA(wnd_, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        HWND control = GetDlgItem(wnd_, row.id);
        win::WindowDC dc(control);
        const auto brush = reinterpret_cast<HBRUSH>(
            SendMessageA(wnd_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()), reinterpret_cast<LPARAM>(control)));
        EXPECT_TRUE(!row.on || brush == GetSysColorBrush(row.background));
        EXPECT_EQ(GetBkColor(dc.get()), row.on ? GetSysColor(row.background) : static_cast<COLORREF>(kFrameGrey));
    }
    // Reading order, a frame's controls together: the check boxes, the day, month and year steps,
    // Current Date, the two dates' boxes, Apply System Date, the colour choice and its three bars.
    // The window shows no access keys.
    const std::vector<int> order{101, 102, 103, 104, 120, 121, 122, 123, 124, 125, 140, 151,
                                 152, 153, 171, 172, 173, 201, 211, 221, 222, 223};
    EXPECT_EQ(testing_support::TabOrder(wnd_), order);
    EXPECT_EQ(testing_support::AccessKeys(wnd_), "");
}

}  // namespace
