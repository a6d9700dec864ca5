// The clock face's tool tip: the date of the program's start in the system's short date form,
// shown while the mouse rests over the main window. Owned for the life of the main window.
#pragma once
#include <windows.h>

#include <string>

inline constexpr int kMainTooltipAutoPopMs = 4000;
inline constexpr int kMainTooltipMaxWidth = 288;

// Creates the tool tip over `main` (once; a second call replaces the first tool tip).
void CreateMainTooltip(HWND main);
// Destroys it; harmless when there is none.
void ReleaseMainTooltip();
// The tool-tip window, or 0.
HWND MainTooltipWindow();
// The local date in the system's short date form.
std::string ShortDateText(const SYSTEMTIME& date);
