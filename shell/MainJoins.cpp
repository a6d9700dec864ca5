#include "shell/MainJoins.h"

#include "face/Skins.h"
#include "toolkit/MainTooltip.h"

// Each body below is filled by the subsystem that owns it (see MainJoins.h).

void JoinRandomSkinChoice(HWND, const char* valueName) { skins::ApplyRandomSkinChoice(valueName); }

void JoinBuildPopupMenu(HWND) {}

void JoinLoadAlarms() {}

void JoinCreateTooltip(HWND main) { CreateMainTooltip(main); }

void JoinCheckAlarms() {}

bool JoinMenuDrawItem(LPARAM) { return false; }

bool JoinMenuMeasureItem(HWND, LPARAM) { return false; }

bool JoinMainMessage(HWND, UINT, WPARAM, LPARAM, LRESULT*) { return false; }

void JoinReleaseOnClose() {
    ReleaseMainTooltip();  // toolkit: the date tool tip
}

void OpenOptionsDialog(HWND) {}

void OpenBreakSettings(HWND) {}

void OpenCalendarTool(HWND) {}

void OpenAlarmList(HWND) {}

void OpenSystemTimeTool(HWND) {}
