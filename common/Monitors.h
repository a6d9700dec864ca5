// The monitors of the desktop for the rules of common/MonitorLayout.h, read with
// EnumDisplayMonitors and GetMonitorInfo, and the work area a window is centred in or brought
// back to. A test puts a list of its own in force for a scope (ScopedMonitors), so that the
// windows that follow the monitors can be driven over two or three of them on a system with one.
#pragma once
#include <windows.h>

#include <optional>
#include <vector>

#include "common/MonitorLayout.h"

namespace monitors {

// The monitors in force: the system's, in its order, unless a test has put a list in force. Never
// empty: a system that lists none gives one monitor of the screen's size.
std::vector<Monitor> DisplayMonitors();
// The system's monitors, whatever list is in force.
std::vector<Monitor> SystemMonitors();

// Puts a list of monitors in force for its scope and the previous one back at its end.
class ScopedMonitors {
public:
    explicit ScopedMonitors(std::vector<Monitor> list);
    ScopedMonitors(const ScopedMonitors&) = delete;
    ScopedMonitors& operator=(const ScopedMonitors&) = delete;
    ~ScopedMonitors();
    // Changes the list in force during the scope: a monitor added or removed.
    void Set(std::vector<Monitor> list);

private:
    std::optional<std::vector<Monitor>> saved_;
};

inline Rect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
inline RECT ToRect(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

// The monitor a window is on (the one holding most of it, else the nearest), the primary one
// for a null window.
Monitor MonitorOf(HWND window);
// The work area of that monitor: what a window is centred in.
inline Rect WorkAreaOf(HWND window) { return MonitorOf(window).work; }
// What a dialog or tool window is centred in: the work area of the monitor its owner is on, or
// of its own monitor when it has no owner.
inline Rect OwnerWorkArea(HWND window) {
    HWND owner = window ? GetWindow(window, GW_OWNER) : nullptr;
    return WorkAreaOf(owner ? owner : window);
}

}  // namespace monitors
