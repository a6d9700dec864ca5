// The clock without a mouse and with a screen reader: the icon's keyboard notifications, the
// face's context key, where the focus goes, the face's annotations and high contrast.
#include "apps/zentaro/MainCommands.h"
#include "apps/zentaro/MainWindow.h"
#include "apps/zentaro/MenuLayout.h"
#include "apps/zentaro/PopupMenu.h"
#include "apps/zentaro/TrayIcon.h"
#include "common/SystemSeams.h"
#include "common/WindowState.h"
#include "tools/DateTip.h"
#include "tests/win/support/TestSupport.h"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <oleacc.h>

#include <string>
#include <vector>

namespace {

using testing_support::PumpPending;

constexpr char kHostClass[] = "KeyboardAccessHost";

LRESULT CALLBACK HostProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_NCDESTROY) win::DetachWindowState(w);
    zentaro::ClockCommands* commands = win::WindowState<zentaro::ClockCommands>(w);
    if (!commands) return DefWindowProcA(w, m, wp, lp);
    LRESULT result = 0;
    if (zentaro::HandleMainCommandMessage(w, *commands, m, wp, lp, &result)) return result;
    if (m == WM_MEASUREITEM && zentaro::MeasureMainMenuItem(w, *commands, lp)) return TRUE;
    if (m == WM_DRAWITEM && zentaro::DrawMainMenuItem(*commands, lp)) return TRUE;
    return DefWindowProcA(w, m, wp, lp);
}

// Every popup menu this thread opens while a row runs: where it opened and whether its first
// item was selected once the menu loop had taken its first input. The menu is then closed.
struct MenuWatch {
    int opened = 0;
    bool firstSelected = false;
    POINT at{};
    int ticks = 0;
};
MenuWatch g_watch;
HMENU g_menu = nullptr;

void CALLBACK WatchMenus(HWND, UINT, UINT_PTR, DWORD) {
    for (HWND popup = FindWindowExA(nullptr, nullptr, "#32768", nullptr); popup;
         popup = FindWindowExA(nullptr, popup, "#32768", nullptr)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(popup, &pid);
        if (pid != GetCurrentProcessId() || !IsWindowVisible(popup)) continue;
        if (++g_watch.ticks < 3) return;  // the loop's first input is taken by then
        ++g_watch.opened;
        g_watch.firstSelected = (GetMenuState(g_menu, 0, MF_BYPOSITION) & MF_HILITE) != 0;
        RECT r{};
        GetWindowRect(popup, &r);
        g_watch.at = {r.left, r.top};
        g_watch.ticks = 0;
        EndMenu();
        return;
    }
}

struct KeyboardCall {
    DWORD message;
    DWORD size;
    HWND owner;
    UINT id;
    UINT version;
};

