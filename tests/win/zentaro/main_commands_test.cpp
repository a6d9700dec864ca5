// The main window's commands, mouse and notification-area messages: minimising and restoring
// with the icon, starting the biorhythm viewer, help, the web page, the about window, Exit.
#include "apps/zentaro/AboutWindow.h"
#include "common/Handles.h"
#include "apps/zentaro/MainCommands.h"
#include "apps/zentaro/PopupMenu.h"
#include "tools/DateTip.h"
#include "apps/zentaro/MenuLayout.h"
#include "common/ProgramPath.h"
#include "common/SystemSeams.h"
#include "apps/zentaro/TrayIcon.h"
#include "common/WindowState.h"
#include "tests/win/support/TestSupport.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// A window that offers its messages to the commands the way the clock window does.
constexpr char kHostClass[] = "MainCommandsTestHost";

// Hit-test codes of the non-client presses the window sent itself (the move loop is left out).
std::vector<WPARAM> g_nonClientPresses;

LRESULT CALLBACK HostProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_NCLBUTTONDOWN) {
        g_nonClientPresses.push_back(wp);
        return 0;
    }
    if (m == WM_NCDESTROY) win::DetachWindowState(w);
    zentaro::ClockCommands* commands = win::WindowState<zentaro::ClockCommands>(w);
    if (!commands) return DefWindowProcA(w, m, wp, lp);
    LRESULT result = 0;
    if (zentaro::HandleMainCommandMessage(w, *commands, m, wp, lp, &result)) return result;
    if (m == WM_MEASUREITEM && zentaro::MeasureMainMenuItem(w, *commands, lp)) return TRUE;
    if (m == WM_DRAWITEM && zentaro::DrawMainMenuItem(*commands, lp)) return TRUE;
    if (m == WM_CLOSE) {
        zentaro::ReleaseMainMenuAndIcon(*commands);
        DestroyWindow(w);
        return 0;
    }
    return DefWindowProcA(w, m, wp, lp);
}

struct IconCall {
    DWORD message;
    DWORD size;
    HWND owner;
    UINT id, flags, callback;
    bool hasIcon;
    std::string tip;
};
struct ShellCall { std::string verb, file; bool params, dir; int show; };
struct HelpCall { HWND owner; std::string file; UINT command; };

