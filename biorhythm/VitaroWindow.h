#pragma once
#include <windows.h>

inline constexpr const char* kVitaroTitle = "Vitaro";
inline constexpr const char* kVitaroClass = "VitaroWindow";

// Creates the biorhythm window and runs its message loop to its end.
int RunVitaro(HINSTANCE instance, int show);
