#include "alarms/ShutdownCountdown.h"

#include <array>
#include <algorithm>
#include <cwchar>
#include <vector>

#include "alarms/AlarmActions.h"
#include "common/Dpi.h"
#include "common/Handles.h"
#include "common/Monitors.h"
#include "common/SystemVersion.h"
#include "common/SystemSeams.h"
#include "common/WindowText.h"
#include "toolkit/Controls.h"
#include "toolkit/Dialog.h"

namespace alarms {

namespace {

constexpr int kTextX = 55;
constexpr int kLineY[3] = {10, 25, 41};
constexpr char kLine1Prefix[] = "You have setup:";
constexpr char kLine2Suffix[] = "begin the countdown";
constexpr char kLine3[] = "The program will execute preset operation in 30 seconds.";
constexpr int kRestartFigureX = 204, kShutdownFigureX = 183, kFigureY = 25;
constexpr int kRestartHintX = 12, kShutdownHintX = 31, kHintY = 56, kCustomHintX = 12;
// The figure's least distance from the end of the second line, and the room beside the
// dialog's longest line.
constexpr int kFigureGap = 4, kTextMarginRight = 12;
constexpr int kFigureAreaWidth = 33;
// The height of the figure's area, repainted on every tick.
constexpr int kFigureAreaTop = 24, kFigureAreaBottom = 36;
constexpr int kIconX = 10, kIconY = 10;
constexpr int kSeparatorLeft = 10, kSeparatorRight = 258, kSeparatorY = 76;

struct ButtonSpec {
    const char* text;
    int id, x, y;
    DWORD style;
    RECT frame;  // left, top, right, bottom of its sunken frame
};
constexpr int kButtonWidth = 70, kButtonHeight = 19;
constexpr ButtonSpec kButtons[] = {
    {"To run(&O)", kCountdownRunId, 95, 85, BS_DEFPUSHBUTTON | WS_GROUP, {94, 84, 166, 105}},
    {"Cancel(&C)", kCountdownCancelId, 175, 85, 0, {174, 84, 246, 105}},
};

// One open countdown dialog; lives on ShowShutdownCountdown's stack, so a second countdown
// opened from a nested tick keeps its own figure, hint, font and outcome.
struct CountdownDialog {
    CountdownView view;
    bool confirmed = false;
    bool closed = false;
    win::AutoFont font;
    win::AutoIcon icon;
    controls::Button buttons;
};

CountdownDialog* DialogOf(HWND dlg) { return toolkit::DialogState<CountdownDialog>(dlg); }

// The countdown dialogs open now (nested ticks may open more than one).
std::vector<HWND>& OpenDialogs() {
    static std::vector<HWND> open;
    return open;
}

// The texts are placed in 96-DPI units.
void DrawPlaced(HDC dc, const PlacedText& t) {
    win::DrawTextAt(dc, toolkit::DcScale(dc, t.x), toolkit::DcScale(dc, t.y), t.text);
}

// The text as the ANSI code page writes it; `exact` is false when a character had no form.
// UTF-8 writes every character (and takes neither the flag nor the default-character report).
std::string ToAnsi(const wchar_t* text, bool& exact) {
    BOOL usedDefault = FALSE;
    const bool utf8 = GetACP() == CP_UTF8;
    const int len = static_cast<int>(std::wcslen(text));
    std::array<char, 64> buf{};
    const int n = WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, text, len, buf.data(),
                                      static_cast<int>(buf.size()), nullptr, utf8 ? nullptr : &usedDefault);
    exact = n > 0 && !usedDefault;
    return exact ? std::string(buf.data(), static_cast<size_t>(n)) : std::string();
}

// The text's width in 96-DPI units of the window dc paints.
int TextWidth(HDC dc, const std::string& text) { return toolkit::DcUnits(dc, win::TextWidth(dc, text)); }

// Places the figure after the second line and widens the dialog (up to its monitor's width)
// until its longest line, the hint included, shows whole in the dialog's font.
void FitViewToTexts(HWND dlg, CountdownView& view, HFONT font) {
    win::WindowDC dc(dlg);
    win::ScopedSelect select(dc.get(), font);
    const PlacedText second = CountdownLine(view, 1);
    view.figureX = std::max(view.figureX, second.x + TextWidth(dc.get(), second.text) + kFigureGap);
    int right = view.figureX + TextWidth(dc.get(), std::to_string(kCountdownSeconds));
    std::vector<PlacedText> lines{CountdownLine(view, 0), second, CountdownLine(view, 2), CancelHint(view)};
    for (const PlacedText& t : lines) right = std::max(right, t.x + TextWidth(dc.get(), t.text));
    RECT client{};
    GetClientRect(dlg, &client);
    const int most = toolkit::DcUnits(dc.get(), monitors::OwnerWorkArea(dlg).width()) - kCountdownWidth;
    const int clientUnits = dpi::Rescale(static_cast<int>(client.right), dpi::WindowDpi(dlg), dpi::kBaseDpi);
    view.widening = std::clamp(right + kTextMarginRight - clientUnits, 0, most > 0 ? most : 0);
}

void OnInit(HWND dlg, CountdownDialog& d) {
    toolkit::CentreDialogOnDesktop(dlg, kCountdownWidth, kCountdownHeight, d.view.actionName.c_str());
    d.font = toolkit::CreateDialogFont(dlg);
    FitViewToTexts(dlg, d.view, d.font.get());
    if (d.view.widening > 0)
        toolkit::CentreDialogOnDesktop(dlg, kCountdownWidth + d.view.widening, kCountdownHeight, d.view.actionName.c_str());
    d.icon.reset(LoadProgramIcon());
    // The buttons stay centred under the lines.
    for (const ButtonSpec& b : kButtons)
        d.buttons.CreateButton(dlg, b.text, b.id, b.x + d.view.widening / 2, b.y, kButtonWidth, kButtonHeight,
                               d.font.get(), b.style);
    SetTimer(dlg, kCountdownTimer, kCountdownPeriodMs, nullptr);
    OpenDialogs().push_back(dlg);
}

void OnClose(HWND dlg, CountdownDialog& d) {
    if (d.closed) return;
    d.closed = true;
    auto& open = OpenDialogs();
    open.erase(std::remove(open.begin(), open.end(), dlg), open.end());
    d.buttons.Release();
    KillTimer(dlg, kCountdownTimer);
    d.icon.reset();
    d.font.reset();
    EndDialog(dlg, 0);
}

// One second of the countdown: the figure goes down, and after it has shown 0 the next tick
// confirms. Repaints never count.
void OnTick(HWND dlg, CountdownDialog& d) {
    if (d.closed) return;
    if (d.view.seconds < 1) {
        d.confirmed = true;
        SendMessageA(dlg, WM_CLOSE, 0, 0);
        return;
    }
    --d.view.seconds;
    const int at = dpi::WindowDpi(dlg);
    const RECT figureArea{dpi::Scale(d.view.figureX, at), dpi::Scale(kFigureAreaTop, at),
                          dpi::Scale(d.view.figureX + kFigureAreaWidth, at), dpi::Scale(kFigureAreaBottom, at)};
    InvalidateRect(dlg, &figureArea, TRUE);
}

void OnCommand(HWND dlg, CountdownDialog& d, int id) {
    if (d.closed) return;
    if (id == kCountdownRunId) {
        d.confirmed = true;
        SendMessageA(dlg, WM_CLOSE, 0, 0);
    } else if (id == kCountdownCancelId) {
        SendMessageA(dlg, WM_CLOSE, 0, 0);
    }
}

}  // namespace

