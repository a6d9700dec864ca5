#include "common/SystemSeams.h"

#include "common/Dpi.h"
#include "common/WakeSystem.h"

#include <mmsystem.h>
#include <shellapi.h>

// winmm exports mciExecute; MinGW's headers do not declare it.
extern "C" BOOL WINAPI mciExecute(LPCSTR command);

namespace sys {
namespace {

// hhctrl.ocx is loaded on first use: most runs never open help.
HWND RealHtmlHelp(HWND caller, const char* file, UINT command, DWORD_PTR data) {
    using HtmlHelpFn = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
    static HMODULE module = LoadLibraryA("hhctrl.ocx");  // kept for the process's life
    if (!module) return nullptr;
    auto fn = reinterpret_cast<HtmlHelpFn>(reinterpret_cast<void*>(GetProcAddress(module, "HtmlHelpA")));
    return fn ? fn(caller, file, command, data) : nullptr;
}

// SHQueryUserNotificationState is looked up at run time: a system without it, or a call that
// fails, gives 0, which no caller takes for busy.
int RealNotificationState() {
    using QueryFn = HRESULT(WINAPI*)(int*);  // the state is a QUERY_USER_NOTIFICATION_STATE
    static const QueryFn query = [] {
        HMODULE shell = LoadLibraryA("shell32.dll");  // kept for the process's life
        return shell ? reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
                           GetProcAddress(shell, "SHQueryUserNotificationState")))
                     : nullptr;
    }();
    int state = 0;
    return query && SUCCEEDED(query(&state)) ? state : 0;
}

ULONGLONG RealLastInputAge() {
    LASTINPUTINFO last{};
    last.cbSize = sizeof(last);
    if (!GetLastInputInfo(&last)) return 0;
    // Both are 32-bit tick counts: the unsigned difference stays right across their wrap.
    return static_cast<DWORD>(GetTickCount() - last.dwTime);
}

BOOL RealEnableShutdownPrivilege() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return FALSE;
    TOKEN_PRIVILEGES tp{};
    BOOL ok = LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &tp.Privileges[0].Luid);
    if (ok) {
        tp.PrivilegeCount = 1;
        tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        ok = AdjustTokenPrivileges(token, FALSE, &tp, 0, nullptr, nullptr) && GetLastError() == ERROR_SUCCESS;
    }
    CloseHandle(token);
    return ok;
}

SeamTable MakeReal() {
    SeamTable t;
    t.getLocalTime = [](SYSTEMTIME& st) { GetLocalTime(&st); };
    t.setLocalTime = [](const SYSTEMTIME& st) { return SetLocalTime(&st); };
    t.tickCount = [] { return GetTickCount64(); };
    t.enableShutdownPrivilege = RealEnableShutdownPrivilege;
    t.exitWindows = [](UINT flags, DWORD reason) { return ExitWindowsEx(flags, reason); };
    t.shellExecute = [](HWND owner, const char* verb, const char* file, const char* params,
                        const char* dir, int show) {
        return ShellExecuteA(owner, verb, file, params, dir, show);
    };
    t.playSound = [](const void* sound, HMODULE module, DWORD flags) {
        return PlaySoundA(static_cast<LPCSTR>(sound), module, flags);
    };
    t.mciCommand = [](const char* command) { mciExecute(command); };
    t.beep = [](DWORD frequency, DWORD ms) { Beep(frequency, ms); };
    t.sleep = [](DWORD ms) { Sleep(ms); };
    t.waveOutDevices = [] { return waveOutGetNumDevs(); };
    t.midiOutDevices = [] { return midiOutGetNumDevs(); };
    t.htmlHelp = RealHtmlHelp;
    t.setScreenSaverRunning = [](BOOL running) {
        BOOL previous = FALSE;
        return SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, running, &previous, 0);
    };
    t.notifyIcon = [](DWORD message, NOTIFYICONDATAA* data) { return Shell_NotifyIconA(message, data); };
    t.exitProcess = [](UINT code) { ExitProcess(code); };
    t.windowDpi = [](HWND window) { return static_cast<UINT>(dpi::PlatformWindowDpi(window)); };
    t.wakeTimer = RealWakeTimer;
    t.wakeTask = RealWakeTask;
    t.planWake = RealPlanWake;
    t.executionState = [](EXECUTION_STATE state) { return SetThreadExecutionState(state); };
    t.notificationState = RealNotificationState;
    t.lastInputAge = RealLastInputAge;
    return t;
}

}  // namespace

const SeamTable& RealSeams() {
    static const SeamTable real = MakeReal();
    return real;
}

SeamTable& Hooks() {
    static SeamTable table = RealSeams();
    return table;
}

}  // namespace sys
