// Vitaro at 96, 120, 144 and 192 DPI, shown through the DPI seam: the window, its controls and
// the chart grow by the factor, every text shows whole, and a move to a monitor of another DPI
// makes the chart anew at its new size.
#include "apps/vitaro/ChartLayout.h"
#include "apps/vitaro/VitaroLayout.h"
#include "apps/vitaro/VitaroWindow.h"
#include "common/Dpi.h"
#include "common/SystemSeams.h"
#include "tests/win/support/TestSupport.h"
#include "tests/win/support/TextFit.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace bio::ui;
using testing_support::PumpPending;

class VitaroDpiTest : public ::testing::Test {
protected:
    void SetUp() override {
        seams_->windowDpi = [this](HWND) { return static_cast<UINT>(dpi_); };
        seams_->getLocalTime = [](SYSTEMTIME& t) { t = testing_support::LocalTime(2024, 3, 10, 12, 0, 0); };
    }
    void TearDown() override {
        if (wnd_ && IsWindow(wnd_)) DestroyWindow(wnd_);
        PumpPending();
    }
    void Open() {
        if (wnd_ && IsWindow(wnd_)) DestroyWindow(wnd_);
        vitaro::VitaroOptions options;
        options.iniPath = dir_.file("stop.ini");
        options.show = SW_SHOWNOACTIVATE;
        wnd_ = vitaro::CreateVitaroWindow(GetModuleHandleA(nullptr), options);
        ASSERT_NE(wnd_, nullptr);
        PumpPending();
    }
    RECT ChildRect(int id) const {
        RECT r{};
        GetWindowRect(GetDlgItem(wnd_, id), &r);
        MapWindowPoints(nullptr, wnd_, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    void ExpectLaidOutAt(int dpi) {
        SCOPED_TRACE(dpi);
        const bio::ChartSurface* chart = vitaro::VitaroViewOf(wnd_).chart;
        ASSERT_NE(chart, nullptr);
        EXPECT_EQ(chart->width(), dpi::Scale(bio::kChartWidthPx, dpi));
        EXPECT_EQ(chart->height(), dpi::Scale(bio::kChartHeightPx, dpi));
        const RECT box = ChildRect(kIdChart);
        EXPECT_EQ(box.right - box.left, chart->width());
        EXPECT_EQ(box.bottom - box.top, chart->height());
        const RECT reset = ChildRect(kIdReset);
        EXPECT_NEAR(reset.left, dpi::Scale(kReset.x, dpi), 1);
        EXPECT_NEAR(reset.bottom - reset.top, dpi::Scale(kReset.height, dpi), 1);
        EXPECT_EQ("", testing_support::ClippedTextReport(wnd_));
    }

    sys::ScopedSeams seams_;
    testing_support::TempDir dir_;
    HWND wnd_ = nullptr;
    int dpi_ = 96;
};

TEST_F(VitaroDpiTest, WindowControlsAndChartScaleWithTheDpi) {
    for (int dpi : {96, 120, 144, 192}) {
        dpi_ = dpi;
        Open();
        RECT client{};
        GetClientRect(wnd_, &client);
        EXPECT_EQ(client.right, dpi::Scale(kClientWidth, dpi));
        // A window taller than the screen is cut to it.
        if (dpi::Scale(kClientHeight + 40, dpi) < GetSystemMetrics(SM_CYSCREEN)) {
            EXPECT_EQ(client.bottom, dpi::Scale(kClientHeight, dpi));
        }
        ExpectLaidOutAt(dpi);
    }
}

TEST_F(VitaroDpiTest, AMoveToAnotherDpiMakesTheChartAnew) {
    Open();
    for (int dpi : {144, 192, 120, 96}) {
        dpi_ = dpi;
        RECT r{};
        GetWindowRect(wnd_, &r);
        r.right = r.left + dpi::Scale(kClientWidth + 20, dpi);
        r.bottom = r.top + dpi::Scale(kClientHeight + 40, dpi);
        SendMessageA(wnd_, dpi::kDpiChangedMessage, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&r));
        PumpPending();
        ExpectLaidOutAt(dpi);
    }
}

}  // namespace
