// The whole road of a break: saved in the clock's break settings window for the next minute,
// it starts a real Break.exe in that minute, which counts down the configured seconds.
#include "apps/break/BreakWindow.h"
#include "breaksettings/BreakSettingsWindow.h"
#include "tests/e2e/driver/Driver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using namespace breaksettings;

namespace {

constexpr WPARAM kCmdBreakSettings = 5;  // the clock's menu command "Break Setting(&B)..."
constexpr const char* kBreakLength = "600";

int LeadingNumber(const std::string& text) { return std::atoi(text.c_str()); }

class BreakRoad : public ::testing::Test {
protected:
    void SetUp() override {
        ini_ = driver::BinDir() + "\\stop.ini";
        DeleteFileA(ini_.c_str());
        driver::ResetZentaroSettings();
    }
    void TearDown() override {
        for (HWND w : driver::FindTopWindows(break_program::kBreakClass, break_program::kBreakTitle)) PostMessageA(w, WM_CLOSE, 0, 0);
        driver::WaitForNoWindow(break_program::kBreakClass, break_program::kBreakTitle, 10000);
        DeleteFileA(ini_.c_str());
        driver::ResetZentaroSettings();
    }
    std::string ini_;
};

TEST_F(BreakRoad, BreakSavedForTheNextMinuteStartsBreakWithItsSeconds) {
    driver::Process clock;
    ASSERT_TRUE(clock.Start(driver::ProgramPath("zentaro.exe")));
    HWND main = driver::WaitForWindow("frmMain", "Zentaro", 30000, clock.id());
    ASSERT_NE(main, nullptr);

    // Far enough from a minute's end that the item is saved before its minute begins.
    const int due = driver::MinuteOfDayAhead(2);
    const std::string hour = std::to_string(due / 60 % 24);
    const std::string minute = std::to_string(due % 60);

    PostMessageA(main, WM_COMMAND, kCmdBreakSettings, 0);
    HWND settings = driver::WaitForWindow(kBreakSettingsClass, kBreakSettingsTitle, 10000, clock.id());
    ASSERT_NE(settings, nullptr);
    SendMessageA(driver::ChildById(settings, kIdHour), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(hour.c_str()));
    SendMessageA(driver::ChildById(settings, kIdMinute), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(minute.c_str()));
    SendMessageA(driver::ChildById(settings, kIdSeconds), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kBreakLength));
    // The test display has seen no input, which Break would take for an absence.
    SendMessageA(driver::ChildById(settings, kIdSkipAway), BM_SETCHECK, BST_UNCHECKED, 0);
    PostMessageA(settings, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(driver::WaitForNoWindow(kBreakSettingsClass, kBreakSettingsTitle, 10000));
    driver::ApproachMinute(due, 5);

    // The item falls due at second 0 of the next minute.
    HWND brk = driver::WaitForWindow(break_program::kBreakClass, break_program::kBreakTitle, 80000);
    ASSERT_NE(brk, nullptr);
    SYSTEMTIME started{};
    GetLocalTime(&started);
    EXPECT_EQ(started.wHour * 60 + started.wMinute, due % (24 * 60));
    const std::string label = driver::WindowText(driver::ChildById(brk, break_program::kIdCountdownLabel));
    const int seconds = LeadingNumber(label);
    EXPECT_LE(seconds, 600) << label;
    EXPECT_GE(seconds, 595) << label;
    driver::SaveWindowPng(brk, "break_road.png");
}

}  // namespace
