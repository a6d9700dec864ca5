// Entry of Break.exe.
#include <windows.h>

#include "apps/break/BreakWindow.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) { return break_program::RunBreak(instance, show); }