class KeyboardAccess : public ::testing::Test {
protected:
    void SetUp() override {
        seams_->notifyIcon = [](DWORD, NOTIFYICONDATAA*) { return TRUE; };
        seams_->notifyIconKeyboard = [this](DWORD msg, NOTIFYICONDATAA* d) {
            keyboard_.push_back({msg, d->cbSize, d->hWnd, d->uID, d->uVersion});
            return shellAnswers_ ? TRUE : FALSE;
        };
        WNDCLASSA wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = HostProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kHostClass;
        RegisterClassA(&wc);
        main_ = CreateWindowExA(WS_EX_TOOLWINDOW, kHostClass, "Zentaro", WS_POPUP | WS_SYSMENU, 140, 120, 120, 38,
                                nullptr, nullptr, wc.hInstance, nullptr);
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
    int Count(DWORD message) const {
        int n = 0;
        for (const KeyboardCall& c : keyboard_) n += c.message == message;
        return n;
    }
    // Posts the icon's notifications as the shell does and lets them all be handled; 0 marks
    // a pause (the user's next action).
    void Notify(const std::vector<UINT>& events) {
        for (UINT e : events) {
            if (e) PostMessageA(main_, zentaro::kTrayMessage, 0, e);
            else PumpPending(), PumpPending();
        }
        PumpPending();
        PumpPending();
    }

    sys::ScopedSeams seams_;
    HWND main_ = nullptr;
    zentaro::ClockCommands commands_;
    std::vector<KeyboardCall> keyboard_;
    bool shellAnswers_ = true;
    UINT_PTR timer_ = 0;
};

TEST_F(KeyboardAccess, IconNotificationsDoOneThingEachWithAndWithoutVersionThree) {
    struct Row {
        const char* what;
        bool shellAnswers;  // the shell accepts NIM_SETVERSION
        std::vector<UINT> events;
        bool restored;
        int menus;
        bool firstSelected;
    };
    const Row rows[] = {
        {"Space or Enter on the icon", true, {NIN_KEYSELECT}, true, 0, false},
        {"Enter on the icon chosen with the mouse", true, {NIN_SELECT}, true, 0, false},
        {"menu key or Shift+F10 on the icon", true, {WM_CONTEXTMENU}, false, 1, true},
        {"right click and its follower", true, {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_CONTEXTMENU}, false, 1, false},
        {"one left click and its follower", true, {WM_LBUTTONDOWN, WM_LBUTTONUP, NIN_SELECT}, false, 0, false},
        {"double click and its followers", true,
         {WM_LBUTTONDOWN, WM_LBUTTONUP, NIN_SELECT, WM_LBUTTONDBLCLK, WM_LBUTTONUP, NIN_SELECT}, true, 0, false},
        {"right click, then the menu key", true,
         {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_CONTEXTMENU, 0, WM_CONTEXTMENU}, false, 2, true},
        {"older shell: right click", false, {WM_RBUTTONDOWN, WM_RBUTTONUP}, false, 1, false},
        {"older shell: double click", false, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}, true, 0,
         false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        shellAnswers_ = row.shellAnswers;
        SendMessageA(main_, WM_COMMAND, menu::kCmdMinimise, 0);
        ASSERT_TRUE(commands_.tray.Shown());
        EXPECT_EQ(commands_.tray.AnswersKeyboard(), row.shellAnswers);
        g_watch = {};
        Notify(row.events);
        EXPECT_EQ(IsWindowVisible(main_) != FALSE, row.restored);
        EXPECT_EQ(g_watch.opened, row.menus);
        if (row.menus) {
            EXPECT_EQ(g_watch.firstSelected, row.firstSelected);
        }
        if (!row.restored) SendMessageA(main_, WM_COMMAND, menu::kCmdResume, 0);
        PumpPending();
    }
}

TEST_F(KeyboardAccess, IconAsksForVersionThreeAfterEveryAddAndHandsTheFocusBack) {
    SetForegroundWindow(main_);
    SendMessageA(main_, WM_COMMAND, menu::kCmdMinimise, 0);
    ASSERT_GE(keyboard_.size(), 1u);
    const KeyboardCall& version = keyboard_[0];
    EXPECT_EQ(version.message, static_cast<DWORD>(NIM_SETVERSION));
    EXPECT_EQ(version.size, static_cast<DWORD>(NOTIFYICONDATAA_V2_SIZE));
    EXPECT_EQ(version.owner, main_);
    EXPECT_EQ(version.id, 0u);
    EXPECT_EQ(version.version, static_cast<UINT>(NOTIFYICON_VERSION));
    // The face was the foreground window: minimised, the focus goes to the notification area.
    EXPECT_EQ(Count(NIM_SETFOCUS), 1);

    // The shell restarted: the icon is added again and the version asked for again.
    SendMessageA(main_, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_EQ(Count(NIM_SETVERSION), 2);

    // The icon's menu closed from the keyboard without a command: focus back to the icon.
    g_watch = {};
    Notify({WM_CONTEXTMENU});
    EXPECT_EQ(g_watch.opened, 1);
    EXPECT_EQ(Count(NIM_SETFOCUS), 2);
}

TEST_F(KeyboardAccess, FocusNeverStaysOnTheHiddenFace) {
    for (const bool shellAnswers : {true, false}) {
        SCOPED_TRACE(shellAnswers ? "shell takes the focus" : "shell cannot take the focus");
        shellAnswers_ = shellAnswers;
        SetForegroundWindow(main_);
        SendMessageA(main_, WM_COMMAND, menu::kCmdMinimise, 0);
        PumpPending();
        EXPECT_FALSE(IsWindowVisible(main_));
        if (!shellAnswers) {
            EXPECT_NE(GetForegroundWindow(), main_);
            EXPECT_NE(GetFocus(), main_);
        }
        SendMessageA(main_, WM_COMMAND, menu::kCmdResume, 0);
    }
}

TEST_F(KeyboardAccess, ContextKeyOnTheFaceOpensTheMenuAtTheFaceAndTheMouseRequestIsLeftAlone) {
    struct Row {
        const char* what;
        LPARAM where;
        int menus;
    };
    const Row rows[] = {
        {"Shift+F10 or the menu key (no position)", -1, 1},
        {"a mouse's context request (the release already opened it)", MAKELPARAM(150, 130), 0},
    };
    RECT face{};
    GetWindowRect(main_, &face);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        g_watch = {};
        SetForegroundWindow(main_);
        PostMessageA(main_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(main_), row.where);
        PumpPending();
        PumpPending();
        EXPECT_EQ(g_watch.opened, row.menus);
        if (row.menus) {
            EXPECT_TRUE(g_watch.firstSelected);
            EXPECT_EQ(g_watch.at.x, face.left);
            EXPECT_EQ(g_watch.at.y, face.top);
        }
    }
}

TEST_F(KeyboardAccess, EveryMenuItemKeepsItsCaptionString) {
    const HMENU top = commands_.menu->Handle();
    std::vector<HMENU> menus{top, GetSubMenu(top, static_cast<int>(menu::kHelpPosition))};
    int texts = 0;
    for (HMENU m : menus) {
        for (int i = 0; i < GetMenuItemCount(m); ++i) {
            char text[64] = {};
            MENUITEMINFOA mi{};
            mi.cbSize = sizeof mi;
            mi.fMask = MIIM_STRING | MIIM_FTYPE;
            mi.dwTypeData = text;
            mi.cch = sizeof text - 1;
            ASSERT_TRUE(GetMenuItemInfoA(m, static_cast<UINT>(i), TRUE, &mi));
            EXPECT_TRUE(mi.fType & MFT_OWNERDRAW) << i;
            if (mi.fType & MFT_SEPARATOR) continue;
            EXPECT_GT(mi.cch, 0u) << "item " << i << " has no string for a reader";
            texts += text[0] != '\0';
        }
    }
    EXPECT_EQ(texts, 12);  // 10 items of the popup, 2 of the Help submenu
    char first[64] = {};
    GetMenuStringA(top, 0, first, sizeof first, MF_BYPOSITION);
    EXPECT_STREQ(first, "Minimized(&M)");
}

// ---- the real clock window: annotations and high contrast ----

struct Annotation {
    HWND window;
    sys::AccessibleText which;
    std::string text;
};

class ClockAccess : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::ClearUserRegistry();
        seams_->getLocalTime = [this](SYSTEMTIME& t) { t = now_; };
        seams_->annotate = [this](HWND w, sys::AccessibleText which, const std::string& text) {
            annotations_.push_back({w, which, text});
            return serviceAvailable_;
        };
        seams_->highContrast = [this] { return highContrast_; };
        seams_->notifyIcon = [](DWORD, NOTIFYICONDATAA*) { return TRUE; };
        seams_->notifyIconKeyboard = [](DWORD, NOTIFYICONDATAA*) { return FALSE; };
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
    void Tick(WORD h, WORD m, WORD s) {
        now_ = testing_support::LocalTime(2026, 12, 9, h, m, s);
        SendMessageA(wnd_, WM_TIMER, zentaro::kTickTimerId, 0);
    }
    std::vector<std::string> Values() const {
        std::vector<std::string> v;
        for (const Annotation& a : annotations_)
            if (a.which == sys::AccessibleText::value) v.push_back(a.text);
        return v;
    }

