// vitaro started as a real process: its window appears and closes on request.
#include "tests/e2e/driver/Driver.h"

#include <gtest/gtest.h>

TEST(VitaroProcess, StartsShowsItsWindowAndClosesOnRequest) {
    driver::Process vitaro;
    ASSERT_TRUE(vitaro.Start(driver::ProgramPath("vitaro.exe"))) << driver::ProgramPath("vitaro.exe") << " error " << GetLastError();
    HWND wnd = driver::WaitForWindow(nullptr, "Vitaro", 20000, vitaro.id());
    ASSERT_NE(wnd, nullptr);
    EXPECT_TRUE(IsWindowVisible(wnd));
    PostMessageA(wnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(vitaro.WaitExit(10000));
    EXPECT_EQ(vitaro.ExitCode(), 0u);
}
