// The programs of one build folder (ZENTARO_PROGRAMS, the 32-bit release in make test32) as a
// user first meets them, one row each: every program shows its window, the break its picture,
// the options dialog opens, a stored reminder shows in its minute, and every delay-loaded
// function returns (delay_calls.exe). Each row starts its program and ends it before the next
// starts: emulated programs starting side by side were seen to hang at their start, waiting on
// the Wine server, in three runs of five.
#include "alarms/AlarmActions.h"
#include "alarms/AlarmItem.h"
#include "alarms/AlarmList.h"
#include "apps/break/BreakWindow.h"
#include "apps/zentaro/MenuLayout.h"
#include "tests/e2e/driver/Driver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

constexpr DWORD kStartDeadlineMs = 300000;  // emulated start-up

std::string Programs() {
    char dir[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableA("ZENTARO_PROGRAMS", dir, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(dir) : driver::BinDir();
}

// Distinct colours on screen: a photograph has thousands, the number shown in place of a
// missing picture a few dozen.
size_t ScreenColours(const RECT& r) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<UINT32> pixels(static_cast<size_t>(w) * h);
    HDC screen = GetDC(nullptr), mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(mem, old);
    GetDIBits(mem, bmp, 0, h, pixels.data(), &bi, DIB_RGB_COLORS);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return std::unordered_set<UINT32>(pixels.begin(), pixels.end()).size();
}

void CheckOptionsAndReminder(HWND face, driver::Process& p) {
    PostMessageA(face, WM_COMMAND, menu::kCmdOptions, 0);
    HWND options = driver::WaitForWindow("#32770", "Option", 120000, p.id());
    ASSERT_NE(options, nullptr) << "the options dialog did not open";
    PostMessageA(options, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(driver::WaitForNoWindow("#32770", "Option", 60000));
    // A reminder for the next minute, stored now; OK in the alarm list reloads the store.
    const int minute = driver::NextMinuteOfDay(40);
    driver::StoreDailyItem(1, minute, alarms::kNotifyText, "Stand up");
    PostMessageA(face, WM_COMMAND, menu::kCmdAlarmSettings, 0);
    HWND list = driver::WaitForWindow("frmOptions", "Alarm Item", 120000, p.id());
    ASSERT_NE(list, nullptr) << "the alarm list did not open";
    PostMessageA(list, WM_COMMAND, MAKEWPARAM(alarms::kListOk, BN_CLICKED), 0);
    EXPECT_NE(driver::WaitForWindow(nullptr, alarms::kReminderTitle, 150000, p.id()), nullptr)
        << "no reminder for " << minute / 60 << ":" << minute % 60;
    SYSTEMTIME now{};
    GetLocalTime(&now);
    EXPECT_EQ(now.wHour * 60 + now.wMinute, minute);
}

struct Row {
    const char* program;
    const char* windowClass;
    const char* title;  // null: a program without a window
    void (*check)(HWND wnd, driver::Process& process);
};

const Row kRows[] = {
    {"delay_calls.exe", nullptr, nullptr,
     [](HWND, driver::Process& p) {
         ASSERT_TRUE(p.WaitExit(kStartDeadlineMs)) << "delay_calls.exe did not end";
         EXPECT_EQ(p.ExitCode(), 0u) << "a delay-loaded function failed (run delay_calls.exe to see which)";
     }},
    {"vitaro.exe", nullptr, "Vitaro", [](HWND, driver::Process&) {}},
    {"Break.exe", break_program::kBreakClass, break_program::kBreakTitle,
     [](HWND wnd, driver::Process&) {
         RECT r{};
         GetWindowRect(wnd, &r);
         size_t colours = 0;
         EXPECT_TRUE(driver::WaitFor([&] { return (colours = ScreenColours(r)) > 1000; }, 60000))
             << "the break shows no picture: " << colours << " colours";
         std::printf("the break shows %zu colours\n", colours);
     }},
    {"zentaro.exe", "frmMain", "Zentaro", CheckOptionsAndReminder},
};

class Release : public ::testing::TestWithParam<Row> {
public:
    static void SetUpTestSuite() {
        driver::ResetZentaroSettings();
        const std::string ini = Programs() + "\\stop.ini";
        WritePrivateProfileStringA("StartBreak", "timesshow", "600", ini.c_str());
        WritePrivateProfileStringA("StartBreak", "cmdhide", "0", ini.c_str());
    }
    static void TearDownTestSuite() { DeleteFileA((Programs() + "\\stop.ini").c_str()); }
};

TEST_P(Release, StartsShowsItsWindowAndWorks) {
    const Row& row = GetParam();
    driver::Process process;
    process.Start(Programs() + "\\" + row.program);
    ASSERT_NE(process.id(), 0u) << row.program << " did not start";
    HWND wnd = row.title ? driver::WaitForWindow(row.windowClass, row.title, kStartDeadlineMs, process.id()) : nullptr;
    if (row.title) {
        ASSERT_NE(wnd, nullptr) << row.program << " showed no window within " << kStartDeadlineMs / 1000 << " s";
        EXPECT_TRUE(driver::WaitFor([&] { return IsWindowVisible(wnd) != FALSE; }, 30000)) << row.program;
    }
    row.check(wnd, process);
    process.Kill();  // an emulated program costs CPU time even when idle
}

INSTANTIATE_TEST_SUITE_P(Programs, Release, ::testing::ValuesIn(kRows), [](const auto& info) {
    const std::string name = info.param.program;
    return name.substr(0, name.find('.'));
});

}  // namespace
