#pragma once
#include <windows.h>

inline constexpr const char* kBreakClass = "BreakWindow";
inline constexpr const char* kBreakTitle = "Break";

// Creates the break window and runs its message loop to its end.
int RunBreak(HINSTANCE instance, int show);
