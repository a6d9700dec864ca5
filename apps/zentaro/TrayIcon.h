// The notification-area icon that stands for the clock while it is minimised.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include "common/Handles.h"

namespace zentaro {

// Notification message the icon sends to the main window (mouse actions on the icon in lParam).
inline constexpr UINT kTrayMessage = WM_USER + 108;
// The tip while no alarm is due; else it names the next one ("Next alarm: Tue 07:30").
inline constexpr char kTrayTip[] = "Zentaro V2.01";

// The icon of one clock window; part of that window's state. An icon still shown when its
// owner goes is deleted with it.
class TrayIcon {
public:
    TrayIcon() = default;
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;
    ~TrayIcon() { Remove(); }

    // Adds the icon for the main window (program icon 1, loaded anew). Does nothing while the
    // icon is already shown.
    void Add(HWND main);
    // Destroys the icon image and deletes the icon; harmless when none is shown.
    void Remove();
    // Adds the shown icon again after the shell restarted and forgot it.
    void Restore();
    bool Shown() const { return shown_; }
    // Brings the shown icon's tip up to date with the next alarm (called on every tick).
    void RefreshTip();
    // The shell accepted version-3 notifications for the shown icon: the keyboard then reaches
    // it (NIN_KEYSELECT, NIN_SELECT, WM_CONTEXTMENU besides the mouse messages).
    bool AnswersKeyboard() const { return shown_ && keyboard_; }
    // Hands the keyboard focus back to the notification area (after the icon's menu or after
    // minimising); false where the shell cannot take it.
    bool ReturnFocus();
    // Where the icon's menu opens when the keyboard asks for it: the icon's top-left corner
    // where the shell tells it (Windows 7 and later), else the mouse pointer.
    POINT MenuAnchor() const;

private:
    void RequestKeyboardVersion();

    NOTIFYICONDATAA record_{};
    win::AutoIcon icon_;  // the image the shown icon uses
    bool shown_ = false;
    bool keyboard_ = false;
};

}  // namespace zentaro
