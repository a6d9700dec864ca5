// The about window: a small modeless window titled "Version" that shows the product's
// picture (name, version and the clock face). A click on the picture closes it.
#pragma once
#include <windows.h>

namespace zentaro {

inline constexpr char kAboutTitle[] = "Version";
inline constexpr char kAboutClass[] = "ZentaroAbout";

// Shows the about window owned by owner, centred on the screen; while it is open, a second
// call brings up the same window. Returns its handle.
HWND ShowAboutWindow(HWND owner);
// The open about window, or null.
HWND AboutWindowHandle();
// Draws the picture at the client origin.
void PaintAbout(HDC dc, HBITMAP picture);

}  // namespace zentaro
