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

private:
    NOTIFYICONDATAA record_{};
    win::AutoIcon icon_;  // the image the shown icon uses
    bool shown_ = false;
};

}  // namespace zentaro
