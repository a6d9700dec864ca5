// All three programs over a hostile profile: registry values of the wrong type and size, a
// skin folder of damaged bitmaps with random skins on, and a stop.ini of junk. Each program
// starts, shows its window, opens every window of the clock's menu and ends normally, and
// the stored values it does not own stay byte for byte as they were.
#include "apps/break/BreakWindow.h"
#include "apps/zentaro/MenuLayout.h"
#include "tests/e2e/driver/Driver.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<BYTE>;

Bytes TextBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }
Bytes Filled(std::size_t n, BYTE b) { return Bytes(n, b); }

struct Planted {
    const char* key;  // under HKCU\Software\Zentaro
    const char* name;
    DWORD type;
    Bytes data;
};

std::vector<Planted> HostileValues(const std::string& skinDir) {
    const Bytes threeBytes{0x01, 0x02, 0x03};
    const DWORD maxCount = 32767;
    const Bytes count(reinterpret_cast<const BYTE*>(&maxCount), reinterpret_cast<const BYTE*>(&maxCount) + 4);
    const DWORD on = 1;
    const Bytes one(reinterpret_cast<const BYTE*>(&on), reinterpret_cast<const BYTE*>(&on) + 4);
    return {
        {"Option", "SkinPath", REG_SZ, TextBytes(skinDir)},
        {"Option", "RndBackBmp", REG_DWORD, one},
        {"Option", "RndTimeBmp", REG_DWORD, one},
        {"Option", "SelBackBmp", REG_SZ, TextBytes("second")},
        {"Option", "SelTimeBmp", REG_DWORD, threeBytes},
        {"Option", "Windowpos", REG_SZ, TextBytes("on top")},
        {"Option", "AutoRun", REG_DWORD, threeBytes},
        {"Option", "IconRun", REG_BINARY, Filled(4096, 0xFF)},
        {"Load", "Alpha", REG_BINARY, Filled(16u << 20, 0xA5)},
        {"Load", "HourRing", REG_SZ, TextBytes("every hour")},
        {"Load", "WavFile", REG_DWORD, threeBytes},
        {"Load", "ClockLeft", REG_SZ, TextBytes("left")},
        {"Load", "ClockTop", REG_DWORD, threeBytes},
        {"Load", "BmpBack", REG_BINARY, Filled(300, 0x00)},
        {"Load", "BmpTime", REG_DWORD, threeBytes},
        {"Clock Skin\\BlackFile", "1", REG_BINARY, Filled(70000, 0x41)},
        {"Clock Skin\\TimeFile", "1", REG_DWORD, threeBytes},
        {"Data", "DataCount", REG_DWORD, count},
        {"Data", "Data1", REG_SZ, TextBytes("not a record")},
        {"Data", "Data2", REG_DWORD, threeBytes},
        {"Data", "Text3", REG_BINARY, Filled(5000, 0x7F)},
        {"Data", "Sound4", REG_DWORD, threeBytes},
    };
}

// Values the programs write by design: the clock's position on close, and the random skin
// choice and skin lists it stores at start (the lists are rebuilt, or dropped when the
// Options dialog finds no skins), and the scheduler's record of its last tick.
bool OwnedByTheClock(const std::string& path) {
    static const std::set<std::string> owned{"Load\\ClockLeft", "Load\\ClockTop", "Load\\BmpBack",
                                             "Load\\BmpTime", "Option\\SelBackBmp", "Option\\SelTimeBmp",
                                             "Load\\AlarmLastTick"};
    return owned.count(path) != 0 || path.rfind("Clock Skin\\", 0) == 0;
}

struct Stored {
    DWORD type;
    Bytes data;
    bool operator==(const Stored&) const = default;
};
using Snapshot = std::map<std::string, Stored>;

