// The side effects that tests must observe without causing: reading and setting the local
// clock, the shutdown request and its privilege, starting a program, sounds and beeps,
// opening help, the screen-saver flag, the notification-area icon, ending the process, the
// DPI a window is shown at, and waking the computer (the wake timer, the wake task, the power
// plan's wake setting and the request to keep the computer and display on), the user's
// notification state, the age of their last input, the high-contrast setting and the texts a
// screen reader is given. Production code calls the plain functions below;
// a test replaces entries of Hooks() for a scope with ScopedSeams and records the calls.
#pragma once
#include <windows.h>
#include <shellapi.h>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "common/WakeRules.h"

namespace sys {

// The texts a screen reader reads for a window's client area besides what the window shows.
enum class AccessibleText { name, value, description };

struct SeamTable {
    std::function<void(SYSTEMTIME&)> getLocalTime;
    std::function<BOOL(const SYSTEMTIME&)> setLocalTime;           // FALSE + last error on refusal
    std::function<ULONGLONG()> tickCount;                           // milliseconds, monotonic
    std::function<BOOL()> enableShutdownPrivilege;
    std::function<BOOL(UINT flags, DWORD reason)> exitWindows;
    std::function<HINSTANCE(HWND owner, const char* verb, const char* file, const char* params,
                            const char* dir, int show)> shellExecute;
    std::function<BOOL(const void* sound, HMODULE module, DWORD flags)> playSound;
    std::function<void(const char* command)> mciCommand;
    std::function<void(DWORD frequency, DWORD durationMs)> beep;
    std::function<void(DWORD ms)> sleep;                            // pauses between chime beeps
    std::function<UINT()> waveOutDevices;
    std::function<UINT()> midiOutDevices;
    std::function<HWND(HWND caller, const char* file, UINT command, DWORD_PTR data)> htmlHelp;
    std::function<BOOL(BOOL running)> setScreenSaverRunning;
    std::function<BOOL(DWORD message, NOTIFYICONDATAA* data)> notifyIcon;  // Shell_NotifyIconA
    std::function<void(UINT code)> exitProcess;                     // ends the program at once
    std::function<UINT(HWND window)> windowDpi;                     // a window's DPI (null: the screen's)
    // The clock's waitable timer with resume, set to a UTC second or cancelled (none).
    std::function<DWORD(std::optional<std::int64_t> instant)> wakeTimer;
    // The user's wake task, registered for a UTC second or removed (none).
    std::function<HRESULT(std::optional<std::int64_t> instant)> wakeTask;
    std::function<wake::PlanWakeSettings()> planWake;               // "Allow wake timers"
    std::function<EXECUTION_STATE(EXECUTION_STATE state)> executionState;  // SetThreadExecutionState
    // SHQueryUserNotificationState's answer (QUNS_*); 0 when the system has no answer.
    std::function<int()> notificationState;
    std::function<ULONGLONG()> lastInputAge;  // ms since the last keyboard or mouse input; 0 if unknown
    // Shell_NotifyIconA for the icon's keyboard side (NIM_SETVERSION, NIM_SETFOCUS); FALSE where
    // the shell does not know the request.
    std::function<BOOL(DWORD message, NOTIFYICONDATAA* data)> notifyIconKeyboard;
    std::function<bool()> highContrast;                              // SPI_GETHIGHCONTRAST is on
    // Annotates a window's client object for screen readers (text in the ANSI code page); false
    // where the platform has no annotation service.
    std::function<bool(HWND window, AccessibleText which, const std::string& text)> annotate;
};

// The table in force; starts with the real platform calls.
SeamTable& Hooks();
// The real platform calls, for a test that wants to forward to them.
const SeamTable& RealSeams();

// Replaces the table for a scope and restores the previous one at its end.
class ScopedSeams {
public:
    ScopedSeams() : saved_(Hooks()) {}
    ScopedSeams(const ScopedSeams&) = delete;
    ScopedSeams& operator=(const ScopedSeams&) = delete;
    ~ScopedSeams() { Hooks() = saved_; }
    SeamTable* operator->() { return &Hooks(); }
private:
    SeamTable saved_;
};

inline SYSTEMTIME LocalTime() { SYSTEMTIME t{}; Hooks().getLocalTime(t); return t; }
inline BOOL SetLocalClock(const SYSTEMTIME& t) { return Hooks().setLocalTime(t); }
inline ULONGLONG TickCount() { return Hooks().tickCount(); }
inline BOOL EnableShutdownPrivilege() { return Hooks().enableShutdownPrivilege(); }
inline BOOL RequestExitWindows(UINT flags, DWORD reason) { return Hooks().exitWindows(flags, reason); }
inline HINSTANCE StartProgram(HWND owner, const char* verb, const char* file, const char* params,
                              const char* dir, int show) {
    return Hooks().shellExecute(owner, verb, file, params, dir, show);
}
inline BOOL PlaySoundData(const void* sound, HMODULE module, DWORD flags) {
    return Hooks().playSound(sound, module, flags);
}
inline void MciCommand(const char* command) { Hooks().mciCommand(command); }
inline void BeepTone(DWORD frequency, DWORD durationMs) { Hooks().beep(frequency, durationMs); }
inline void Pause(DWORD ms) { Hooks().sleep(ms); }
inline UINT WaveOutDeviceCount() { return Hooks().waveOutDevices(); }
inline UINT MidiOutDeviceCount() { return Hooks().midiOutDevices(); }
inline HWND OpenHelp(HWND caller, const char* file, UINT command, DWORD_PTR data) {
    return Hooks().htmlHelp(caller, file, command, data);
}
inline BOOL SetScreenSaverRunning(BOOL running) { return Hooks().setScreenSaverRunning(running); }
inline BOOL NotifyIcon(DWORD message, NOTIFYICONDATAA* data) { return Hooks().notifyIcon(message, data); }
inline void ExitProgram(UINT code) { Hooks().exitProcess(code); }
inline int NotificationState() { return Hooks().notificationState(); }
inline ULONGLONG LastInputAge() { return Hooks().lastInputAge(); }
inline BOOL NotifyIconKeyboard(DWORD message, NOTIFYICONDATAA* data) { return Hooks().notifyIconKeyboard(message, data); }
inline bool HighContrast() { return Hooks().highContrast(); }
inline bool Annotate(HWND window, AccessibleText which, const std::string& text) {
    return Hooks().annotate(window, which, text);
}

}  // namespace sys
