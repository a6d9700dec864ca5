#include "apps/zentaro/MainCommands.h"

#include <htmlhelp.h>

#include <memory>
#include <string>

#include "apps/zentaro/AboutWindow.h"
#include "alarms/AlarmList.h"
#include "apps/zentaro/MainWindow.h"
#include "breaksettings/BreakSettingsWindow.h"
#include "face/OptionsDialog.h"
#include "tools/CalendarTool.h"
#include "tools/SystemTimeTool.h"
#include "apps/zentaro/MenuLayout.h"
#include "common/ProgramPath.h"
#include "common/SystemSeams.h"

namespace zentaro {

namespace {

void Relabel(ClockCommands& commands, const char* text, UINT id) {
    if (zentaro::PopupMenu* m = commands.menu.get()) m->SetMenuText(menu::kMinimiseResumePosition, text, id);
}

void PopMenu(HWND main, ClockCommands& commands) {
    if (zentaro::PopupMenu* m = commands.menu.get()) m->PopMenu(main);
}

std::string BesideProgram(const char* name) { return paths::ProgramDirectory() + "\\" + name; }

// The keyboard focus never stays on the hidden face: when the face had it, it goes to the
// notification area, where the icon now is; where the shell cannot take it and the system left
// it on the hidden face, to the next shown window.
void LeaveHiddenFace(HWND main, ClockCommands& commands, bool hadFocus) {
    if (hadFocus && commands.tray.ReturnFocus()) return;
    if (GetForegroundWindow() != main && GetFocus() != main) return;
    for (HWND next = GetNextWindow(main, GW_HWNDNEXT); next; next = GetNextWindow(next, GW_HWNDNEXT)) {
        if (IsWindowVisible(next) && IsWindowEnabled(next) && !GetWindow(next, GW_OWNER)) {
            SetForegroundWindow(next);
            return;
        }
    }
}

void Minimise(HWND main, ClockCommands& commands) {
    const bool hadFocus = GetForegroundWindow() == main;
    Relabel(commands, menu::kTextResume, menu::kCmdResume);
    // Minimising a shown window produces WM_SIZE (minimised), which comes back here once; on
    // an already minimised window it changes nothing, so the chain ends.
    ShowWindow(main, SW_HIDE);
    ShowWindow(main, SW_MINIMIZE);
    ShowWindow(main, SW_HIDE);
    LeaveHiddenFace(main, commands, hadFocus);
}

void Resume(HWND main, ClockCommands& commands) {
    Relabel(commands, menu::kTextMinimise, menu::kCmdMinimise);
    ShowWindow(main, SW_SHOWNORMAL);  // WM_SIZE (restored) removes the icon
}

void Exit(HWND main) {
    // The close handling removes the icon, stores the position and destroys the window with
    // the windows it owns; then the program ends at once, even inside a nested dialog loop.
    SendMessageA(main, WM_CLOSE, 0, 0);
    sys::ExitProgram(0);
}

// A modal dialog of the clock disables the clock window, but the icon's menu still works:
// a command for a further modal dialog then brings the open one forward instead, so only
// one runs at a time. True when such a dialog is open.
struct OwnedSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindEnabledOwned(HWND w, LPARAM p) {
    auto* s = reinterpret_cast<OwnedSearch*>(p);
    if (GetWindow(w, GW_OWNER) != s->owner || !IsWindowVisible(w) || !IsWindowEnabled(w)) return TRUE;
    s->found = w;
    return FALSE;
}

bool ModalDialogOpen(HWND main) {
    if (IsWindowEnabled(main)) return false;
    OwnedSearch search{main, nullptr};
    EnumThreadWindows(GetWindowThreadProcessId(main, nullptr), FindEnabledOwned,
                      reinterpret_cast<LPARAM>(&search));
    if (search.found) SetForegroundWindow(search.found);
    return true;
}

void RunCommand(HWND main, ClockCommands& commands, WPARAM id) {
    switch (id) {
    case menu::kCmdResume: Resume(main, commands); break;
    case menu::kCmdMinimise: Minimise(main, commands); break;
    case menu::kCmdOptions:
        if (!ModalDialogOpen(main)) options::ShowOptionsDialog(main, ShowStoredFace);
        break;
    case menu::kCmdBreakSettings: breaksettings::ShowBreakSettings(main, breaksettings::DefaultBreakSettingsConfig()); break;
    case menu::kCmdBiorhythm:
        // Shown normally: a program started hidden would keep its first window hidden.
        sys::StartProgram(nullptr, "open", BesideProgram(kBiorhythmProgram).c_str(), nullptr,
                          nullptr, SW_SHOWNORMAL);
        break;
    case menu::kCmdCalendar:
        if (!ModalDialogOpen(main)) tools::ShowCalendarTool(main);
        break;
    case menu::kCmdAlarmSettings: alarms::ShowAlarmList(main); break;
    case menu::kCmdTimeSetting:
        if (!ModalDialogOpen(main)) tools::ShowSystemTimeTool(main);
        break;
    case menu::kCmdAbout: zentaro::ShowAboutWindow(main); break;
    case menu::kCmdExit: Exit(main); break;
    case menu::kCmdHelpContent:
        sys::OpenHelp(main, BesideProgram(kHelpFileName).c_str(), HH_DISPLAY_TOPIC, 0);
        break;
    case menu::kCmdWebsite:
        sys::StartProgram(nullptr, "open", kWebPageAddress, nullptr, nullptr, SW_SHOWNORMAL);
        break;
    default: break;  // separators and the Help item
    }
}

void StartMove(HWND main) {
    UpdateWindow(main);
    ReleaseCapture();
    // The system's move loop drags the window until the button is released.
    const DWORD at = GetMessagePos();
    SendMessageA(main, WM_NCLBUTTONDOWN, HTCAPTION, static_cast<LPARAM>(at));
}

void OnSize(HWND main, ClockCommands& commands, WPARAM kind) {
    if (kind == SIZE_MINIMIZED) {
        ShowWindow(main, SW_HIDE);
        commands.tray.Add(main);
        SendMessageA(main, WM_COMMAND, menu::kCmdMinimise, 0);
    } else {
        commands.tray.Remove();
        // Shown again by any means (also a second start of the program): offer Minimise.
        Relabel(commands, menu::kTextMinimise, menu::kCmdMinimise);
    }
}

// The icon's menu opened from the keyboard: at the icon, first item selected; closed without a
// command, the focus goes back to the notification area.
void PopTrayMenuFromKeyboard(HWND main, ClockCommands& commands) {
    zentaro::PopupMenu* m = commands.menu.get();
    if (!m) return;
    bool chosen = false;
    m->PopMenuAt(main, commands.tray.MenuAnchor(), true, &chosen);
    if (!chosen) commands.tray.ReturnFocus();
}

// lParam carries the event: a mouse message, or with version-3 notifications NIN_SELECT,
// NIN_KEYSELECT or WM_CONTEXTMENU.
void OnTrayMessage(HWND main, ClockCommands& commands, LPARAM event) {
    const UINT what = LOWORD(event);
    if (what != 0 && what == commands.trayEcho) {
        commands.trayEcho = 0;
        return;
    }
    switch (what) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: commands.trayEcho = 0; break;
    case WM_LBUTTONUP:
        if (commands.tray.AnswersKeyboard()) commands.trayEcho = NIN_SELECT;
        break;
    case WM_LBUTTONDBLCLK: SendMessageA(main, WM_COMMAND, menu::kCmdResume, 0); break;
    case WM_RBUTTONUP:
        // Set before the menu opens: the follower arrives while its loop runs.
        if (commands.tray.AnswersKeyboard()) commands.trayEcho = WM_CONTEXTMENU;
        PopMenu(main, commands);
        break;
    case NIN_SELECT:
    case NIN_KEYSELECT:
        // Enter or Space on the icon: what a double click does, and the face comes forward.
        SendMessageA(main, WM_COMMAND, menu::kCmdResume, 0);
        SetForegroundWindow(main);
        break;
    case WM_CONTEXTMENU: PopTrayMenuFromKeyboard(main, commands); break;
    default: break;
    }
}

// Shift+F10 or the menu key on the face (lParam -1): the menu opens at the face's top-left
// corner with its first item selected. A mouse's context request is left alone: the right
// button's release already opened the menu.
void OnFaceContextMenu(HWND main, ClockCommands& commands, LPARAM lp) {
    if (lp != -1) return;
    zentaro::PopupMenu* m = commands.menu.get();
    if (!m) return;
    RECT face{};
    GetWindowRect(main, &face);
    m->PopMenuAt(main, {face.left, face.top}, true);
}

}  // namespace

