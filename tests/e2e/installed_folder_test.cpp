// The suite installed under a folder whose name mixes scripts (Latin with accents, Cyrillic,
// CJK, an emoji outside the BMP): the clock starts from there, finds vitaro.exe and help.hlp
// beside it, and Break.exe reads the stop.ini beside it. This program carries the programs'
// manifest, so its own A functions speak UTF-8 as theirs do.
#include "apps/break/BreakWindow.h"
#include "apps/vitaro/VitaroWindow.h"
#include "apps/zentaro/MenuLayout.h"
#include "tests/e2e/driver/Driver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kFolderName = "Zentaro Zo\xC3\xAB \xD0\x9D\xD0\xBE\xD1\x87\xD1\x8C \xE4\xBC\x9A\xE8\xAE\xAE \xF0\x9F\x98\x80";

// Deletes a folder with everything in it.
void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = dir + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
            else DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(dir.c_str());
}

// A copy of the installation's files under the folder, removed at the end.
class Installation {
public:
    Installation() : dir_(driver::BinDir() + "\\..\\" + kFolderName) {
        RemoveTree(dir_);
        ok_ = CreateDirectoryA(dir_.c_str(), nullptr) && CreateDirectoryA((dir_ + "\\picture").c_str(), nullptr);
        for (const char* file : {"zentaro.exe", "vitaro.exe", "Break.exe", "help.hlp"})
            ok_ = ok_ && CopyFileA(driver::ProgramPath(file).c_str(), (dir_ + "\\" + file).c_str(), FALSE);
        for (int n = 1; n <= 20; ++n) {
            const std::string name = "\\picture\\" + std::to_string(n) + ".jpg";
            ok_ = ok_ && CopyFileA((driver::BinDir() + name).c_str(), (dir_ + name).c_str(), FALSE);
        }
        const std::string ini = dir_ + "\\stop.ini";
        WritePrivateProfileStringA("StartBreak", "timesshow", "600", ini.c_str());
        WritePrivateProfileStringA("StartBreak", "cmdhide", "0", ini.c_str());
        // At once: no notice, and the test display's lack of input is no absence.
        WritePrivateProfileStringA("StartBreak", "notice", "0", ini.c_str());
        WritePrivateProfileStringA("StartBreak", "skipaway", "0", ini.c_str());
    }
    ~Installation() { RemoveTree(dir_); }
    bool ok() const { return ok_; }
    std::string file(const char* name) const { return dir_ + "\\" + name; }
private:
    std::string dir_;
    bool ok_ = false;
};

std::string ImageOf(HWND wnd) {
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return {};
    char path[2048] = {};
    DWORD size = sizeof path;
    QueryFullProcessImageNameA(process, 0, path, &size);
    CloseHandle(process);
    return path;
}

TEST(InstalledFolder, TheProgramsFindEachOtherAndTheirFilesUnderAFolderNamedInAnyScript) {
    ASSERT_EQ(65001u, GetACP()) << "the manifest's UTF-8 code page";
    Installation installed;
    ASSERT_TRUE(installed.ok());
    driver::ResetZentaroSettings();

    driver::Process clock;
    ASSERT_TRUE(clock.Start(installed.file("zentaro.exe")));
    HWND face = driver::WaitForWindow("frmMain", "Zentaro", 20000, clock.id());
    ASSERT_NE(face, nullptr) << "the clock starts from the folder";

    // vitaro.exe beside it.
    PostMessageA(face, WM_COMMAND, menu::kCmdBiorhythm, 0);
    HWND vitaro = driver::WaitForWindow(vitaro::kVitaroClass, nullptr, 20000);
    ASSERT_NE(vitaro, nullptr) << "vitaro.exe was not started";
    const std::string image = ImageOf(vitaro);
    EXPECT_NE(std::string::npos, image.find(kFolderName + "\\vitaro.exe")) << image;
    PostMessageA(vitaro, WM_CLOSE, 0, 0);

    // help.hlp beside it opens in the help viewer.
    PostMessageA(face, WM_COMMAND, menu::kCmdHelpContent, 0);
    HWND help = driver::WaitForWindow("HH Parent", nullptr, 20000, clock.id());
    EXPECT_NE(help, nullptr) << "help.hlp was not opened";
    if (help) PostMessageA(help, WM_CLOSE, 0, 0);
    clock.Kill();

    // Break.exe reads the stop.ini beside it (its pictures: win_break_window).
    driver::Process brk;
    ASSERT_TRUE(brk.Start(installed.file("Break.exe")));
    HWND wnd = driver::WaitForWindow(break_program::kBreakClass, break_program::kBreakTitle, 20000, brk.id());
    ASSERT_NE(wnd, nullptr);
    EXPECT_EQ("600", driver::WindowText(driver::ChildById(wnd, break_program::kIdCountdownLabel)));
    PostMessageA(wnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(brk.WaitExit(10000));
    driver::WaitForNoWindow(vitaro::kVitaroClass, nullptr, 10000);
}

}  // namespace
