// The clock without a mouse and with a screen reader: the icon's and the face's keyboard
// messages, where the focus goes, the menu's strings, the face's annotations, high contrast.
#include "apps/zentaro/MainCommands.h"
#include "apps/zentaro/MainWindow.h"
#include "apps/zentaro/MenuLayout.h"
#include "common/SystemSeams.h"
#include "common/WindowState.h"
#include "tests/win/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testing_support::PumpPending;

LRESULT CALLBACK HostProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_NCDESTROY) win::DetachWindowState(w);
    LRESULT result = 0;
    if (auto* commands = win::WindowState<zentaro::ClockCommands>(w)) {
        if (zentaro::HandleMainCommandMessage(w, *commands, m, wp, lp, &result)) return result;
        if (m == WM_MEASUREITEM && zentaro::MeasureMainMenuItem(w, *commands, lp)) return TRUE;
        if (m == WM_DRAWITEM && zentaro::DrawMainMenuItem(*commands, lp)) return TRUE;
    }
    return DefWindowProcA(w, m, wp, lp);
}

// The popup menus opened while a row runs: how many, where, and whether the first item was
// selected once the menu loop had taken its first input. Each is closed when seen.
struct MenuWatch {
    int opened = 0, ticks = 0;
    bool firstSelected = false;
    POINT at{};
} g_watch;
HMENU g_menu = nullptr;

void CALLBACK WatchMenus(HWND, UINT, UINT_PTR, DWORD) {
    HWND popup = testing_support::FindOwnWindow("#32768");
    if (!popup || !IsWindowVisible(popup) || ++g_watch.ticks < 3) return;
    ++g_watch.opened;
    g_watch.ticks = 0;
    g_watch.firstSelected = (GetMenuState(g_menu, 0, MF_BYPOSITION) & MF_HILITE) != 0;
    RECT r{};
    GetWindowRect(popup, &r);
    g_watch.at = {r.left, r.top};
    EndMenu();
}

class KeyboardAccess : public ::testing::Test {
protected:
    void SetUp() override {
        seams_->notifyIcon = [](DWORD, NOTIFYICONDATAA*) { return TRUE; };
        seams_->notifyIconKeyboard = [this](DWORD msg, NOTIFYICONDATAA* d) {
            keyboard_.push_back(msg);
            EXPECT_EQ(d->cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V2_SIZE));
            EXPECT_TRUE(d->hWnd == main_ && d->uID == 0 && d->uVersion == NOTIFYICON_VERSION);
            return shellAnswers_ ? TRUE : FALSE;
        };
        WNDCLASSA wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = HostProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "KeyboardAccessHost";
        RegisterClassA(&wc);
        main_ = CreateWindowExA(WS_EX_TOOLWINDOW, wc.lpszClassName, "Zentaro", WS_POPUP | WS_SYSMENU, 140, 120, 120,
                                38, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_TRUE(main_);
        win::AttachBorrowedState(main_, &commands_);
        zentaro::CreateMainMenu(commands_);
        g_menu = commands_.menu->Handle();
        ShowWindow(main_, SW_SHOWNORMAL);
        timer_ = SetTimer(nullptr, 0, 20, WatchMenus);
    }
    void TearDown() override {
        KillTimer(nullptr, timer_);
        commands_.tray.Remove();
        DestroyWindow(main_);
        PumpPending();
    }
    sys::ScopedSeams seams_;
    HWND main_ = nullptr;
    zentaro::ClockCommands commands_;
    std::vector<DWORD> keyboard_;  // the icon's keyboard requests
    bool shellAnswers_ = true;
    UINT_PTR timer_ = 0;
};

