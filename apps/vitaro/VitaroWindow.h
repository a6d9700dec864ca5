// The one window of vitaro.exe: birth date and chosen date in six boxes with spins, step
// buttons, the chart with its value lines and day count, the curve and ruler switches, and
// the birth date kept in "stop.ini" between runs.
#pragma once
#include <windows.h>

#include "apps/vitaro/BiorhythmChart.h"

#include <string>

namespace vitaro {

inline constexpr const char* kVitaroTitle = "Vitaro";
inline constexpr const char* kVitaroClass = "VitaroWindow";

struct VitaroOptions {
    std::string iniPath;          // the INI file holding the birth date
    bool quitOnDestroy = false;   // the program's window ends the message loop when it goes
    int show = SW_SHOWNORMAL;
};

// Creates the window and runs its start-up: birth date from the INI file, today from the
// local clock, the boxes filled, the window shown and the first chart drawn. Null on failure.
// While open it takes dialog keys from the one message loop: Tab moves between the controls,
// Escape closes the window whatever has the focus.
HWND CreateVitaroWindow(HINSTANCE instance, const VitaroOptions& options);

// What the window holds, for tests and for the chart box.
struct VitaroView {
    bio::CivilDate birth;
    bio::CivilDate current;
    bio::GraphColors colors;
    const bio::ChartSurface* chart;
};
VitaroView VitaroViewOf(HWND wnd);

// Paints the window's own surfaces (frame and value panel) into dc.
void PaintVitaro(HDC dc);

// Creates the biorhythm window and runs its message loop to its end.
int RunVitaro(HINSTANCE instance, int show);

}  // namespace vitaro
