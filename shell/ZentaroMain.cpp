// Entry of zentaro.exe.
#include <windows.h>

#include "shell/Main.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return Main(); }
