// Modal dialogs run from an empty in-memory template. The dialog procedure sizes, titles and
// fills the window itself (CentreDialogOnDesktop, CreateDialogFont and the control wrappers),
// and paints its frames with DrawEtchedFrame / DrawSunkenFrame.
#pragma once
#include <windows.h>

#include "common/DpiScale.h"
#include "common/Handles.h"
#include "common/WindowState.h"

// The system's modeless-dialog macro of this name would swallow the member below; this
// program never creates a dialog from a resource.
#ifdef CreateDialog
#undef CreateDialog
#endif

namespace toolkit {

// Runs one modal dialog from the empty template. Holds no state: each call builds a fresh
// template and returns when the procedure has called EndDialog (or the dialog could not be
// created). The dialog's result code is not passed on.
class TemplateDialog {
public:
    // `initParam` reaches the procedure as the lParam of WM_INITDIALOG; dialogs that keep
    // per-window state pass its address there.
    void CreateDialog(HWND owner, DLGPROC lpDlgFunc, LPARAM initParam = 0);
};

// A template dialog's state: a struct on the stack of the function that runs the dialog. Its
// address reaches WM_INITDIALOG, which attaches it to the dialog; the other messages find it
// there (null before WM_INITDIALOG).
template <class State>
void RunDialogWithState(HWND owner, DLGPROC proc, State& state) {
    TemplateDialog().CreateDialog(owner, proc, reinterpret_cast<LPARAM>(&state));
}
// The dialog's state is kept as every window's is (common/WindowState.h); 0 detaches it.
inline void AttachDialogState(HWND dialog, LPARAM state) {
    win::AttachBorrowedState(dialog, reinterpret_cast<void*>(state));
}
template <class State>
State* DialogState(HWND dialog) {
    return win::WindowState<State>(dialog);
}

// WM_PAINT of a template dialog: paints its client area through `paint`.
template <class PaintFunction>
void PaintDialog(HWND dialog, PaintFunction paint) {
    win::PaintScope scope(dialog);
    paint(scope.dc());
}

// Fixed sizes and font of the template dialogs, in 96-DPI units.
inline constexpr int kDialogFontHeight = 13;
inline constexpr char kDialogFontFace[] = "Tahoma";

// Moves the dialog to width x height 96-DPI units at its DPI, centred (halves to the even
// neighbour) on the work area of the monitor its owner is on, or of its own monitor when it has
// no owner, and sets its title. The dialog then follows DPI changes (FollowDpiChanges).
void CentreDialogOnDesktop(HWND dialog, int width, int height, const char* title);
// The dialogs' font: "Tahoma", 13 units high at `at` DPI, normal weight, default character set.
win::AutoFont CreateDialogFont(int at = dpi::kBaseDpi);
// The same at the DPI of `window`.
win::AutoFont CreateDialogFont(HWND window);

// 96-DPI units as pixels of the window `dc` paints (the system DPI for a memory DC), and
// pixels of it as units (rounded up).
int DcScale(HDC dc, int units);
int DcUnits(HDC dc, int pixels);
// A rectangle of 96-DPI units in pixels of `window`.
RECT ScaleRect(HWND window, const RECT& units);

// Etched and sunken edges on all four sides of the rectangle; arguments in the order left,
// right, top, bottom, in 96-DPI units scaled by DcScale. A rectangle whose top equals its bottom
// gives a horizontal line.
void DrawEtchedFrame(HDC dc, int left, int right, int top, int bottom);
void DrawSunkenFrame(HDC dc, int left, int right, int top, int bottom);

}  // namespace toolkit
