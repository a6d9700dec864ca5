// The setup program end to end, in a prefix of its own: silent install, the installed clock,
// an upgrade over the running clock, and the uninstaller with and without the settings.
#include "tests/e2e/driver/Driver.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#ifndef ZENTARO_SETUP_PATH
#define ZENTARO_SETUP_PATH ""
#endif

namespace {

constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zentaro";
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunValue = "Tickora";
constexpr const char* kSettingsKey = "Software\\Zentaro";
constexpr const char* kAlarmKey = "Software\\Zentaro\\Data";
constexpr DWORD kSetupTimeoutMs = 60000;

// Every file the setup lays out, relative to the install folder.
constexpr const char* kInstalledFiles[] = {
    "zentaro.exe",     "vitaro.exe",        "Break.exe",       "help.hlp",        "uninstall.exe",
    "picture\\1.jpg",  "picture\\20.jpg",   "skins\\disc.bmp", "skins\\capsule.bmp", "skins\\amber.bmp",
};
constexpr const char* kShortcuts[] = {"Zentaro.lnk", "Vitaro.lnk"};

std::string Folder(int csidl) {
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
    return path;
}
std::string DefaultInstallDir() { return Folder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Zentaro"; }
std::string ShortcutPath(const char* name) { return Folder(CSIDL_PROGRAMS) + "\\" + name; }

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool KeyExists(const char* key) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    RegCloseKey(k);
    return true;
}

// Runs a command line to its end; its exit code, or STILL_ACTIVE when it did not end in time.
DWORD Run(std::string commandLine) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        return GetLastError();
    }
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(pi.hProcess, kSetupTimeoutMs) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

DWORD Install(const std::string& switches) { return Run("\"" ZENTARO_SETUP_PATH "\" /S " + switches); }

// The uninstaller hands its work to a copy of itself and returns at once; its last step is
// removing its Uninstall key, so the uninstall is over when the key is gone.
bool Uninstall(const std::string& switches) {
    const auto quiet = driver::UserText(kUninstallKey, "QuietUninstallString");
    if (!quiet) return false;
    if (Run(*quiet + " " + switches) != 0) return false;
    return driver::WaitFor([] { return !KeyExists(kUninstallKey); }, kSetupTimeoutMs);
}

// The clock's process behind its window, to see it end.
HANDLE ClockProcess(HWND clock) {
    DWORD pid = 0;
    GetWindowThreadProcessId(clock, &pid);
    return OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
}
DWORD EndedWith(HANDLE process) {
    DWORD code = STILL_ACTIVE;
    if (process && WaitForSingleObject(process, 20000) == WAIT_OBJECT_0) GetExitCodeProcess(process, &code);
    if (process) CloseHandle(process);
    return code;
}

// An alarm item as the clock's editor stores it.
void StoreAlarm() {
    const BYTE record[] = {0x01, 0x01, 0x02, 0x00, 0x07, 0x1E, 0x14, 0x19, 0x01, 0x01, 0x00};
    const DWORD count = 1;
    const char text[] = "Stand up and stretch.";
    RegSetKeyValueA(HKEY_CURRENT_USER, kAlarmKey, "Data1", REG_BINARY, record, sizeof record);
    RegSetKeyValueA(HKEY_CURRENT_USER, kAlarmKey, "Text1", REG_SZ, text, sizeof text);
    RegSetKeyValueA(HKEY_CURRENT_USER, kAlarmKey, "DataCount", REG_DWORD, &count, sizeof count);
}
void ExpectAlarmKept() {
    EXPECT_EQ(driver::UserText(kAlarmKey, "Text1"), "Stand up and stretch.");
    EXPECT_EQ(driver::UserDword(kAlarmKey, "DataCount"), 1u);
}

