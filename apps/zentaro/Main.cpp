#include "apps/zentaro/Main.h"

#include <windows.h>

#include "alarms/AlarmActions.h"
#include "apps/zentaro/MainWindow.h"
#include "common/SystemVersion.h"
#include "common/WakeRules.h"

#include <cstring>

namespace zentaro {

int Main() {
    // One clock per user: a second start brings the running clock into view and ends. The wake
    // task's start (see common/Wake.h) only wakes the computer: it leaves the running clock as
    // it is, in the notification area if it is there.
    if (HWND running = FindWindowA(zentaro::kMainClassName, zentaro::kMainTitle)) {
        if (!std::strstr(GetCommandLineA(), wake::kWakeArgument)) ShowWindow(running, SW_SHOWNORMAL);
        return 0;
    }
    alarms::InstallAlarmActions(zentaro::MainWindowHandle);  // due alarm items run their actions, owned by the clock
    zentaro::RunMainWindow(zentaro::kMainClassName, win::IsLayeredCapable() ? WS_EX_LAYERED : 0, "");
    return 0;
}

}  // namespace zentaro
