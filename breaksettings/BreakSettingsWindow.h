// The break settings window "Break Setting . . .": when breaks start (daily, or weekly on one
// weekday, at a time of day), how long they last, whether they are enforced, whether they wait
// while the person presents or plays full screen and whether they are skipped after an absence.
// OK appends a run-program alarm item that starts Break.exe and writes the length and the three
// switches into the shared stop.ini. Modeless, owned by the main window, at most one at a time.
#pragma once
#include <windows.h>

#include <string>

namespace breaksettings {

inline constexpr const char* kBreakSettingsClass = "frmBreak";
inline constexpr const char* kBreakSettingsTitle = "Break Setting . . .";

// Control identifiers.
enum BreakSettingsControl : int {
    kIdOptionOnce = 201,   // Option1 index 0 .. 4: the date rules
    kIdOptionDaily,
    kIdOptionWeekly,
    kIdOptionMonthly,
    kIdOptionYearly,
    kIdAction,             // cmbAction
    kIdTextHint,           // txtTexthint
    kIdSound,              // txtSound
    kIdSoundBrowse,        // cmdSound "..."
    kIdProgram,            // txtProgram
    kIdProgramBrowse,      // cmdProgram "..."
    kIdParameter,          // txtParameter
    kIdMonth,              // cmbmonth
    kIdDay,                // cmbDay
    kIdYear,               // cmbYear
    kIdHour,               // txtHour
    kIdHourSpin,           // vschour
    kIdMinute,             // txtMin
    kIdMinuteSpin,         // vscMinute
    kIdSecond,             // txtSec
    kIdSecondSpin,         // vscSecond
    kIdWeek,               // cmbWeek
    kIdSeconds,            // Text1: the break length
    kIdEnforce,            // Check1 "Enforce Break"
    kIdFrameAlarmWay,
    kIdFrameDateTime,
    kIdFrameOther,
    kIdWaitBusy,           // "Wait while I present or play full screen"
    kIdSkipAway,           // "Skip if I was away for the break's length"
};
// OK and Cancel carry the standard identifiers, so Enter and Esc reach them.
inline constexpr int kIdBreakOk = IDOK;
inline constexpr int kIdBreakCancel = IDCANCEL;

struct BreakSettingsConfig {
    std::string iniPath;           // the shared "stop.ini"
    std::string programDirectory;  // where Break.exe lives (the main program's directory)
};

// "stop.ini" and Break.exe beside the running program.
BreakSettingsConfig DefaultBreakSettingsConfig();

// Opens the window, or shows the open one again as it is (its fields are not reloaded).
HWND ShowBreakSettings(HWND owner, const BreakSettingsConfig& config);
// The open window, or null.
HWND BreakSettingsWindow();

}  // namespace breaksettings