TEST_F(KeyboardAccess, EveryKeyboardOrMouseActionOnIconOrFaceDoesOneThing) {
    constexpr LPARAM kFromKeyboard = -1;
    struct Row {
        const char* what;
        bool minimised, shellAnswers;  // the icon is shown; the shell accepts version 3
        std::vector<UINT> events;      // to the icon (the face when not minimised); 0: the user pauses
        bool shown;                    // afterwards
        int menus;
        bool firstSelected;  // on the face: the request comes from the keyboard
    };
    const Row rows[] = {
        {"Space or Enter on the icon", true, true, {NIN_KEYSELECT}, true, 0, false},
        {"Enter on the icon chosen with the mouse", true, true, {NIN_SELECT}, true, 0, false},
        {"menu key on the icon", true, true, {WM_CONTEXTMENU}, false, 1, true},
        {"right click and its follower", true, true, {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_CONTEXTMENU}, false, 1, false},
        {"left click and its follower", true, true, {WM_LBUTTONDOWN, WM_LBUTTONUP, NIN_SELECT}, false, 0, false},
        {"double click and its followers", true, true,
         {WM_LBUTTONDOWN, WM_LBUTTONUP, NIN_SELECT, WM_LBUTTONDBLCLK, WM_LBUTTONUP, NIN_SELECT}, true, 0, false},
        {"right click, later the menu key", true, true, {WM_RBUTTONUP, WM_CONTEXTMENU, 0, WM_CONTEXTMENU}, false, 2, true},
        {"older shell: right click", true, false, {WM_RBUTTONDOWN, WM_RBUTTONUP}, false, 1, false},
        {"older shell: double click", true, false, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK}, true, 0, false},
        {"Shift+F10 or the menu key on the face", false, true, {WM_CONTEXTMENU}, true, 1, true},
        {"a mouse's context request on the face", false, true, {WM_CONTEXTMENU}, true, 0, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        shellAnswers_ = row.shellAnswers;
        if (row.minimised) SendMessageA(main_, WM_COMMAND, menu::kCmdMinimise, 0);
        EXPECT_EQ(commands_.tray.AnswersKeyboard(), row.minimised && row.shellAnswers);
        SetForegroundWindow(main_);
        g_watch = {};
        for (UINT e : row.events) {
            if (!row.minimised) PostMessageA(main_, e, 0, row.firstSelected ? kFromKeyboard : MAKELPARAM(150, 130));
            else if (e) PostMessageA(main_, zentaro::kTrayMessage, 0, e);
            else PumpPending();
        }
        PumpPending();
        PumpPending();
        RECT face{};
        GetWindowRect(main_, &face);
        EXPECT_EQ(IsWindowVisible(main_) != FALSE, row.shown);
        EXPECT_EQ(g_watch.opened, row.menus);
        EXPECT_EQ(g_watch.firstSelected, row.firstSelected);
        EXPECT_TRUE(row.minimised || !row.menus || (g_watch.at.x == face.left && g_watch.at.y == face.top));
        SendMessageA(main_, WM_COMMAND, menu::kCmdResume, 0);
    }
}

