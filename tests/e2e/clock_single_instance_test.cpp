// zentaro started twice: the second start brings the running clock back and ends.
#include "tests/e2e/driver/Driver.h"

#include <gtest/gtest.h>

TEST(ClockSingleInstance, SecondStartShowsTheFirstClockAndEnds) {
    driver::ResetZentaroSettings();
    driver::Process first;
    HWND clock = driver::StartClock(first, 30000);
    ASSERT_NE(clock, nullptr);

    // Put the first clock away, then start again.
    ShowWindow(clock, SW_MINIMIZE);
    ASSERT_TRUE(driver::WaitFor([&] { return IsIconic(clock) != FALSE; }, 10000));
    driver::Process second;
    ASSERT_TRUE(second.Start(driver::ProgramPath("zentaro.exe")));
    EXPECT_TRUE(second.WaitExit(30000));
    EXPECT_EQ(second.ExitCode(), 0u);

    EXPECT_TRUE(driver::WaitFor([&] { return !IsIconic(clock) && IsWindowVisible(clock); }, 10000))
        << "the running clock is shown in its normal state";
    EXPECT_EQ(driver::FindTopWindows("frmMain", nullptr).size(), 1u);
    EXPECT_TRUE(first.Running());

    PostMessageA(clock, WM_CLOSE, 0, 0);
    EXPECT_TRUE(first.WaitExit(15000));
    EXPECT_EQ(first.ExitCode(), 0u);
}
