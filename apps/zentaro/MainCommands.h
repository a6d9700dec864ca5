// The main clock window's reactions to the user: dragging the face, minimising to the
// notification area and restoring, the popup menu's commands and the icon's mouse messages.
#pragma once
#include <windows.h>

class PopupMenu;

// The product web page opened by "Website(&H)".
inline constexpr char kWebPageAddress[] = "https://zentaro.example/";
inline constexpr char kHelpFileName[] = "help.hlp";
inline constexpr char kBiorhythmProgram[] = "vitaro.exe";
// Broadcast by the shell when the taskbar (re)starts: the notification area is empty then.
inline constexpr char kTaskbarCreatedMessage[] = "TaskbarCreated";

// Window creation: builds the popup menu and makes it owner-drawn; remembers the main window.
void CreateMainMenu(HWND main);
// A user command, mouse or notification message of the main window. True when handled;
// *result then holds the procedure's result.
bool HandleMainCommandMessage(HWND main, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
bool DrawMainMenuItem(LPARAM lp);
bool MeasureMainMenuItem(HWND main, LPARAM lp);
// Window close: removes the notification-area icon and releases the menu.
void ReleaseMainMenuAndIcon();

// Shows the clock face again (command 0); used before the face is reloaded.
void RestoreMainWindow();
// After the options dialog's Apply: a minimised clock comes back and shows the stored face.
void ShowStoredFace();

// The menu object while the main window lives, else null (for the window's tests).
PopupMenu* MainMenu();