CountdownView OpenCountdownView(bool restart, const std::string& customHint) {
    CountdownView v;
    v.restart = restart;
    v.actionName = restart ? kRestartName : kShutdownName;
    v.seconds = kCountdownSeconds - 1;
    v.customHint = customHint;
    v.figureX = restart ? kRestartFigureX : kShutdownFigureX;
    return v;
}

PlacedText CountdownLine(const CountdownView& view, int line) {
    switch (line) {
    case 0: return {kTextX, kLineY[0], kLine1Prefix + view.actionName};
    case 1: return {kTextX, kLineY[1], view.actionName + kLine2Suffix};
    default: return {kTextX, kLineY[2], kLine3};
    }
}

PlacedText CountdownFigure(const CountdownView& view) {
    return {view.figureX, kFigureY, std::to_string(view.seconds)};
}

PlacedText CancelHint(const CountdownView& view) {
    if (!view.customHint.empty()) return {kCustomHintX, kHintY, view.customHint};
    return {view.restart ? kRestartHintX : kShutdownHintX, kHintY, StandardCancelHint(view.actionName)};
}

std::string StandardCancelHint(const std::string& actionName) {
    bool openExact = false, closeExact = false;
    const std::string open = ToAnsi(L"\u3016", openExact);
    const std::string close = ToAnsi(L"\u3017", closeExact);
    const bool brackets = openExact && closeExact;
    return "If relieve" + (brackets ? open : std::string("[")) + actionName + (brackets ? close : std::string("]")) +
           ",please press ESC button according to the cancel.";
}

