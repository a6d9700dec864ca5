// The 30-second countdown before a restart or shutdown: a small modal dialog that can be
// cancelled; when it runs out or the user confirms, the program enables its shutdown
// privilege and asks the system to restart or shut down.
#pragma once
#include <windows.h>

#include <string>

namespace alarms {

inline constexpr int kCountdownWidth = 275, kCountdownHeight = 138;
inline constexpr int kCountdownSeconds = 30;
inline constexpr UINT_PTR kCountdownTimer = 2;
inline constexpr UINT kCountdownPeriodMs = 1000;
inline constexpr int kCountdownRunId = IDOK;         // "To run(&O)", Enter
inline constexpr int kCountdownCancelId = IDCANCEL;  // "Cancel(&C)", Esc
inline constexpr char kRestartName[] = "Re-start computer";
inline constexpr char kShutdownName[] = "Shut down";

// What one countdown dialog shows.
struct CountdownView {
    bool restart = false;
    std::string actionName;  // also the dialog's title
    int seconds = 0;         // the figure shown
    std::string customHint;  // replaces the standard cancel hint when not empty
    int figureX = 0;         // where the figure stands: after the second line, in the dialog's font
    int widening = 0;        // pixels the dialog is wider than kCountdownWidth, to show its longest line
};

// A text and where it is drawn in the client area.
struct PlacedText {
    int x = 0, y = 0;
    std::string text;
};

// The view of a dialog that has just opened: the figure shows one second less than the
// countdown's length.
CountdownView OpenCountdownView(bool restart, const std::string& customHint);
// The three fixed lines, the figure and the hint line, in drawing order.
PlacedText CountdownLine(const CountdownView& view, int line);  // line 0..2
PlacedText CountdownFigure(const CountdownView& view);
PlacedText CancelHint(const CountdownView& view);
// "If relieve〖<action>〗,please press ESC ..." with the brackets as the ANSI code page can show
// them (UTF-8, or a Chinese, Japanese or Korean code page), "[" and "]" otherwise.
std::string StandardCancelHint(const std::string& actionName);

// Runs the dialog for a restart (true) or shutdown (false) with the item's hint (empty: the
// standard one); if confirmed, enables the shutdown privilege and requests the exit
// (EWX_REBOOT or EWX_SHUTDOWN).
void ShowShutdownCountdown(HWND owner, bool restart, const std::string& customHint);
INT_PTR CALLBACK CountdownDlgProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
// The view of an open countdown dialog, or null for any other window.
const CountdownView* CountdownViewOf(HWND dlg);

// The client area of the dialog: icon, the three lines, the figure, the hint, the separator
// and the frames around the buttons; texts drawn transparently.
void PaintCountdown(HDC dc, const CountdownView& view, HFONT font, HICON icon);
void DrawCancelHint(HDC dc, const CountdownView& view);

// Enables the shutdown privilege of the program's own process.
void EnableShutdownPrivilege();

}  // namespace alarms
