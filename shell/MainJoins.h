// The points where other subsystems join the main clock window. Each is owned by the
// subsystem named beside it; until that subsystem is present the call does nothing, and the
// clock runs without it.
#pragma once
#include <windows.h>

// Creation, step 1: random background / glyph strip for "RndBackBmp" / "RndTimeBmp" (face: skins).
void JoinRandomSkinChoice(HWND main, const char* valueName);
// Creation, step 3: build the popup menu and make it owner-drawn (shell: tray and menu).
void JoinBuildPopupMenu(HWND main);
// Creation, step 6: load the alarm items into the scheduler's copy (alarms).
void JoinLoadAlarms();
// Creation, step 7: the date tool tip over the face (toolkit: clsTooltip).
void JoinCreateTooltip(HWND main);
// Tick, step 3: the scheduler's per-tick check (alarms).
void JoinCheckAlarms();
// WM_DRAWITEM / WM_MEASUREITEM of the popup menu; false when the menu does not handle it.
bool JoinMenuDrawItem(LPARAM lp);
bool JoinMenuMeasureItem(HWND main, LPARAM lp);
// The window's user commands, mouse and tray messages (WM_SIZE, WM_COMMAND, WM_LBUTTONDOWN,
// WM_LBUTTONDBLCLK, WM_RBUTTONUP, the tray message, "TaskbarCreated"), offered before the
// default handling (shell: commands). True when handled; *result is then the procedure's result.
bool JoinMainMessage(HWND main, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
// WM_CLOSE, step 2: release the menu object and the tool tip.
void JoinReleaseOnClose();

// Menu command targets (shell: commands) that belong to other subsystems.
void OpenOptionsDialog(HWND main);      // command 3 (face: options dialog)
void OpenBreakSettings(HWND main);      // command 5 (break settings window)
void OpenCalendarTool(HWND main);       // command 7 (toolkit: calendar)
void OpenAlarmList(HWND main);          // command 9 (alarms: list window)
// Closes the alarm list window if it is open; true when it was (alarms: list window). The
// break settings window re-opens the list after adding its item, so the list shows it.
bool CloseAlarmList();
void OpenSystemTimeTool(HWND main);     // command 11 (toolkit: system time tool)
