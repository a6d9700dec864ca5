// The real clock frozen (SIGSTOP) just before an alarm minute and thawed 70 seconds later:
// the reminder of that minute appears once, late; the shutdown item of the same minute is
// never run late and appears only in "Missed alarms". The 70 seconds pass on the test's
// movable clocks, not in real time.
#include "alarms/AlarmItem.h"
#include "alarms/MissedAlarms.h"
#include "alarms/Scheduler.h"
#include "common/Settings.h"
#include "tests/e2e/driver/Driver.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace {

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The Unix process id of the program of this Wine prefix whose command line names `exeName`
// (Wine shows the Unix side of every process under Z:\proc); 0 when there is none.
int UnixPidOf(const std::string& exeName) {
    char prefix[1024] = {};
    GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix - 1);
    const std::string ours = std::string("WINEPREFIX=") + prefix + '\0';
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int pid = 0;
    do {
        const std::string name = found.cFileName;
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        const std::string dir = "Z:\\proc\\" + name + "\\";
        if (FileText(dir + "cmdline").find(exeName) == std::string::npos) continue;
        if (FileText(dir + "environ").find(ours) == std::string::npos) continue;
        pid = std::stoi(name);
    } while (!pid && FindNextFileA(search, &found));
    FindClose(search);
    return pid;
}

// Sends a signal with the system's kill program (Wine starts Unix programs directly).
bool Signal(int unixPid, const char* signal) {
    std::string command = std::string("/bin/kill -") + signal + " " + std::to_string(unixPid);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA("Z:\\bin\\kill", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

std::vector<std::string> ListBoxRows(HWND list) {
    std::vector<std::string> rows;
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    // Read as UTF-16: across processes Wine hands the list box's text over in its wide form.
    for (int i = 0; i < count; ++i) {
        wchar_t row[1024] = {};
        if (SendMessageW(list, LB_GETTEXTLEN, i, 0) < static_cast<LRESULT>(std::size(row)))
            SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(row));
        std::string text;
        for (const wchar_t* c = row; *c; ++c) text += static_cast<char>(*c < 128 ? *c : '?');
        rows.push_back(text);
    }
    return rows;
}

TEST(AlarmFreeze, ThawedAfterTheMinuteTheReminderFiresOnceAndTheShutdownIsOnlyListed) {
    driver::ResetZentaroSettings();
    const int due = driver::MinuteOfDayAhead(2);
    driver::StoreDailyItem(1, due, alarms::kNotifyText, "Stand up");
    driver::StoreDailyItem(2, due, alarms::kNotifyShutdown, "Go home");

    driver::Process clock;
    ASSERT_NE(driver::StartClock(clock), nullptr);
    const int unixPid = UnixPidOf("zentaro.exe");
    ASSERT_NE(unixPid, 0);
    const auto lastTick = [] { return driver::UserText(settings::kLoadKey, alarms::kLastTickName); };
    const auto startTick = lastTick();
    driver::ApproachMinute(due, 20);
    // The clock has ticked at the new time (a clock that never ticked owes nothing for the
    // minutes before its first tick).
    ASSERT_TRUE(driver::WaitFor([&] { const auto tick = lastTick(); return tick && tick != startTick; }, 20000));

    // Frozen before the due minute, with room for a slow start of the kill program; while it
    // is frozen, the time to the minute and 65 s more pass on both of the test's clocks (the
    // wall clock and the monotonic one), as if the computer slept.
    ASSERT_TRUE(Signal(unixPid, "STOP"));
    SYSTEMTIME now{};
    GetLocalTime(&now);
    ASSERT_NE(now.wHour * 60 + now.wMinute, due) << "frozen too late: the due minute had begun";
    ASSERT_TRUE(driver::ShiftWallClock(60 - now.wSecond + 65));
    ASSERT_TRUE(Signal(unixPid, "CONT"));

    HWND missed = driver::WaitForWindow(nullptr, alarms::kMissedAlarmsTitle, 20000, clock.id());
    ASSERT_NE(missed, nullptr);
    const auto rows = ListBoxRows(driver::ChildById(missed, alarms::kMissedRows));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_NE(rows[0].find("|Shut down"), std::string::npos) << rows[0];

    HWND reminder = driver::WaitForWindow(nullptr, "Text Hint", 20000, clock.id());
    ASSERT_NE(reminder, nullptr);
    EXPECT_EQ(driver::FindTopWindows(nullptr, "Text Hint", clock.id()).size(), 1u);
    EXPECT_TRUE(driver::FindTopWindows(nullptr, "Shut down", clock.id()).empty());
    PostMessageA(reminder, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(driver::WaitForNoWindow(nullptr, "Text Hint", 10000));
    clock.Kill();
}

}  // namespace