class MainCommands : public ::testing::Test {
protected:
    void SetUp() override {
        seams_->notifyIcon = [this](DWORD msg, NOTIFYICONDATAA* d) {
            icons_.push_back({msg, d->cbSize, d->hWnd, d->uID, d->uFlags, d->uCallbackMessage,
                              d->hIcon != nullptr, d->szTip});
            return TRUE;
        };
        seams_->shellExecute = [this](HWND, const char* verb, const char* file, const char* params,
                                      const char* dir, int show) {
            shell_.push_back({verb ? verb : "", file ? file : "", params != nullptr, dir != nullptr, show});
            return reinterpret_cast<HINSTANCE>(42);
        };
        seams_->htmlHelp = [this](HWND owner, const char* file, UINT command, DWORD_PTR) {
            help_.push_back({owner, file ? file : "", command});
            return static_cast<HWND>(nullptr);
        };
        seams_->exitProcess = [this](UINT code) { exits_.push_back(code); };

        WNDCLASSA wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = HostProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kHostClass;
        RegisterClassA(&wc);
        main_ = CreateWindowExA(WS_EX_TOOLWINDOW, kHostClass, "Zentaro", WS_POPUP | WS_SYSMENU, 100,
                                100, 120, 38, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_TRUE(main_);
        win::AttachBorrowedState(main_, &commands_);
        zentaro::CreateMainMenu(commands_);
        ShowWindow(main_, SW_SHOWNORMAL);
        icons_.clear();
    }
    void TearDown() override {
        if (IsWindow(main_)) SendMessageA(main_, WM_CLOSE, 0, 0);
        testing_support::PumpPending();
    }

    void Command(WPARAM id) { SendMessageA(main_, WM_COMMAND, id, 0); }
    int Count(DWORD message) const {
        int n = 0;
        for (const IconCall& c : icons_) n += c.message == message;
        return n;
    }
    std::string FirstItemText() const { return commands_.menu->Records()[0].text; }
    UINT FirstItemId() const { return GetMenuItemID(commands_.menu->Handle(), 0); }

    // The user-visible state: face shown, icon shown, first menu item.
    void ExpectMinimised(const char* how) {
        SCOPED_TRACE(how);
        EXPECT_FALSE(IsWindowVisible(main_));
        EXPECT_TRUE(IsIconic(main_));
        EXPECT_TRUE(commands_.tray.Shown());
        EXPECT_EQ(Count(NIM_ADD), 1);
        EXPECT_EQ(Count(NIM_DELETE), 0);
        EXPECT_EQ(FirstItemText(), "Resume(&M)");
        EXPECT_EQ(FirstItemId(), menu::kCmdResume);
    }
    void ExpectShownAfterOneCycle(const char* how) {
        SCOPED_TRACE(how);
        EXPECT_TRUE(IsWindowVisible(main_));
        EXPECT_FALSE(IsIconic(main_));
        EXPECT_FALSE(commands_.tray.Shown());
        EXPECT_EQ(Count(NIM_ADD), 1);
        EXPECT_EQ(Count(NIM_DELETE), 1);
        EXPECT_EQ(FirstItemText(), "Minimized(&M)");
        EXPECT_EQ(FirstItemId(), menu::kCmdMinimise);
    }

    sys::ScopedSeams seams_;
    HWND main_ = nullptr;
    std::vector<IconCall> icons_;
    zentaro::ClockCommands commands_;  // the host window's, as the clock window keeps its own
    std::vector<ShellCall> shell_;
    std::vector<HelpCall> help_;
    std::vector<UINT> exits_;
};

TEST_F(MainCommands, MinimiseAddsTheIconRecordAndResumeRemovesIt) {
    Command(menu::kCmdMinimise);
    ExpectMinimised("command 1");
    ASSERT_EQ(icons_.size(), 1u);
    const IconCall& add = icons_[0];
    EXPECT_EQ(add.size, static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
    EXPECT_EQ(add.owner, main_);
    EXPECT_EQ(add.id, 0u);
    EXPECT_EQ(add.flags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(add.callback, 1132u);
    EXPECT_TRUE(add.hasIcon);
    EXPECT_EQ(add.tip, "Zentaro V2.01");

    Command(menu::kCmdResume);
    ExpectShownAfterOneCycle("command 0");
    EXPECT_EQ(icons_.back().owner, main_);
    EXPECT_EQ(icons_.back().id, 0u);
}

TEST_F(MainCommands, EveryWayToMinimiseGivesTheSameStateAndEveryWayBackRestoresIt) {
    struct Case {
        const char* what;
        UINT minimiseMsg; WPARAM minimiseWp; LPARAM minimiseLp;
        UINT restoreMsg; WPARAM restoreWp; LPARAM restoreLp;
    };
    const Case cases[] = {
        {"double click on the face, double click on the icon", WM_LBUTTONDBLCLK, MK_LBUTTON, 0,
         zentaro::kTrayMessage, 0, WM_LBUTTONDBLCLK},
        {"menu Minimized, menu Resume", WM_COMMAND, menu::kCmdMinimise, 0, WM_COMMAND,
         menu::kCmdResume, 0},
        {"system minimise, system restore", WM_SYSCOMMAND, SC_MINIMIZE, 0, WM_SYSCOMMAND, SC_RESTORE, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        icons_.clear();
        SendMessageA(main_, c.minimiseMsg, c.minimiseWp, c.minimiseLp);
        ExpectMinimised("after minimising");
        SendMessageA(main_, c.restoreMsg, c.restoreWp, c.restoreLp);
        ExpectShownAfterOneCycle("after restoring");
    }
}

TEST_F(MainCommands, MinimisingAnAlreadyMinimisedClockAddsNoSecondIcon) {
    Command(menu::kCmdMinimise);
    Command(menu::kCmdMinimise);
    SendMessageA(main_, WM_SIZE, SIZE_MINIMIZED, 0);
    ExpectMinimised("three times");
}

TEST_F(MainCommands, RestoredSizeRemovesTheIconAndTaskbarRestartReAddsItOnlyWhileMinimised) {
    const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    SendMessageA(main_, taskbarCreated, 0, 0);
    EXPECT_TRUE(icons_.empty()) << "no icon while the face is shown";

    Command(menu::kCmdMinimise);
    SendMessageA(main_, taskbarCreated, 0, 0);
    ASSERT_EQ(Count(NIM_ADD), 2);
    EXPECT_EQ(icons_.back().tip, "Zentaro V2.01");
    EXPECT_TRUE(icons_.back().hasIcon);

    SendMessageA(main_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(120, 38));
    EXPECT_EQ(Count(NIM_DELETE), 1);
    EXPECT_FALSE(commands_.tray.Shown());
    SendMessageA(main_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(120, 38));
    EXPECT_EQ(Count(NIM_DELETE), 1) << "removing an absent icon asks the shell nothing";
}

TEST_F(MainCommands, ProgramHelpAndWebPageCommandsGoThroughTheShell) {
    const std::string dir = paths::ProgramDirectory();
    Command(menu::kCmdBiorhythm);
    Command(menu::kCmdHelpContent);
    Command(menu::kCmdWebsite);
    ASSERT_EQ(shell_.size(), 2u);
    EXPECT_EQ(shell_[0].verb, "open");
    EXPECT_EQ(shell_[0].file, dir + "\\vitaro.exe");
    EXPECT_EQ(shell_[0].show, SW_SHOWNORMAL) << "started hidden, vitaro's window would stay hidden";
    EXPECT_FALSE(shell_[0].params);
    EXPECT_FALSE(shell_[0].dir);
    EXPECT_EQ(shell_[1].verb, "open");
    EXPECT_EQ(shell_[1].file, zentaro::kWebPageAddress);
    EXPECT_EQ(shell_[1].show, SW_SHOWNORMAL);
    ASSERT_EQ(help_.size(), 1u);
    EXPECT_EQ(help_[0].owner, main_);
    EXPECT_EQ(help_[0].file, dir + "\\help.hlp");
    EXPECT_EQ(help_[0].command, 0u);  // display topic
}

TEST_F(MainCommands, PressOnTheFaceHandsTheMouseToTheSystemsMoveLoop) {
    g_nonClientPresses.clear();
    SetCapture(main_);
    SendMessageA(main_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 10));
    EXPECT_EQ(g_nonClientPresses, std::vector<WPARAM>{HTCAPTION});
    EXPECT_EQ(GetCapture(), nullptr) << "capture released first";
    EXPECT_TRUE(IsWindowVisible(main_));
    EXPECT_TRUE(icons_.empty());
}

TEST_F(MainCommands, ModalCommandsBringAnOpenModalDialogForward) {
    // What a modal dialog of the clock does: disable its owner and take the foreground.
    win::AutoWindow dialog(CreateWindowExA(0, "STATIC", "dialog", WS_POPUP | WS_VISIBLE, 300, 300, 80, 40,
                                           main_, nullptr, GetModuleHandleA(nullptr), nullptr));
    ASSERT_TRUE(dialog);
    EnableWindow(main_, FALSE);
    for (WPARAM id : {menu::kCmdOptions, menu::kCmdCalendar, menu::kCmdTimeSetting}) {
        SetActiveWindow(dialog.get());
        SetForegroundWindow(main_);  // as the icon's menu does before it opens
        ASSERT_EQ(GetForegroundWindow(), main_);
        Command(id);
        EXPECT_EQ(GetForegroundWindow(), dialog.get()) << id;
    }
    EnableWindow(main_, TRUE);
}

TEST_F(MainCommands, SeparatorAndHelpItemIdentifiersDoNothing) {
    for (WPARAM id : {2, 4, 8, 10, 12, 13, 15, 18, 20, 999}) Command(id);
    EXPECT_TRUE(icons_.empty());
    EXPECT_TRUE(shell_.empty());
    EXPECT_TRUE(help_.empty());
    EXPECT_TRUE(exits_.empty());
    EXPECT_TRUE(IsWindowVisible(main_));
    EXPECT_EQ(zentaro::AboutWindowHandle(), nullptr);
}

TEST_F(MainCommands, BiorhythmCommandStartsVitaroBesideTheProgram) {
    seams_->shellExecute = sys::RealSeams().shellExecute;
    auto vitaroIds = [] {
        std::vector<DWORD> ids;
        win::AutoHandle snap(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        PROCESSENTRY32 pe{};
        pe.dwSize = sizeof pe;
        for (BOOL ok = Process32First(snap.get(), &pe); ok; ok = Process32Next(snap.get(), &pe)) {
            if (lstrcmpiA(pe.szExeFile, "vitaro.exe") == 0) ids.push_back(pe.th32ProcessID);
        }
        return ids;
    };
    const size_t before = vitaroIds().size();
    Command(menu::kCmdBiorhythm);
    EXPECT_TRUE(testing_support::PumpUntil([&] { return vitaroIds().size() > before; }, 10000));
    for (DWORD id : vitaroIds()) {
        win::AutoHandle p(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
        if (p) {
            TerminateProcess(p.get(), 0);
            WaitForSingleObject(p.get(), 5000);
        }
    }
}

TEST_F(MainCommands, AboutOpensOneVersionWindowThatAClickCloses) {
    Command(menu::kCmdAbout);
    HWND about = zentaro::AboutWindowHandle();
    ASSERT_TRUE(about);
    EXPECT_TRUE(IsWindowVisible(about));
    char title[32] = {};
    GetWindowTextA(about, title, sizeof title);
    EXPECT_STREQ(title, "Version");
    EXPECT_EQ(GetWindow(about, GW_OWNER), main_);
    RECT client{};
    GetClientRect(about, &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 180);

    Command(menu::kCmdAbout);
    EXPECT_EQ(zentaro::AboutWindowHandle(), about) << "a second About brings up the same window";
    EXPECT_EQ(testing_support::CountOwnWindows(zentaro::kAboutClass), 1);

    SendMessageA(about, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 90));
    SendMessageA(about, WM_LBUTTONUP, 0, MAKELPARAM(150, 90));
    EXPECT_FALSE(IsWindow(about));
    EXPECT_EQ(zentaro::AboutWindowHandle(), nullptr);

    Command(menu::kCmdAbout);
    EXPECT_TRUE(zentaro::AboutWindowHandle()) << "opens again after closing";
}

TEST_F(MainCommands, AboutPictureIsPaintedAtTheOrigin) {
    win::AutoBitmap picture(static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(20), IMAGE_BITMAP, 0, 0, 0)));
    ASSERT_TRUE(picture);
    win::WindowDC screen(nullptr);
    win::AutoMemDC dc(CreateCompatibleDC(screen.get())), ref(CreateCompatibleDC(screen.get()));
    win::AutoBitmap surface(CreateCompatibleBitmap(screen.get(), 300, 180));
    win::ScopedSelect s1(dc.get(), surface.get());
    zentaro::PaintAbout(dc.get(), picture.get());
    win::ScopedSelect s2(ref.get(), picture.get());  // a bitmap is selected in one DC at a time
    int differing = 0;
    std::vector<COLORREF> colours;
    for (int y = 0; y < 180; y += 7) {
        for (int x = 0; x < 300; x += 7) {
            const COLORREF c = GetPixel(dc.get(), x, y);
            differing += c != GetPixel(ref.get(), x, y);
            if (colours.size() < 8 && std::find(colours.begin(), colours.end(), c) == colours.end()) {
                colours.push_back(c);
            }
        }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GE(colours.size(), 4u) << "a picture, not a blank";
}

TEST_F(MainCommands, ExitClosesTheWindowWithItsAboutWindowAndEndsTheProgram) {
    Command(menu::kCmdAbout);
    Command(menu::kCmdMinimise);
    Command(menu::kCmdExit);
    EXPECT_FALSE(IsWindow(main_));
    EXPECT_EQ(zentaro::AboutWindowHandle(), nullptr);
    EXPECT_EQ(commands_.menu, nullptr);
    EXPECT_FALSE(commands_.tray.Shown());
    EXPECT_EQ(Count(NIM_DELETE), 1);
    ASSERT_EQ(exits_.size(), 1u);
    EXPECT_EQ(exits_[0], 0u);
}

// A clock restored from outside (a second start shows the running clock normally) offers
// "Minimized(&M)" again, not a Resume that does nothing.
TEST_F(MainCommands, RestoringFromOutsideRelabelsTheFirstItem) {
    Command(menu::kCmdMinimise);
    ShowWindow(main_, SW_SHOWNORMAL);
    ExpectShownAfterOneCycle("ShowWindow from outside");
}

}  // namespace
