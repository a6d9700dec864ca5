#include "shell/MainJoins.h"

#include "alarms/AlarmList.h"
#include "alarms/Scheduler.h"
#include "breaksettings/frmBreak.h"
#include "face/DlgOption.h"
#include "face/Skins.h"
#include "shell/MainCommands.h"
#include "toolkit/CalendarTool.h"
#include "toolkit/MainTooltip.h"
#include "toolkit/SystemTimeTool.h"

// Each body below is filled by the subsystem that owns it (see MainJoins.h).

void JoinRandomSkinChoice(HWND, const char* valueName) { skins::ApplyRandomSkinChoice(valueName); }

void JoinBuildPopupMenu(HWND main) { CreateMainMenu(main); }

void JoinLoadAlarms() { alarms::LoadRingItems(); }

void JoinCreateTooltip(HWND main) { CreateMainTooltip(main); }

void JoinCheckAlarms() { alarms::CheckAlarms(); }

bool JoinMenuDrawItem(LPARAM lp) { return DrawMainMenuItem(lp); }

bool JoinMenuMeasureItem(HWND main, LPARAM lp) { return MeasureMainMenuItem(main, lp); }

bool JoinMainMessage(HWND main, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    return HandleMainCommandMessage(main, msg, wp, lp, result);
}

void JoinReleaseOnClose() {
    ReleaseMainMenuAndIcon();  // shell: the popup menu and the notification-area icon
    ReleaseMainTooltip();      // toolkit: the date tool tip
}

void OpenOptionsDialog(HWND main) { options::ShowOptionsDialog(main); }

void OpenBreakSettings(HWND main) { ShowBreakSettings(main, DefaultBreakSettingsConfig()); }

void OpenCalendarTool(HWND main) { ShowCalendarTool(main); }

void OpenAlarmList(HWND main) { alarms::ShowAlarmList(main); }

bool CloseAlarmList() {
    const bool open = alarms::AlarmListWindow() != nullptr;
    alarms::CloseAlarmList();
    return open;
}

void OpenSystemTimeTool(HWND main) { ShowSystemTimeTool(main); }
