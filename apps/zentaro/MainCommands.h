// The main clock window's reactions to the user: dragging the face, minimising to the
// notification area and restoring, the popup menu's commands and the icon's mouse messages.
#pragma once
#include <windows.h>

#include <memory>

#include "apps/zentaro/PopupMenu.h"
#include "apps/zentaro/TrayIcon.h"

namespace zentaro {

// The product web page opened by "Website(&H)".
inline constexpr char kWebPageAddress[] = "https://zentaro.example/";
inline constexpr char kHelpFileName[] = "help.hlp";
inline constexpr char kBiorhythmProgram[] = "vitaro.exe";
// Broadcast by the shell when the taskbar (re)starts: the notification area is empty then.
inline constexpr char kTaskbarCreatedMessage[] = "TaskbarCreated";

// What the commands keep while the clock window lives; part of the clock window's state.
struct ClockCommands {
    std::unique_ptr<zentaro::PopupMenu> menu;  // from window creation to close
    zentaro::TrayIcon tray;
    UINT taskbarCreated = 0;  // registered message; 0 until the menu is built
    // With version-3 notifications the shell follows a mouse release on the icon with a
    // notification of its own (NIN_SELECT after WM_LBUTTONUP, WM_CONTEXTMENU after WM_RBUTTONUP).
    // The mouse message has done its work then: the follower awaited here is passed over once,
    // so one click still does one thing. 0: none awaited.
    UINT trayEcho = 0;
};

// Window creation: builds the popup menu and makes it owner-drawn.
void CreateMainMenu(ClockCommands& commands);
// A user command, mouse or notification message of the main window. True when handled;
// *result then holds the procedure's result.
bool HandleMainCommandMessage(HWND main, ClockCommands& commands, UINT msg, WPARAM wp, LPARAM lp,
                              LRESULT* result);
bool DrawMainMenuItem(const ClockCommands& commands, LPARAM lp);
bool MeasureMainMenuItem(HWND main, const ClockCommands& commands, LPARAM lp);
// Window close: removes the notification-area icon and releases the menu.
void ReleaseMainMenuAndIcon(ClockCommands& commands);

// Shows the clock face again (command 0); used before the face is reloaded.
void RestoreMainWindow();
// After the options dialog's Apply: a minimised clock comes back and shows the stored face.
void ShowStoredFace();

// The clock window's menu while the window lives, else null (for the window's tests).
zentaro::PopupMenu* MainMenu();
// Whether the clock window's notification-area icon is shown; false without a clock window.
bool TrayIconShown();

}  // namespace zentaro