// Every value below HKCU\Software\Zentaro\<sub>, by "sub\name", read with RegQueryValueEx.
void ReadTree(const std::string& sub, Snapshot& out) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, ("Software\\Zentaro\\" + sub).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    DWORD subKeys = 0, values = 0, maxName = 0, maxData = 0, maxKeyName = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subKeys, &maxKeyName, nullptr, &values, &maxName, &maxData,
                     nullptr, nullptr);
    std::vector<std::string> names, children;
    for (DWORD i = 0; i < values; ++i) {
        std::string name(maxName + 1, '\0');
        DWORD len = maxName + 1;
        if (RegEnumValueA(key, i, name.data(), &len, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
            names.push_back(name.substr(0, len));
    }
    for (DWORD i = 0; i < subKeys; ++i) {
        std::string name(maxKeyName + 1, '\0');
        DWORD len = maxKeyName + 1;
        if (RegEnumKeyExA(key, i, name.data(), &len, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
            children.push_back(name.substr(0, len));
    }
    for (const std::string& name : names) {
        Stored v{0, Bytes(maxData)};
        DWORD size = maxData;
        if (RegQueryValueExA(key, name.c_str(), nullptr, &v.type, v.data.data(), &size) != ERROR_SUCCESS) continue;
        v.data.resize(size);
        out[sub + "\\" + name] = std::move(v);
    }
    RegCloseKey(key);
    for (const std::string& child : children) ReadTree(sub + "\\" + child, out);
}

Snapshot ValuesNotOwned() {
    Snapshot all;
    for (const char* sub : {"Option", "Load", "Clock Skin", "Data"}) ReadTree(sub, all);
    std::erase_if(all, [](const auto& entry) { return OwnedByTheClock(entry.first); });
    return all;
}

void WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(bytes.data()),
                                                                   static_cast<std::streamsize>(bytes.size()));
}

// A file header and an info header for a 24-bit bitmap of the given size.
Bytes BitmapHeader(LONG width, LONG height) {
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) & ~3u);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + stride * static_cast<DWORD>(height);
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    Bytes out(sizeof file + sizeof info);
    std::memcpy(out.data(), &file, sizeof file);
    std::memcpy(out.data() + sizeof file, &info, sizeof info);
    return out;
}

// A folder of bitmaps that no reader may take as whole; removed at the end.
class DamagedSkins {
public:
    DamagedSkins() {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        dir_ = std::string(temp) + "zentaro-hostile-skins";
        CreateDirectoryA(dir_.c_str(), nullptr);
        Bytes cut = BitmapHeader(40, 40);
        cut.resize(cut.size() + 100, 0x80);
        const Bytes png{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 0x0D, 'I', 'H', 'D', 'R'};
        files_ = {{"cut.bmp", cut},
                  {"header.bmp", BitmapHeader(64, 64)},
                  {"png.bmp", png},
                  {"wide.bmp", BitmapHeader(65536, 1)},
                  {"empty.bmp", {}}};
        for (const auto& [name, bytes] : files_) WriteFile(dir_ + "\\" + name, bytes);
    }
    ~DamagedSkins() {
        for (const auto& entry : files_) DeleteFileA((dir_ + "\\" + entry.first).c_str());
        RemoveDirectoryA(dir_.c_str());
    }
    const std::string& dir() const { return dir_; }

private:
    std::string dir_;
    std::map<std::string, Bytes> files_;
};

// Junk in the programs' stop.ini; the file as it was comes back at the end.
class JunkStopIni {
public:
    JunkStopIni() : path_(driver::BinDir() + "\\stop.ini") {
        std::ifstream in(path_, std::ios::binary);
        existed_ = in.good();
        if (existed_) saved_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        in.close();
        std::string junk = "\xFF\xFE[StartBreak\r\n[StartBreak]\r\ntimesshow=99999999999999999999\r\ncmdhide=yes\r\n"
                           "notice=-5\r\npostpones=999\r\nwaitbusy=2\r\nendsound=C:\\nowhere\\end.wav\r\n"
                           "skipaway=0\r\n"
                           "BirthDate=31/02/99999\r\nAlarmDate\r\n=\r\n";
        junk += std::string(70000, 'x') + "\r\n";
        for (int c = 1; c < 256; ++c) junk += static_cast<char>(c);
        WriteFile(path_, TextBytes(junk));
    }
    ~JunkStopIni() {
        if (existed_) WriteFile(path_, TextBytes(saved_));
        else DeleteFileA(path_.c_str());
    }

private:
    std::string path_;
    bool existed_ = false;
    std::string saved_;
};

bool IsUserWindow(HWND w) {
    char cls[64] = {};
    GetClassNameA(w, cls, sizeof cls);
    return IsWindowVisible(w) && std::string(cls) != "#32768" && std::string(cls) != "tooltips_class32";
}

std::set<HWND> UserWindowsOf(DWORD pid) {
    std::set<HWND> out;
    for (HWND w : driver::FindTopWindows(nullptr, nullptr, pid))
        if (IsUserWindow(w)) out.insert(w);
    return out;
}

