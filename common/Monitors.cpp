#include "common/Monitors.h"

namespace monitors {

namespace {

// The list a test has put in force, if any. Windows read it on their own thread only.
std::optional<std::vector<Monitor>>& ListInForce() {
    static std::optional<std::vector<Monitor>> list;
    return list;
}

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info)) {
        reinterpret_cast<std::vector<Monitor>*>(data)->push_back(
            {FromRect(info.rcMonitor), FromRect(info.rcWork), (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
    }
    return TRUE;
}

}  // namespace

std::vector<Monitor> SystemMonitors() {
    std::vector<Monitor> list;
    EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&list));
    if (list.empty()) {
        const Rect screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        list.push_back({screen, screen, true});
    }
    return list;
}

std::vector<Monitor> DisplayMonitors() {
    const std::optional<std::vector<Monitor>>& forced = ListInForce();
    return forced && !forced->empty() ? *forced : SystemMonitors();
}

ScopedMonitors::ScopedMonitors(std::vector<Monitor> list) : saved_(ListInForce()) { ListInForce() = std::move(list); }

ScopedMonitors::~ScopedMonitors() { ListInForce() = saved_; }

void ScopedMonitors::Set(std::vector<Monitor> list) { ListInForce() = std::move(list); }

Monitor MonitorOf(HWND window) {
    const std::vector<Monitor> list = DisplayMonitors();
    if (!window) return list[*PrimaryIndex(list)];
    RECT r{};
    GetWindowRect(window, &r);
    // A minimised window stands far off every monitor; its place when restored tells.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (IsIconic(window) && GetWindowPlacement(window, &placement)) r = placement.rcNormalPosition;
    return list[*NearestMonitor(FromRect(r), list)];
}

}  // namespace monitors
