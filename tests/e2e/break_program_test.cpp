// Break.exe as a real process: it reads the shared stop.ini beside it, warns with its notice,
// counts the break down in real time, refuses to close while enforced, and ends on "Close Window".
#include "apps/break/BreakNotice.h"
#include "apps/break/BreakWindow.h"
#include "tests/e2e/driver/Driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Writes the break keys into the programs' stop.ini and removes it at the end. The test display
// has seen no input, which would count as an absence: skipaway is off.
class SharedIni {
public:
    SharedIni(const char* timesshow, const char* cmdhide, const char* notice = "0")
        : path_(driver::BinDir() + "\\stop.ini") {
        DeleteFileA(path_.c_str());
        const char* keys[][2] = {{"timesshow", timesshow}, {"cmdhide", cmdhide}, {"notice", notice}, {"skipaway", "0"}};
        for (const auto& key : keys) WritePrivateProfileStringA("StartBreak", key[0], key[1], path_.c_str());
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

TEST(BreakProgram, NoticeCountsDownWithoutTheFocusThenTheBreakCoversAndASecondBreakEndsAtOnce) {
    SharedIni ini("600", "0", "3");
    driver::Process brk, second;
    ASSERT_TRUE(brk.Start(driver::ProgramPath("Break.exe")));
    HWND notice = driver::WaitForWindow(break_program::kNoticeClass, break_program::kNoticeTitle, 20000, brk.id());
    ASSERT_NE(notice, nullptr);
    HWND text = driver::ChildById(notice, break_program::kIdNoticeText);
    std::vector<std::string> shown;
    ASSERT_TRUE(driver::WaitFor([&] {
        if (IsWindowVisible(notice) && (shown.empty() || driver::WindowText(text) != shown.back()))
            shown.push_back(driver::WindowText(text));
        return shown.size() >= 2;
    }, 5000));
    EXPECT_EQ(shown[0].rfind("A break of 600 seconds starts in ", 0), 0u) << shown[0];
    EXPECT_GT(shown[0], shown[1]);  // "... in 3 seconds." before "... in 2 seconds."
    EXPECT_NE(GetForegroundWindow(), notice);
    ASSERT_TRUE(second.Start(driver::ProgramPath("Break.exe")));
    EXPECT_TRUE(second.WaitExit(10000));
    EXPECT_EQ(second.ExitCode(), 0u);

    HWND wnd = driver::WaitForWindow(break_program::kBreakClass, break_program::kBreakTitle, 10000, brk.id());
    ASSERT_NE(wnd, nullptr);
    EXPECT_TRUE(driver::WaitFor([&] { return IsWindowVisible(wnd) != FALSE && !IsWindowVisible(notice); }, 5000));
    EXPECT_EQ(driver::FindTopWindows(break_program::kBreakClass, break_program::kBreakTitle).size(), 1u);
    EXPECT_EQ(driver::WindowText(driver::ChildById(wnd, break_program::kIdCountdownLabel)).substr(0, 3), "600");
    PostMessageA(wnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(brk.WaitExit(10000));
}

}  // namespace