// Chooses a menu command of the clock, waits for the window it opens and closes every window
// that came up (a message box about the bad profile included) until only the face is left.
void OpenAndClose(HWND face, DWORD pid, unsigned command) {
    const std::set<HWND> before = UserWindowsOf(pid);
    PostMessageA(face, WM_COMMAND, command, 0);
    auto opened = [&] {
        std::vector<HWND> out;
        for (HWND w : UserWindowsOf(pid))
            if (!before.count(w)) out.push_back(w);
        return out;
    };
    ASSERT_TRUE(driver::WaitFor([&] { return !opened().empty(); }, 20000)) << "command " << command << " opened nothing";
    std::vector<std::string> seen;
    const bool allClosed = driver::WaitFor([&] {
        const std::vector<HWND> open = opened();
        for (HWND w : open) {
            seen.push_back(driver::WindowText(w));
            PostMessageA(w, WM_CLOSE, 0, 0);
        }
        return open.empty();
    }, 20000);
    ASSERT_TRUE(allClosed) << "command " << command << ": windows left open, last " << seen.back();
}

}  // namespace

TEST(HostileProfile, EveryProgramStartsAndEndsNormallyAndLeavesForeignValuesAlone) {
    driver::ResetZentaroSettings();
    DamagedSkins skins;
    JunkStopIni junk;
    for (const Planted& v : HostileValues(skins.dir())) {
        const std::string key = std::string("Software\\Zentaro\\") + v.key;
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), v.name, v.type, v.data.data(),
                                  static_cast<DWORD>(v.data.size())),
                  ERROR_SUCCESS) << v.key << "\\" << v.name;
    }
    const Snapshot before = ValuesNotOwned();
    ASSERT_GT(before.size(), 10u);

    driver::Process clock;
    HWND face = driver::StartClock(clock);
    ASSERT_NE(face, nullptr) << "the clock did not show its face";

    driver::Process brk;
    ASSERT_TRUE(brk.Start(driver::ProgramPath("Break.exe")));
    HWND breakWnd = driver::WaitForWindow(break_program::kBreakClass, break_program::kBreakTitle, 20000, brk.id());
    ASSERT_NE(breakWnd, nullptr);
    EXPECT_TRUE(driver::WaitFor([&] { return IsWindowVisible(breakWnd) != FALSE; }, 10000));
    HWND closeButton = driver::ChildById(breakWnd, break_program::kIdCloseButton);
    ASSERT_NE(closeButton, nullptr);
    ASSERT_TRUE(IsWindowEnabled(closeButton)) << "junk must not enforce a break";
    PostMessageA(breakWnd, WM_COMMAND, MAKEWPARAM(break_program::kIdCloseButton, BN_CLICKED), reinterpret_cast<LPARAM>(closeButton));
    EXPECT_TRUE(brk.WaitExit(10000));
    EXPECT_EQ(brk.ExitCode(), 0u);

    for (unsigned command : {menu::kCmdOptions, menu::kCmdBreakSettings, menu::kCmdCalendar, menu::kCmdAlarmSettings,
                             menu::kCmdTimeSetting, menu::kCmdAbout}) {
        OpenAndClose(face, clock.id(), command);
        ASSERT_TRUE(clock.Running()) << "the clock ended after command " << command;
    }

    // The biorhythm program, started from the menu.
    PostMessageA(face, WM_COMMAND, menu::kCmdBiorhythm, 0);
    HWND vitaroWnd = driver::WaitForWindow(nullptr, "Vitaro", 20000);
    ASSERT_NE(vitaroWnd, nullptr);
    EXPECT_TRUE(driver::WaitFor([&] { return IsWindowVisible(vitaroWnd) != FALSE; }, 10000));
    DWORD vitaroPid = 0;
    GetWindowThreadProcessId(vitaroWnd, &vitaroPid);
    HANDLE vitaro = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, vitaroPid);
    ASSERT_NE(vitaro, nullptr);
    PostMessageA(vitaroWnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(vitaro, 10000), WAIT_OBJECT_0);
    DWORD vitaroExit = 1;
    GetExitCodeProcess(vitaro, &vitaroExit);
    CloseHandle(vitaro);
    EXPECT_EQ(vitaroExit, 0u);

    PostMessageA(face, WM_CLOSE, 0, 0);
    EXPECT_TRUE(clock.WaitExit(10000));
    EXPECT_EQ(clock.ExitCode(), 0u);

    const Snapshot after = ValuesNotOwned();
    for (const auto& [name, value] : before) {
        const auto found = after.find(name);
        if (found == after.end()) {
            ADD_FAILURE() << name << " was removed";
        } else {
            EXPECT_EQ(found->second.type, value.type) << name;
            EXPECT_TRUE(found->second.data == value.data) << name << " changed";
        }
    }
    for (const auto& entry : after)
        EXPECT_TRUE(before.count(entry.first)) << entry.first << " was added";
    driver::ResetZentaroSettings();
}