class Setup : public ::testing::Test {
protected:
    void SetUp() override {
        // Shortcuts would otherwise become menu entries of the machine running the tests.
        const char disabled[] = "";
        RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides", "winemenubuilder.exe", REG_SZ, disabled,
                        sizeof disabled);
        RemoveEveryTrace();
        ASSERT_FALSE(Exists(DefaultInstallDir())) << "a fresh profile before the first install";
        ASSERT_FALSE(KeyExists(kSettingsKey));
    }
    // Leaves the prefix as found even when a step failed: a Run value left behind would start
    // the clock with the next session of this prefix.
    void TearDown() override { RemoveEveryTrace(); }

    static void RemoveEveryTrace() {
        for (HWND clock : driver::FindTopWindows("frmMain", "Zentaro")) {
            PostMessageA(clock, WM_CLOSE, 0, 0);
            EndedWith(ClockProcess(clock));
        }
        if (KeyExists(kUninstallKey)) Uninstall("/REMOVESETTINGS");
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, kRunValue);
        RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
        RegDeleteTreeA(HKEY_CURRENT_USER, kUninstallKey);
    }
};

TEST_F(Setup, InstallsStartsUpgradesOverTheRunningClockAndUninstalls) {
    ASSERT_EQ(Install("/STARTWITHWINDOWS"), 0u);
    const std::string dir = DefaultInstallDir();
    for (const char* file : kInstalledFiles) EXPECT_TRUE(Exists(dir + "\\" + file)) << file;
    for (const char* link : kShortcuts) EXPECT_TRUE(Exists(ShortcutPath(link))) << link;

    const struct {
        const char* name;
        std::string expected;
    } uninstallValues[] = {
        {"DisplayName", "Zentaro"},
        {"DisplayVersion", "2.01"},
        {"Publisher", "The Zentaro developers"},
        {"InstallLocation", dir},
        {"DisplayIcon", dir + "\\zentaro.exe,0"},
        {"UninstallString", "\"" + dir + "\\uninstall.exe\""},
        {"QuietUninstallString", "\"" + dir + "\\uninstall.exe\" /S"},
    };
    for (const auto& v : uninstallValues) EXPECT_EQ(driver::UserText(kUninstallKey, v.name), v.expected) << v.name;
    EXPECT_GT(driver::UserDword(kUninstallKey, "EstimatedSize").value_or(0), 100u) << "kilobytes of the installed files";
    // The path holds no space here, so unquoted, as the options dialog writes it.
    EXPECT_EQ(driver::UserText(kRunKey, kRunValue), dir + "\\zentaro.exe");
    EXPECT_EQ(driver::UserDword("Software\\Zentaro\\Option", "AutoRun"), 1u) << "the options dialog shows the same";

    // The installed clock starts from there and shows its face.
    driver::Process clock;
    ASSERT_TRUE(clock.Start(dir + "\\zentaro.exe"));
    HWND face = driver::WaitForWindow("frmMain", "Zentaro", 20000, clock.id());
    ASSERT_NE(face, nullptr);
    EXPECT_TRUE(driver::WaitFor([&] { return IsWindowVisible(face) != FALSE; }, 10000));

    // An upgrade while it runs: closed through its window (a clean exit, not killed), the
    // files replaced, the alarms kept and the clock started again.
    StoreAlarm();
    ASSERT_EQ(Install(""), 0u);
    EXPECT_TRUE(clock.WaitExit(1000)) << "closed before its files were replaced";
    EXPECT_EQ(clock.ExitCode(), 0u);
    ExpectAlarmKept();
    HWND restarted = driver::WaitForWindow("frmMain", "Zentaro", 20000);
    ASSERT_NE(restarted, nullptr) << "a clock that ran before the upgrade runs after it";
    EXPECT_EQ(driver::UserText(kRunKey, kRunValue), dir + "\\zentaro.exe") << "an upgrade keeps start with Windows";

    // A silent uninstall closes the clock and leaves nothing of the install behind, not even a
    // wake task left by a clock that did not end normally.
    const std::string wakeTask = driver::WakeTaskFile();
    ASSERT_TRUE(std::ofstream(wakeTask) << "<Task><Settings><WakeToRun>true</WakeToRun></Settings></Task>");
    HANDLE restartedProcess = ClockProcess(restarted);
    ASSERT_TRUE(Uninstall(""));
    EXPECT_FALSE(Exists(wakeTask)) << "the wake task is removed";
    EXPECT_EQ(EndedWith(restartedProcess), 0u);
    for (const char* file : kInstalledFiles) EXPECT_FALSE(Exists(dir + "\\" + file)) << file;
    EXPECT_FALSE(Exists(dir));
    for (const char* link : kShortcuts) EXPECT_FALSE(Exists(ShortcutPath(link))) << link;
    EXPECT_EQ(driver::UserText(kRunKey, kRunValue), std::nullopt);
    EXPECT_FALSE(KeyExists(kUninstallKey));
    ExpectAlarmKept();
    EXPECT_EQ(driver::UserDword("Software\\Zentaro\\Option", "AutoRun"), 0u) << "kept settings agree with the Run value gone";
}

