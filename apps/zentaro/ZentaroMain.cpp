// Entry of zentaro.exe.
#include <windows.h>

#include "apps/zentaro/Main.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return zentaro::Main(); }
