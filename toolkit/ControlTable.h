// The one way to create child controls: a table of rows, each a control of a window or dialog,
// created in order (which is also the Tab order) with the parent's font. Tables are kept in
// 96-DPI units and created at the parent's DPI unless another scale is given.
#pragma once
#include <windows.h>

#include "common/DpiScale.h"

#include <initializer_list>
#include <span>

namespace toolkit {

struct ControlSpec {
    const char* className;  // "BUTTON", "EDIT", UPDOWN_CLASSA, ...
    int id;
    const char* text;       // caption or initial text; may be null
    DWORD style;            // besides WS_CHILD | WS_VISIBLE
    int x, y, width, height;  // in the table's units (see Scale): 96-DPI units by default
    DWORD exStyle = 0;
};

// Converts a table's units to pixels: pixels = units * numerator / denominator (MulDiv).
// The default keeps pixels as they are; 96-DPI units use DpiScale(dpi); a twips table uses
// {dpi, 1440}.
struct Scale {
    int numerator = 1;
    int denominator = 1;
    int operator()(int units) const { return MulDiv(units, numerator, denominator); }
};
inline Scale DpiScale(int at) { return {at > 0 ? at : dpi::kBaseDpi, dpi::kBaseDpi}; }
// 96-DPI units at the DPI of `window` (common/Dpi.h).
Scale WindowScale(HWND window);

// Creates one visible child control of parent with the identifier and gives it font (not
// owned: the parent keeps it alive as long as its controls). Null when it could not be created.
// Without a scale the row is in 96-DPI units, placed at the parent's DPI.
HWND CreateChildControl(HWND parent, HFONT font, const ControlSpec& spec);
HWND CreateChildControl(HWND parent, HFONT font, const ControlSpec& spec, Scale scale);
// Creates every row; true when all were created. The parent then follows DPI changes
// (FollowDpiChanges).
bool CreateControls(HWND parent, HFONT font, std::span<const ControlSpec> rows);
bool CreateControls(HWND parent, HFONT font, std::span<const ControlSpec> rows, Scale scale);

// Tab visits a window's controls in creation order (their z-order). These put the controls of
// `ids` first, or last, in that order, so a window built from fixed tables still tabs in
// reading order; the controls not named keep their places among themselves.
void PutFirstInTabOrder(HWND parent, std::initializer_list<int> ids);
void PutLastInTabOrder(HWND parent, std::initializer_list<int> ids);

// Makes `window` follow a move to a monitor of another DPI (WM_DPICHANGED): it takes the
// suggested rectangle, its direct children are placed and sized anew by the ratio of the new
// DPI to the old one, and their fonts are made anew at the new size (owned here until the window
// goes). The window's own procedure then sees WM_DPICHANGED too, for what it paints itself.
// Calling it again for the same window does nothing.
void FollowDpiChanges(HWND window);
// The DPI the window was last laid out at by FollowDpiChanges (its DPI when it began to follow).
int LaidOutDpi(HWND window);

}  // namespace toolkit
