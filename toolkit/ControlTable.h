// The one way to create child controls: a table of rows, each a control of a window or dialog,
// created in order (which is also the Tab order) with the parent's font.
#pragma once
#include <windows.h>

#include <span>

namespace toolkit {

struct ControlSpec {
    const char* className;  // "BUTTON", "EDIT", UPDOWN_CLASSA, ...
    int id;
    const char* text;       // caption or initial text; may be null
    DWORD style;            // besides WS_CHILD | WS_VISIBLE
    int x, y, width, height;  // in the table's units (see Scale)
    DWORD exStyle = 0;
};

// Converts a table's units to pixels: pixels = units * numerator / denominator (MulDiv).
// Pixel tables use the default; a twips table uses {dpi, 1440}.
struct Scale {
    int numerator = 1;
    int denominator = 1;
    int operator()(int units) const { return MulDiv(units, numerator, denominator); }
};

// Creates one visible child control of parent with the identifier and gives it font (not
// owned: the parent keeps it alive as long as its controls). Null when it could not be created.
HWND CreateChildControl(HWND parent, HFONT font, const ControlSpec& spec, Scale scale = {});
// Creates every row; true when all were created.
bool CreateControls(HWND parent, HFONT font, std::span<const ControlSpec> rows, Scale scale = {});

}  // namespace toolkit
