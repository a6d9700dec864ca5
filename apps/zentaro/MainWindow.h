// The main clock window: start-up, creation, the one-second tick, painting, closing and the
// hourly chime. The features it uses are called directly; they reach it only through callbacks.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "face/TimeDrawing.h"
#include "face/Face.h"

namespace zentaro {

inline constexpr const char* kMainClassName = "frmMain";
inline constexpr const char* kMainTitle = "Zentaro";
inline constexpr UINT_PTR kTickTimerId = 8;
inline constexpr UINT kFirstTickMs = 1000;

// Registers the window class of the clock; true on success.
bool RegisterMainClass(const char* className);
// Registers the class, creates the clock window, runs the message loop to its end and
// unregisters the class.
void RunMainWindow(const char* className, DWORD exStyle, const char* title);
// The steps of RunMainWindow, for the in-process tests: create the window (class registered),
// then start it (first paint, tick timer, "Windowpos", "IconRun").
HWND CreateMainWindow(const char* className, DWORD exStyle, const char* title);
void StartMainWindow(HWND main);

LRESULT CALLBACK MainWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

// Applies the start option "Windowpos", "RndBackBmp" or "RndTimeBmp" when it is on.
void ApplyStartupOption(HWND main, const char* valueName);
// Shows the window normally, or minimised when "IconRun" is on.
void ShowInitialState(HWND main);

// The hourly chime's two forms, each run on a thread of its own: beeps where no sound device
// is present, else the sound (the built-in one for an empty name, a .wav file, or any file
// MCI plays).
DWORD PlayChimeBeeps();
void PlayChimeSound(const std::string& sound);

struct ClockCommands;

// The clock window; null while there is none.
HWND MainWindowHandle();
// The commands' state of the clock window; null while there is none.
ClockCommands* MainWindowCommands();
// The face of the clock window and the drawing object that knows its time area; only while
// the clock window exists.
face::FaceState& MainFace();
face::TimeDrawing& MainDrawTime();
// Loads the skin named in the settings again and reshapes the window in place (after the
// options dialog's Apply); a window that was shown stays shown.
void ReloadClockFace();

// Paints the face: the background, then the time text. A text that cannot be drawn leaves
// lastGoodText (the last text drawn) on the face; a drawable one replaces it.
void PaintClockFace(HDC dc, const face::FaceState& face, const face::TimeDrawing& drawTime, std::string_view timeText,
                    std::string& lastGoodText);

}  // namespace zentaro
