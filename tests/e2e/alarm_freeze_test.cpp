// The real clock frozen (SIGSTOP) just before an alarm minute and thawed 70 seconds later:
// the reminder of that minute appears once, late; the shutdown item of the same minute is
// never run late and appears only in "Missed alarms". Runs in real time (about two minutes).
#include "alarms/AlarmItem.h"
#include "alarms/MissedAlarms.h"
#include "tests/e2e/driver/Driver.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace {

constexpr char kDataKey[] = "Software\\Zentaro\\Data";

// Item n: a daily item at minuteOfDay, stored as the program stores it.
void StoreItem(int n, int minuteOfDay, std::uint8_t mode, const std::string& text) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kDataKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const BYTE record[alarms::kRecordSize] = {1, mode, alarms::kTimeDaily, 0,
                                              static_cast<BYTE>(minuteOfDay / 60), static_cast<BYTE>(minuteOfDay % 60),
                                              alarms::kCenturyByte, 26, 1, 1, 0};
    RegSetValueExA(key, ("Data" + std::to_string(n)).c_str(), 0, REG_BINARY, record, sizeof record);
    RegSetValueExA(key, ("Text" + std::to_string(n)).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
    const DWORD count = static_cast<DWORD>(n);
    RegSetValueExA(key, "DataCount", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count), sizeof count);
    RegCloseKey(key);
}

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
    // Due in the next minute, or the one after when this one is nearly over.
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const int due = (now.wHour * 60 + now.wMinute + (now.wSecond < 45 ? 1 : 2)) % (24 * 60);
    StoreItem(1, due, alarms::kNotifyText, "Stand up");
    StoreItem(2, due, alarms::kNotifyShutdown, "Go home");

    driver::Process clock;
    ASSERT_NE(driver::StartClock(clock), nullptr);
    const int unixPid = UnixPidOf("zentaro.exe");
    ASSERT_NE(unixPid, 0);

    // Frozen in the last seconds before the due minute, thawed 70 s later, after it.
    ASSERT_TRUE(driver::WaitFor(
        [&] {
            GetLocalTime(&now);
            return (now.wHour * 60 + now.wMinute + 1) % (24 * 60) == due && now.wSecond >= 55;
        },
        120000));
    ASSERT_TRUE(Signal(unixPid, "STOP"));
    const ULONGLONG thawAt = GetTickCount64() + 70000;
    driver::WaitFor([&] { return GetTickCount64() >= thawAt; }, 75000);
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
