#include "apps/zentaro/Main.h"

#include <windows.h>

#include "alarms/AlarmActions.h"
#include "apps/zentaro/MainWindow.h"
#include "common/SystemVersion.h"

namespace zentaro {

int Main() {
    // One clock per user: a second start brings the running clock into view and ends.
    if (HWND running = FindWindowA(zentaro::kMainClassName, zentaro::kMainTitle)) {
        ShowWindow(running, SW_SHOWNORMAL);
        return 0;
    }
    alarms::InstallAlarmActions(zentaro::MainWindowHandle);  // due alarm items run their actions, owned by the clock
    zentaro::RunMainWindow(zentaro::kMainClassName, win::IsLayeredCapable() ? WS_EX_LAYERED : 0, "");
    return 0;
}

}  // namespace zentaro
