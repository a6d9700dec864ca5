// The one way to read a window's text as a string, and to measure and draw the programs' texts.
// Texts are held in the active code page (UTF-8 where the manifest's setting is honoured); they
// reach windows and GDI through the wide (W) functions, so no count or code page of the A ones
// cuts or garbles them.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace win {

// The whole text of a window or control, however long; empty when it has none or is gone.
std::string WindowText(HWND wnd);
// The text of parent's child with the identifier; empty when there is no such child.
std::string ItemText(HWND parent, int id);

// A text in the active code page as UTF-16, and back (without a last lone half of a surrogate
// pair, as an edit field cut at its limit may hold).
std::wstring Wide(std::string_view text);
std::string Narrow(std::wstring_view text);

// The width in pixels of a text in the DC's font; one line, drawn at (x, y) by DrawTextAt.
int TextWidth(HDC dc, std::string_view text);
void DrawTextAt(HDC dc, int x, int y, std::string_view text);

}  // namespace win
