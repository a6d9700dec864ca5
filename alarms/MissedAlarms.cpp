#include "alarms/MissedAlarms.h"

#include "common/Dpi.h"
#include "common/Handles.h"
#include "common/MessageLoop.h"
#include "common/WindowState.h"
#include "common/WindowText.h"
#include "toolkit/ControlTable.h"
#include "toolkit/Dialog.h"
#include "toolkit/ToolWindow.h"

#include <algorithm>
#include <memory>

namespace alarms {

namespace {

constexpr char kClassName[] = "ZentaroMissedAlarms";
constexpr char kIntro[] = "These alarms fell due while the clock could not run them:";

// Layout in pixels of the client area.
constexpr int kClientWidth = 460, kClientHeight = 240;
constexpr int kMargin = 8, kIntroHeight = 16;
constexpr int kButtonWidth = 80, kButtonHeight = 23;
constexpr int kRowsTop = kMargin + kIntroHeight + 4;
constexpr int kRowsHeight = kClientHeight - kRowsTop - kButtonHeight - 2 * kMargin;

constexpr toolkit::ControlSpec kControls[] = {
    {"STATIC", -1, kIntro, SS_LEFT | SS_NOPREFIX, kMargin, kMargin, kClientWidth - 2 * kMargin, kIntroHeight},
    {"LISTBOX", kMissedRows, "", WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOSEL, kMargin,
     kRowsTop, kClientWidth - 2 * kMargin, kRowsHeight, WS_EX_CLIENTEDGE},
    {"BUTTON", kMissedOk, "OK(&O)", WS_TABSTOP | BS_DEFPUSHBUTTON, (kClientWidth - kButtonWidth) / 2,
     kClientHeight - kMargin - kButtonHeight, kButtonWidth, kButtonHeight},
};

// The open window's state, attached to it.
struct MissedAlarmsState {
    std::vector<MissedItem> missed;  // everything reported while it is open
    win::AutoFont font;
};

MissedAlarmsState* StateOf(HWND window) { return win::WindowState<MissedAlarmsState>(window); }

void ShowRows(HWND window, const MissedAlarmsState& state) {
    HWND rows = GetDlgItem(window, kMissedRows);
    SendMessageA(rows, WM_SETREDRAW, FALSE, 0);
    SendMessageA(rows, LB_RESETCONTENT, 0, 0);
    int widest = 0;
    win::WindowDC dc(rows);
    // The list's own font: after a move to another DPI it is no longer the one made at creation.
    win::ScopedSelect font(dc.get(), reinterpret_cast<HFONT>(SendMessageA(rows, WM_GETFONT, 0, 0)));
    for (const std::string& row : MissedRows(state.missed, kMaxMissedRows)) {
        SendMessageA(rows, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
        widest = std::max(widest, win::TextWidth(dc.get(), row) + 8);
    }
    SendMessageA(rows, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest), 0);
    SendMessageA(rows, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(rows, nullptr, TRUE);
}

void OnCreate(HWND window) {
    MissedAlarmsState* state = win::AttachWindowState(window, std::make_unique<MissedAlarmsState>());
    state->font = toolkit::CreateDialogFont(window);
    toolkit::CreateControls(window, state->font.get(), kControls);
    win::AddModelessWindow(window);
}

LRESULT CALLBACK MissedAlarmsProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CREATE) {
        OnCreate(window);
        return 0;
    }
    if (!StateOf(window)) return DefWindowProcA(window, msg, wp, lp);
    switch (msg) {
    case WM_COMMAND:
        if (LOWORD(wp) == kMissedOk || LOWORD(wp) == IDCANCEL) DestroyWindow(window);
        return 0;
    case WM_CLOSE: DestroyWindow(window); return 0;
    // The controls have their new fonts (toolkit::FollowDpiChanges): the widest row is measured again.
    case dpi::kDpiChangedMessage: ShowRows(window, *StateOf(window)); return 0;
    case WM_DESTROY: win::RemoveModelessWindow(window); return 0;
    case WM_NCDESTROY:
        win::DeleteWindowState<MissedAlarmsState>(window);
        return DefWindowProcA(window, msg, wp, lp);
    default: return DefWindowProcA(window, msg, wp, lp);
    }
}

}  // namespace

HWND ShowMissedAlarms(HWND owner, const std::vector<MissedItem>& missed) {
    HWND window = MissedAlarmsWindow();
    if (!window) {
        toolkit::RegisterToolWindowClass(kClassName, MissedAlarmsProc, 0);
        window = toolkit::CreateCentredToolWindow(kClassName, kMissedAlarmsTitle, WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                                  kClientWidth, kClientHeight, owner);
        if (!window) return nullptr;
    }
    MissedAlarmsState* state = StateOf(window);
    if (!state) return window;
    state->missed.insert(state->missed.end(), missed.begin(), missed.end());
    ShowRows(window, *state);
    // Shown without taking the focus from what the user is doing.
    ShowWindow(window, SW_SHOWNOACTIVATE);
    return window;
}

HWND MissedAlarmsWindow() { return toolkit::FindToolWindow(kClassName); }

}  // namespace alarms
