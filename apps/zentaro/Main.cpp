#include "apps/zentaro/Main.h"

#include <windows.h>

#include "alarms/AlarmActions.h"
#include "apps/zentaro/MainWindow.h"
#include "common/SystemVersion.h"

int Main() {
    // One clock per user: a second start brings the running clock into view and ends.
    if (HWND running = FindWindowA(kMainClassName, kMainTitle)) {
        ShowWindow(running, SW_SHOWNORMAL);
        return 0;
    }
    alarms::InstallAlarmActions(MainWindowHandle);  // due alarm items run their actions, owned by the clock
    RunMainWindow(kMainClassName, win::IsLayeredCapable() ? WS_EX_LAYERED : 0, "");
    return 0;
}
