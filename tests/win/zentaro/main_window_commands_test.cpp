// The commands on the real clock window: starting minimised, the double click, the shell's
// restart, and Exit with the stored position, also with other windows of the program open.
#include "apps/zentaro/AboutWindow.h"
#include "common/Handles.h"
#include "apps/zentaro/MainCommands.h"
#include "apps/zentaro/MainWindow.h"
#include "apps/zentaro/MenuLayout.h"
#include "common/Settings.h"
#include "common/SystemSeams.h"
#include "apps/zentaro/TrayIcon.h"
#include "apps/zentaro/PopupMenu.h"
#include "tests/win/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using testing_support::ClearUserRegistry;
using testing_support::PumpPending;

namespace {

constexpr char kLoadKey[] = "Software\\Zentaro\\Load";
constexpr char kOptionKey[] = "Software\\Zentaro\\Option";

void PutText(const char* key, const char* name, const char* value) {
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), static_cast<DWORD>(strlen(value) + 1));
    RegCloseKey(k);
}

std::string GetText(const char* key, const char* name) {
    char buf[64] = {};
    DWORD size = sizeof buf - 1;
    if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, buf, &size) != ERROR_SUCCESS)
        return "<missing>";
    return buf;
}

class MainWindowCommands : public ::testing::Test {
protected:
    void SetUp() override {
        ClearUserRegistry();
        seams_->notifyIcon = [this](DWORD msg, NOTIFYICONDATAA* d) {
            icons_.push_back({msg, d->hWnd});
            return TRUE;
        };
        seams_->exitProcess = [this](UINT code) { exits_.push_back(code); };
        seams_->shellExecute = [](HWND, const char*, const char*, const char*, const char*, int) {
            return reinterpret_cast<HINSTANCE>(42);
        };
    }
    void TearDown() override {
        if (HWND w = zentaro::MainWindowHandle()) SendMessageA(w, WM_CLOSE, 0, 0);
        UnregisterClassA(zentaro::kMainClassName, GetModuleHandleA(nullptr));
        PumpPending();
    }
    HWND Open() {
        EXPECT_TRUE(zentaro::RegisterMainClass(zentaro::kMainClassName));
        HWND w = zentaro::CreateMainWindow(zentaro::kMainClassName, 0, "");
        EXPECT_NE(w, nullptr);
        if (w) zentaro::StartMainWindow(w);
        PumpPending();
        return w;
    }
    int Count(DWORD message) const {
        int n = 0;
        for (const auto& c : icons_) n += c.first == message;
        return n;
    }
    static std::string FirstItem() { return zentaro::MainMenu() ? zentaro::MainMenu()->Records()[0].text : "<no menu>"; }

    sys::ScopedSeams seams_;
    std::vector<std::pair<DWORD, HWND>> icons_;
    std::vector<UINT> exits_;
};

TEST_F(MainWindowCommands, StartingMinimisedShowsOnlyTheIconUntilResume) {
    PutText(kOptionKey, "IconRun", "1");
    HWND w = Open();
    EXPECT_FALSE(IsWindowVisible(w));
    EXPECT_TRUE(IsIconic(w));
    EXPECT_EQ(Count(NIM_ADD), 1);
    ASSERT_FALSE(icons_.empty());
    EXPECT_EQ(icons_[0].second, w);
    EXPECT_EQ(FirstItem(), "Resume(&M)");

    SendMessageA(w, WM_COMMAND, menu::kCmdResume, 0);
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_FALSE(IsIconic(w));
    EXPECT_EQ(Count(NIM_DELETE), 1);
    EXPECT_EQ(FirstItem(), "Minimized(&M)");
}

TEST_F(MainWindowCommands, DoubleClickOnTheFaceMinimisesAndShellRestartBringsTheIconBack) {
    HWND w = Open();
    ASSERT_TRUE(IsWindowVisible(w));
    EXPECT_TRUE(icons_.empty());
    SendMessageA(w, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 10));
    EXPECT_FALSE(IsWindowVisible(w));
    EXPECT_TRUE(IsIconic(w));
    EXPECT_EQ(Count(NIM_ADD), 1);
    EXPECT_EQ(FirstItem(), "Resume(&M)");

    SendMessageA(w, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_EQ(Count(NIM_ADD), 2);
    PostMessageA(w, zentaro::kTrayMessage, 0, WM_LBUTTONDBLCLK);
    PumpPending();
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_EQ(Count(NIM_DELETE), 1);
}