    sys::ScopedSeams seams_;
    HWND wnd_ = nullptr;
    SYSTEMTIME now_ = testing_support::LocalTime(2026, 12, 9, 7, 30, 58);
    std::vector<Annotation> annotations_;
    bool serviceAvailable_ = true;
    bool highContrast_ = false;
};

TEST_F(ClockAccess, FaceIsNamedWhenAReaderAsksAndItsValueChangesAtTheMinuteOnly) {
    Tick(7, 30, 59);
    EXPECT_TRUE(annotations_.empty()) << "no reader yet: the service is not touched";
    SendMessageA(wnd_, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
    ASSERT_GE(annotations_.size(), 2u);
    EXPECT_EQ(annotations_[0].window, wnd_);
    EXPECT_EQ(annotations_[0].which, sys::AccessibleText::name);
    EXPECT_EQ(annotations_[0].text, "Zentaro");
    // Seconds pass within the minute, the minute turns, a skin is loaded anew mid-minute.
    for (WORD s : {0, 1, 30, 59}) Tick(7, 31, s);
    zentaro::ReloadClockFace();
    Tick(7, 31, 59);
    Tick(7, 32, 0);
    SendMessageA(wnd_, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));  // asked again: nothing new
    const std::vector<std::string> expected{"07:30, Wednesday 9 December 2026", "07:31, Wednesday 9 December 2026",
                                            "07:32, Wednesday 9 December 2026"};
    EXPECT_EQ(Values(), expected);
}