TEST_F(Setup, UninstallRemovesSettingsOnlyWhenAsked) {
    const struct {
        const char* description;
        const char* switches;
        bool settingsKept;
    } cases[] = {
        {"plain silent uninstall", "", true},
        {"asked to remove the settings", "/REMOVESETTINGS", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.description);
        // Another folder, with a space: the Run value is then quoted, as the options dialog
        // quotes it.
        const std::string dir = Folder(CSIDL_LOCAL_APPDATA) + "\\Zentaro Clock";
        ASSERT_EQ(Install("/STARTWITHWINDOWS /D=" + dir), 0u);
        EXPECT_TRUE(Exists(dir + "\\zentaro.exe"));
        EXPECT_EQ(driver::UserText(kRunKey, kRunValue), "\"" + dir + "\\zentaro.exe\"");
        StoreAlarm();
        // stop.ini beside the programs holds the break settings and the birth date.
        const std::string ini = dir + "\\stop.ini";
        HANDLE f = CreateFileA(ini.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(f, INVALID_HANDLE_VALUE);
        CloseHandle(f);

        ASSERT_TRUE(Uninstall(c.switches));
        EXPECT_FALSE(Exists(dir + "\\zentaro.exe"));
        EXPECT_EQ(driver::UserText(kRunKey, kRunValue), std::nullopt);
        EXPECT_EQ(KeyExists(kSettingsKey), c.settingsKept);
        EXPECT_EQ(Exists(ini), c.settingsKept);
        EXPECT_EQ(Exists(dir), c.settingsKept) << "the folder goes with its last file";
        DeleteFileA(ini.c_str());
        RemoveDirectoryA(dir.c_str());
        RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    }
}

// The setup runs for a user without administrator rights and says what it is.
TEST(SetupProgram, AsksForNoElevationAndCarriesItsVersion) {
    HMODULE setup = LoadLibraryExA(ZENTARO_SETUP_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(setup, nullptr);
    HRSRC res = FindResourceA(setup, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    ASSERT_NE(res, nullptr);
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(setup, res))),
                               SizeofResource(setup, res));
    FreeLibrary(setup);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos) << manifest;
    EXPECT_EQ(manifest.find("requireAdministrator"), std::string::npos);

    DWORD handle = 0;
    std::vector<char> info(GetFileVersionInfoSizeA(ZENTARO_SETUP_PATH, &handle));
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(GetFileVersionInfoA(ZENTARO_SETUP_PATH, 0, static_cast<DWORD>(info.size()), info.data()));
    const struct {
        const char* name;
        const char* expected;
    } strings[] = {{"ProductName", "Zentaro"}, {"ProductVersion", "2.01"}, {"CompanyName", "The Zentaro developers"}};
    for (const auto& s : strings) {
        char* text = nullptr;
        UINT length = 0;
        const std::string path = std::string("\\StringFileInfo\\040904b0\\") + s.name;
        ASSERT_TRUE(VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&text), &length)) << s.name;
        EXPECT_STREQ(text, s.expected) << s.name;
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(1, 2)) << "2.01 as 2.1";
}

}  // namespace
