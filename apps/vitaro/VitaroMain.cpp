// Entry of vitaro.exe.
#include <windows.h>

#include "apps/vitaro/VitaroWindow.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) { return vitaro::RunVitaro(instance, show); }