TEST_F(ClockAccess, WithoutTheAnnotationServiceTheFaceAsksOnceAndNothingBreaks) {
    serviceAvailable_ = false;
    SendMessageA(wnd_, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
    SendMessageA(wnd_, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
    Tick(7, 31, 0);
    ASSERT_EQ(annotations_.size(), 1u);
    EXPECT_EQ(annotations_[0].which, sys::AccessibleText::name);
    EXPECT_TRUE(IsWindow(wnd_));
}

TEST_F(ClockAccess, HighContrastMakesTheFaceOpaqueAtOnceAndGivesTheStoredOpacityBack) {
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(wnd_, nullptr, &alpha, &flags));
    const BYTE stored = alpha;
    ASSERT_LT(stored, 255) << "the default face is translucent";
    struct Row {
        bool on;
        BYTE expected;
    };
    for (const Row& row : {Row{true, 255}, Row{false, stored}}) {
        highContrast_ = row.on;
        SendMessageA(wnd_, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        ASSERT_TRUE(GetLayeredWindowAttributes(wnd_, nullptr, &alpha, &flags));
        EXPECT_EQ(alpha, row.expected) << (row.on ? "on" : "off");
    }
}


TEST_F(ClockAccess, DateTipKeepsTheSystemTipColours) {
    auto tip = tools::CreateDateTip(wnd_);
    ASSERT_TRUE(tip && tip->hwnd());
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(tip->hwnd(), TTM_GETTIPBKCOLOR, 0, 0)), GetSysColor(COLOR_INFOBK));
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(tip->hwnd(), TTM_GETTIPTEXTCOLOR, 0, 0)), GetSysColor(COLOR_INFOTEXT));
}

// Through the platform itself: a reader asks oleacc for the face. Where the annotation service
// answers (Windows 7 and later) the value is the spoken time; this Wine has none, and the face
// still reads as "Zentaro" with no error.
TEST_F(ClockAccess, ReaderReadsTheFaceThroughOleacc) {
    seams_->annotate = sys::RealSeams().annotate;
    using FromWindow = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
    HMODULE oleacc = LoadLibraryA("oleacc.dll");
    ASSERT_TRUE(oleacc);
    auto fromWindow = reinterpret_cast<FromWindow>(
        reinterpret_cast<void*>(GetProcAddress(oleacc, "AccessibleObjectFromWindow")));
    ASSERT_TRUE(fromWindow);
    IAccessible* face = nullptr;
    ASSERT_EQ(fromWindow(wnd_, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible, reinterpret_cast<void**>(&face)), S_OK);
    Tick(7, 31, 0);
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr, value = nullptr;
    EXPECT_EQ(face->get_accName(self, &name), S_OK);
    EXPECT_STREQ(name, L"Zentaro");
    const bool serviceAnswers = sys::RealSeams().annotate(wnd_, sys::AccessibleText::name, "Zentaro");
    if (face->get_accValue(self, &value) == S_OK || serviceAnswers) {
        EXPECT_STREQ(value, L"07:31, Wednesday 9 December 2026");
    }
    SysFreeString(name);
    SysFreeString(value);
    face->Release();
    EXPECT_TRUE(IsWindow(wnd_));
}

}  // namespace
