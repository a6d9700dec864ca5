// Break.exe as a real process: it reads the shared stop.ini beside it, counts the break down
// in real time, refuses to close while enforced, and ends on "Close Window".
#include "apps/break/BreakWindow.h"
#include "tests/e2e/driver/Driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Writes the break keys into the programs' stop.ini and removes the file again at the end.
class SharedIni {
public:
    SharedIni(const char* timesshow, const char* cmdhide) : path_(driver::BinDir() + "\\stop.ini") {
        DeleteFileA(path_.c_str());
        WritePrivateProfileStringA("StartBreak", "timesshow", timesshow, path_.c_str());
        WritePrivateProfileStringA("StartBreak", "cmdhide", cmdhide, path_.c_str());
    }
    ~SharedIni() { DeleteFileA(path_.c_str()); }
private:
    std::string path_;
};

TEST(BreakProgram, EnforcedBreakCountsDownInRealTimeThenCloses) {
    SharedIni ini("3", "1");
    driver::Process brk;
    ASSERT_TRUE(brk.Start(driver::ProgramPath("Break.exe")));
    HWND wnd = driver::WaitForWindow(break_program::kBreakClass, break_program::kBreakTitle, 20000, brk.id());
    ASSERT_NE(wnd, nullptr);
    HWND label = driver::ChildById(wnd, break_program::kIdCountdownLabel);
    HWND close = driver::ChildById(wnd, break_program::kIdCloseButton);
    ASSERT_NE(label, nullptr);
    ASSERT_NE(close, nullptr);
    EXPECT_TRUE(GetWindowLongA(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(IsWindowEnabled(close));

    // Closing is refused while the count runs.
    PostMessageA(wnd, WM_CLOSE, 0, 0);
    PostMessageA(wnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(driver::WaitFor([&] { return driver::WindowText(label) == "2  Seconds time."; }, 5000))
        << driver::WindowText(label);
    EXPECT_TRUE(brk.Running());

    // The count goes down, never up, until it ends at 0 (a late tick may skip a second).
    std::vector<std::string> shown{"2  Seconds time."};
    EXPECT_TRUE(driver::WaitFor([&] {
        const std::string text = driver::WindowText(label);
        if (text != shown.back()) shown.push_back(text);
        return text == "0  Seconds time.";
    }, 10000)) << driver::WindowText(label);
    EXPECT_TRUE(std::is_sorted(shown.rbegin(), shown.rend())) << shown.back();
    EXPECT_TRUE(driver::WaitFor([&] { return IsWindowEnabled(close) != FALSE; }, 2000));
    driver::SaveWindowPng(wnd, "break_finished.png");

    PostMessageA(wnd, WM_COMMAND, MAKEWPARAM(break_program::kIdCloseButton, BN_CLICKED), reinterpret_cast<LPARAM>(close));
    EXPECT_TRUE(brk.WaitExit(10000));
    EXPECT_EQ(brk.ExitCode(), 0u);
}

TEST(BreakProgram, BreakThatIsNotEnforcedClosesAtOnce) {
    SharedIni ini("600", "0");
    driver::Process brk;
    ASSERT_TRUE(brk.Start(driver::ProgramPath("Break.exe")));
    HWND wnd = driver::WaitForWindow(break_program::kBreakClass, break_program::kBreakTitle, 20000, brk.id());
    ASSERT_NE(wnd, nullptr);
    EXPECT_EQ(driver::WindowText(driver::ChildById(wnd, break_program::kIdCountdownLabel)), "600");
    EXPECT_TRUE(IsWindowEnabled(driver::ChildById(wnd, break_program::kIdCloseButton)));
    PostMessageA(wnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(brk.WaitExit(10000));
}

}  // namespace