TEST_F(KeyboardAccess, IconAsksForVersionThreeAtEveryAddAndFocusNeverStaysOnTheHiddenFace) {
    SetForegroundWindow(main_);
    SendMessageA(main_, WM_COMMAND, menu::kCmdMinimise, 0);
    SendMessageA(main_, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    g_watch = {};
    PostMessageA(main_, zentaro::kTrayMessage, 0, WM_CONTEXTMENU);  // closed without a command
    PumpPending();
    EXPECT_EQ(g_watch.opened, 1);
    // The face had the focus, and so had the menu: both give it to the icon.
    EXPECT_EQ(keyboard_, (std::vector<DWORD>{NIM_SETVERSION, NIM_SETFOCUS, NIM_SETVERSION, NIM_SETFOCUS}));

    // An older shell cannot take the focus: it still leaves the hidden face.
    SendMessageA(main_, WM_COMMAND, menu::kCmdResume, 0);
    shellAnswers_ = false;
    SetForegroundWindow(main_);
    SendMessageA(main_, WM_COMMAND, menu::kCmdMinimise, 0);
    EXPECT_FALSE(IsWindowVisible(main_) || GetForegroundWindow() == main_ || GetFocus() == main_);
}

TEST_F(KeyboardAccess, MenuItemsKeepTheirCaptionsAndSeparatorsStaySeparators) {
    const HMENU top = commands_.menu->Handle();
    int captions = 0;
    for (HMENU m : {top, GetSubMenu(top, static_cast<int>(menu::kHelpPosition))}) {
        for (UINT i = 0; i < static_cast<UINT>(GetMenuItemCount(m)); ++i) {
            char text[64] = {};
            MENUITEMINFOA mi{};
            mi.cbSize = sizeof mi;
            mi.fMask = MIIM_STRING | MIIM_FTYPE;
            mi.dwTypeData = text;
            mi.cch = sizeof text - 1;
            ASSERT_TRUE(GetMenuItemInfoA(m, i, TRUE, &mi));
            EXPECT_TRUE(mi.fType & MFT_OWNERDRAW);
            EXPECT_EQ(text[0] == '\0', (mi.fType & MFT_SEPARATOR) != 0) << "item " << i;
            captions += text[0] != '\0';
        }
    }
    EXPECT_EQ(captions, 12);  // 10 in the popup, 2 in the Help submenu
}

class ClockAccess : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::ClearUserRegistry();
        seams_->getLocalTime = [this](SYSTEMTIME& t) { t = now_; };
        seams_->annotate = [this](HWND w, sys::AccessibleText which, const std::string& text) {
            EXPECT_EQ(w, wnd_);
            annotations_.push_back((which == sys::AccessibleText::name ? "name " : "value ") + text);
            return serviceAvailable_;
        };
        seams_->highContrast = [this] { return highContrast_; };
        ASSERT_TRUE(zentaro::RegisterMainClass(zentaro::kMainClassName));
        wnd_ = zentaro::CreateMainWindow(zentaro::kMainClassName, WS_EX_LAYERED, "");
        ASSERT_TRUE(wnd_);
        zentaro::StartMainWindow(wnd_);
        KillTimer(wnd_, zentaro::kTickTimerId);  // ticks come from the test
        PumpPending();
    }
    void TearDown() override {
        DestroyWindow(wnd_);
        UnregisterClassA(zentaro::kMainClassName, GetModuleHandleA(nullptr));
        PumpPending();
    }
    void Tick(WORD m, WORD s) {
        now_ = testing_support::LocalTime(2026, 12, 9, 7, m, s);
        SendMessageA(wnd_, WM_TIMER, zentaro::kTickTimerId, 0);
    }

    sys::ScopedSeams seams_;
    HWND wnd_ = nullptr;
    SYSTEMTIME now_ = testing_support::LocalTime(2026, 12, 9, 7, 30, 58);
    std::vector<std::string> annotations_;
    bool serviceAvailable_ = true, highContrast_ = false;
};

// This Wine has no annotation service (IAccPropServices::SetHwndPropStr fails), so the
// annotations are read where they are set.
TEST_F(ClockAccess, FaceIsAnnotatedOnceAReaderAsksAndItsValueChangesAtTheMinuteOnly) {
    for (const bool available : {true, false}) {
        SCOPED_TRACE(available ? "service" : "no service");
        serviceAvailable_ = available;
        annotations_.clear();
        Tick(30, 59);
        EXPECT_TRUE(annotations_.empty()) << "no reader yet: the service is not touched";
        SendMessageA(wnd_, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
        for (WORD s : {0, 1, 30, 59}) Tick(31, s);
        zentaro::ReloadClockFace();  // a skin change mid-minute
        Tick(31, 59);
        Tick(32, 0);
        SendMessageA(wnd_, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
        std::vector<std::string> expected{"name Zentaro"};
        for (int m = 30; available && m <= 32; ++m)
            expected.push_back("value 07:" + std::to_string(m) + ", Wednesday 9 December 2026");
        EXPECT_EQ(annotations_, expected);
        TearDown();
        SetUp();
    }
}

TEST_F(ClockAccess, HighContrastMakesTheFaceOpaqueAtOnceAndGivesTheStoredOpacityBack) {
    BYTE alpha = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(wnd_, nullptr, &alpha, nullptr));
    const BYTE stored = alpha;
    ASSERT_LT(stored, 255) << "the default face is translucent";
    for (const bool on : {true, false}) {
        highContrast_ = on;
        SendMessageA(wnd_, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        ASSERT_TRUE(GetLayeredWindowAttributes(wnd_, nullptr, &alpha, nullptr));
        EXPECT_EQ(alpha, on ? 255 : stored);
    }
}

}  // namespace