void CreateMainMenu(ClockCommands& commands) {
    commands.taskbarCreated = RegisterWindowMessageA(kTaskbarCreatedMessage);
    commands.menu = std::make_unique<zentaro::PopupMenu>();
    zentaro::BuildClockMenu(*commands.menu);  // a menu that fails to build stays partly usable or empty
}

bool HandleMainCommandMessage(HWND main, ClockCommands& commands, UINT msg, WPARAM wp, LPARAM lp,
                              LRESULT* result) {
    *result = 0;
    switch (msg) {
    case WM_COMMAND: RunCommand(main, commands, wp); return true;
    case WM_LBUTTONDOWN: StartMove(main); return true;
    case WM_LBUTTONDBLCLK:
        ShowWindow(main, SW_HIDE);
        ShowWindow(main, SW_SHOWMINIMIZED);  // WM_SIZE (minimised) does the rest
        return true;
    case WM_RBUTTONUP: PopMenu(main, commands); return true;
    case zentaro::kTrayMessage: OnTrayMessage(main, commands, lp); return true;
    case WM_CONTEXTMENU: OnFaceContextMenu(main, commands, lp); return true;
    case WM_SIZE: OnSize(main, commands, wp); return false;  // the default handling follows
    default: break;
    }
    if (msg != 0 && msg == commands.taskbarCreated) {
        commands.tray.Restore();
        return true;
    }
    return false;
}

bool DrawMainMenuItem(const ClockCommands& commands, LPARAM lp) {
    zentaro::PopupMenu* m = commands.menu.get();
    return m && m->OnDrawItem(lp) == 0;
}

bool MeasureMainMenuItem(HWND main, const ClockCommands& commands, LPARAM lp) {
    zentaro::PopupMenu* m = commands.menu.get();
    return m && m->OnMeasureItem(main, lp) == 0;
}

void ReleaseMainMenuAndIcon(ClockCommands& commands) {
    commands.tray.Remove();
    commands.menu.reset();
}

void RestoreMainWindow() {
    if (HWND main = zentaro::MainWindowHandle()) SendMessageA(main, WM_COMMAND, menu::kCmdResume, 0);
}

zentaro::PopupMenu* MainMenu() {
    ClockCommands* commands = zentaro::MainWindowCommands();
    return commands ? commands->menu.get() : nullptr;
}

bool TrayIconShown() {
    const ClockCommands* commands = zentaro::MainWindowCommands();
    return commands && commands->tray.Shown();
}

void ShowStoredFace() {
    if (HWND main = zentaro::MainWindowHandle(); main && IsIconic(main)) RestoreMainWindow();
    zentaro::ReloadClockFace();
}

}  // namespace zentaro