void DrawCancelHint(HDC dc, const CountdownView& view) { DrawPlaced(dc, CancelHint(view)); }

void PaintCountdown(HDC dc, const CountdownView& view, HFONT font, HICON icon) {
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    win::ScopedSelect selectFont(dc, font);
    if (icon) DrawIconEx(dc, toolkit::DcScale(dc, kIconX), toolkit::DcScale(dc, kIconY), icon, 0, 0, 0, nullptr, DI_NORMAL);
    for (int line = 0; line < 3; ++line) DrawPlaced(dc, CountdownLine(view, line));
    DrawPlaced(dc, CountdownFigure(view));
    DrawCancelHint(dc, view);
    toolkit::DrawEtchedFrame(dc, kSeparatorLeft, kSeparatorRight + view.widening, kSeparatorY, kSeparatorY);
    const int shift = view.widening / 2;
    for (const ButtonSpec& b : kButtons)
        toolkit::DrawSunkenFrame(dc, b.frame.left + shift, b.frame.right + shift, b.frame.top, b.frame.bottom);
    SetBkMode(dc, oldMode);
}

void EnableShutdownPrivilege() {
    // Systems without the privilege model (before NT 5) need no privilege to exit.
    if (win::IsLayeredCapable()) sys::EnableShutdownPrivilege();
}

void ShowShutdownCountdown(HWND owner, bool restart, const std::string& customHint) {
    CountdownDialog dialog;
    dialog.view = OpenCountdownView(restart, customHint);
    toolkit::RunDialogWithState(owner, CountdownDlgProc, dialog);
    if (!dialog.confirmed) return;
    EnableShutdownPrivilege();
    // The result is not examined: without the privilege the program simply goes on running.
    sys::RequestExitWindows(dialog.view.restart ? EWX_REBOOT : EWX_SHUTDOWN, 0);
}

const CountdownView* CountdownViewOf(HWND dlg) {
    const auto& open = OpenDialogs();
    if (std::find(open.begin(), open.end(), dlg) == open.end()) return nullptr;
    const CountdownDialog* d = DialogOf(dlg);
    return d ? &d->view : nullptr;
}

INT_PTR CALLBACK CountdownDlgProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        toolkit::AttachDialogState(dlg, lp);
        if (auto* d = reinterpret_cast<CountdownDialog*>(lp)) OnInit(dlg, *d);
        return TRUE;  // focus to "To run(&O)": Enter confirms, Esc cancels
    }
    CountdownDialog* d = DialogOf(dlg);
    if (!d) return FALSE;
    switch (msg) {
    case WM_TIMER:
        if (wp == kCountdownTimer) OnTick(dlg, *d);
        return TRUE;
    case WM_PAINT:
        toolkit::PaintDialog(dlg, [d](HDC dc) { PaintCountdown(dc, d->view, d->font.get(), d->icon.get()); });
        return TRUE;
    case WM_COMMAND:
        OnCommand(dlg, *d, LOWORD(wp));
        return TRUE;
    case WM_CLOSE:
        OnClose(dlg, *d);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace alarms
