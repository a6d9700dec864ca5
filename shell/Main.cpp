#include "shell/Main.h"

#include <windows.h>

#include "alarms/RingActions.h"
#include "shell/MainWindow.h"
#include "shell/PublicFunction.h"

int Main() {
    // One clock per user: a second start brings the running clock into view and ends.
    if (HWND running = FindWindowA(kMainClassName, kMainTitle)) {
        ShowWindow(running, SW_SHOWNORMAL);
        return 0;
    }
    InstallAlarmActions();  // due alarm items run their actions
    RunMainWindow(kMainClassName, IsLayeredCapable() ? WS_EX_LAYERED : 0, "");
    return 0;
}
