// The notification-area icon that stands for the clock while it is minimised.
#pragma once
#include <windows.h>

// Notification message the icon sends to the main window (mouse actions on the icon in lParam).
inline constexpr UINT kTrayMessage = WM_USER + 108;
// The tip while no alarm is due; else it names the next one ("Next alarm: Tue 07:30").
inline constexpr char kTrayTip[] = "Zentaro V2.01";

// Adds the icon for the main window (program icon 1, loaded anew). Does nothing while the
// icon is already shown.
void AddTrayIcon(HWND main);
// Destroys the icon image and deletes the icon; harmless when none is shown.
void RemoveTrayIcon();
// Adds the shown icon again after the shell restarted and forgot it.
void RestoreTrayIcon();
bool TrayIconShown();
// Brings the shown icon's tip up to date with the next alarm (called on every tick).
void RefreshTrayTip();
