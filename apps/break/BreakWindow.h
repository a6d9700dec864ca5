// The break window of Break.exe: a top-most break over the whole primary monitor with a
// picture, the words "Time for a Break!", a countdown of the break's seconds and the buttons
// "Close Window", "Previous" and "Next", and a calm plain window over each other monitor (which
// follow monitors added and removed during the break and close with it). An enforced break
// cannot be closed before its count reaches 0, from any of its windows. When the count reaches
// 0 it sounds the end, so that a person who looked away knows they may come back.
#pragma once
#include <windows.h>

#include "apps/break/StartRules.h"

#include <string>
#include <vector>

namespace break_program {

inline constexpr const char* kBreakClass = "BreakWindow";
inline constexpr const char* kBreakCoverClass = "BreakCover";  // the plain windows
inline constexpr const char* kBreakTitle = "Break";
inline constexpr const char* kBreakHeading = "Time for a Break!";
inline constexpr const char* kCloseWindowCaption = "Close Window";
inline constexpr const char* kPreviousCaption = "Previous";
inline constexpr const char* kNextCaption = "Next";

// Control identifiers, so that other processes and tests can find the controls.
inline constexpr int kIdCloseButton = 101;
inline constexpr int kIdPreviousButton = 102;
inline constexpr int kIdNextButton = 103;
inline constexpr int kIdCountdownLabel = 104;
inline constexpr int kIdHeadingLabel = 105;

inline constexpr UINT_PTR kFocusTimerId = 1;      // every 500 ms: keep the focus
inline constexpr UINT_PTR kCountdownTimerId = 2;  // every 1000 ms: count down

inline constexpr COLORREF kBreakBackground = RGB(0, 128, 0);

struct BreakConfig {
    std::string iniPath;           // the shared "stop.ini"
    std::string programDirectory;  // pictures are under "<directory>/picture/"
    bool quitOnClose = true;       // end the thread's message loop when the window goes
};

// The program's own: "stop.ini" and "picture" beside Break.exe.
BreakConfig DefaultBreakConfig();

// The break's settings from its INI file.
breakstart::Options ReadBreakOptions(const std::string& iniPath);

// Reads the break's settings, creates and shows the window and starts the break.
HWND CreateBreakWindow(HINSTANCE instance, const BreakConfig& config, int show);

// The crash filter RunBreak installs: puts the screen-saver flag back if a break set it.
LONG WINAPI BreakCrashFilter(EXCEPTION_POINTERS* exception);

// Runs one break to its end: unless another break of this desktop is under way, it waits, warns
// and covers the screens as the break's settings say (apps/break/BreakNotice.h).
int RunBreak(HINSTANCE instance, int show);

// What the window shows, for tests and the paint handler.
int BreakPictureNumber(HWND wnd);    // 1 to 20; 0 when wnd is not a break window
bool BreakPictureLoaded(HWND wnd);   // false when the picture's number is shown instead
bool BreakFinished(HWND wnd);        // the count has reached 0
// The plain windows on the monitors other than the primary one, in the order they were made.
std::vector<HWND> BreakCoverWindows(HWND wnd);
// Paints the window's background and picture area into dc (client coordinates).
void PaintBreakWindow(HWND wnd, HDC dc);

}  // namespace break_program