TEST_F(MainWindowCommands, ExitWhileMinimisedKeepsTheStoredPlaceAndRemovesTheIcon) {
    PutText(kLoadKey, "ClockLeft", "321");
    PutText(kLoadKey, "ClockTop", "123");
    HWND w = Open();
    SendMessageA(w, WM_COMMAND, menu::kCmdMinimise, 0);
    ASSERT_TRUE(zentaro::TrayIconShown());
    SendMessageA(w, WM_COMMAND, menu::kCmdExit, 0);
    EXPECT_FALSE(IsWindow(w));
    EXPECT_FALSE(zentaro::TrayIconShown());
    EXPECT_EQ(Count(NIM_ADD), 1);
    EXPECT_EQ(Count(NIM_DELETE), 1);
    EXPECT_EQ(GetText(kLoadKey, "ClockLeft"), "321");
    EXPECT_EQ(GetText(kLoadKey, "ClockTop"), "123");
    EXPECT_EQ(exits_, std::vector<UINT>{0});
}

TEST_F(MainWindowCommands, RestoreMainWindowShowsTheMinimisedFaceAgain) {
    HWND w = Open();
    SendMessageA(w, WM_COMMAND, menu::kCmdMinimise, 0);
    ASSERT_TRUE(zentaro::TrayIconShown());
    zentaro::RestoreMainWindow();
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_FALSE(IsIconic(w));
    EXPECT_FALSE(zentaro::TrayIconShown());
    EXPECT_EQ(Count(NIM_DELETE), 1);
    EXPECT_EQ(FirstItem(), "Minimized(&M)");
}

TEST_F(MainWindowCommands, ExitAfterDraggingStoresTheNewPlace) {
    PutText(kLoadKey, "ClockLeft", "321");
    PutText(kLoadKey, "ClockTop", "123");
    HWND w = Open();
    // The system's move loop ends by moving the window like this.
    SetWindowPos(w, nullptr, 250, 180, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(w, WM_COMMAND, menu::kCmdExit, 0);
    EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(GetText(kLoadKey, "ClockLeft"), "250");
    EXPECT_EQ(GetText(kLoadKey, "ClockTop"), "180");
    EXPECT_EQ(Count(NIM_DELETE), 0) << "no icon was shown";
    EXPECT_EQ(exits_, std::vector<UINT>{0});
}

// Exit chosen from the icon's menu while a modal dialog of the clock is open: the dialog goes
// with the window, and the program ends.
HWND g_dialog = nullptr;
INT_PTR CALLBACK ExitFromInside(HWND dlg, UINT msg, WPARAM, LPARAM) {
    if (msg == WM_INITDIALOG) {
        g_dialog = dlg;
        PostMessageA(zentaro::MainWindowHandle(), WM_COMMAND, menu::kCmdExit, 0);
        return TRUE;
    }
    return FALSE;
}

TEST_F(MainWindowCommands, ExitWithAModalDialogAndTheAboutWindowOpenLeavesNoWindow) {
    HWND w = Open();
    SendMessageA(w, WM_COMMAND, menu::kCmdAbout, 0);
    HWND about = zentaro::AboutWindowHandle();
    ASSERT_TRUE(about);
    SendMessageA(w, WM_COMMAND, menu::kCmdMinimise, 0);

    struct { DLGTEMPLATE t; WORD menu, cls, title; } tpl{};
    tpl.t.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
    tpl.t.cx = 100;
    tpl.t.cy = 50;
    g_dialog = nullptr;
    DialogBoxIndirectParamA(GetModuleHandleA(nullptr), &tpl.t, w, ExitFromInside, 0);
    EXPECT_TRUE(g_dialog != nullptr);
    EXPECT_FALSE(IsWindow(g_dialog));
    EXPECT_FALSE(IsWindow(about));
    EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(Count(NIM_DELETE), 1);
    EXPECT_EQ(exits_, std::vector<UINT>{0});
}

}  // namespace
