#include "alarms/AlarmList.h"

#include "alarms/AlarmEditor.h"
#include "alarms/ListRow.h"
#include "common/Dpi.h"
#include "common/MessageLoop.h"
#include "alarms/AlarmStore.h"
#include "alarms/Scheduler.h"
#include "common/Handles.h"
#include "common/WindowState.h"
#include "toolkit/ControlTable.h"
#include "toolkit/Dialog.h"
#include "toolkit/ToolWindow.h"

#include <commctrl.h>

#include <memory>
#include <vector>

namespace alarms {

namespace {

constexpr char kClassName[] = "frmOptions";
constexpr char kTitle[] = "Alarm Item";

// Layout in pixels of the client area.
constexpr int kClientWidth = 452, kClientHeight = 262;
constexpr int kMargin = 8;
constexpr int kFrameTop = 6, kFrameHeight = 212;
constexpr int kListX = 18, kListY = 26, kListWidth = 320, kListHeight = 180;
constexpr int kSideX = 350, kSideWidth = 88, kButtonHeight = 23, kButtonGap = 6;
constexpr int kBottomY = kFrameTop + kFrameHeight + 10, kBottomWidth = 80;

constexpr DWORD kButtonStyle = WS_TABSTOP | BS_PUSHBUTTON;
constexpr int kBottomX = kClientWidth - kMargin - kBottomWidth;  // the last bottom button

// Every control of the window, in tab order.
constexpr toolkit::ControlSpec kControls[] = {
    {"BUTTON", -1, kTitle, BS_GROUPBOX, kMargin, kFrameTop, kClientWidth - 2 * kMargin, kFrameHeight},
    {WC_LISTVIEWA, kListRows, "",
     WS_TABSTOP | WS_GROUP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS, kListX, kListY,
     kListWidth, kListHeight, WS_EX_CLIENTEDGE},
    {"BUTTON", kListAdd, "Add(&A)...", kButtonStyle, kSideX, kListY, kSideWidth, kButtonHeight},
    {"BUTTON", kListModify, "Modify(&M)", kButtonStyle, kSideX, kListY + (kButtonHeight + kButtonGap), kSideWidth,
     kButtonHeight},
    {"BUTTON", kListDelete, "Delete(&D)", kButtonStyle, kSideX, kListY + 2 * (kButtonHeight + kButtonGap),
     kSideWidth, kButtonHeight},
    {"BUTTON", kListSelectAll, "&Select All", kButtonStyle, kSideX,
     kListY + kListHeight - 2 * kButtonHeight - kButtonGap, kSideWidth, kButtonHeight},
    {"BUTTON", kListClearAll, "Ca&ncel All", kButtonStyle, kSideX, kListY + kListHeight - kButtonHeight, kSideWidth,
     kButtonHeight},
    {"BUTTON", kListOk, "OK(&O)", WS_TABSTOP | BS_DEFPUSHBUTTON, kBottomX - 2 * (kBottomWidth + kButtonGap),
     kBottomY, kBottomWidth, kButtonHeight},
    {"BUTTON", kListCancel, "Cancel(&C)", kButtonStyle, kBottomX - (kBottomWidth + kButtonGap), kBottomY,
     kBottomWidth, kButtonHeight},
    {"BUTTON", kListApply, "Apply(&P)", kButtonStyle, kBottomX, kBottomY, kBottomWidth, kButtonHeight},
};

// The open list's state, attached to its window.
struct AlarmListState {
    HWND rows = nullptr;  // child of the window
    win::AutoFont font;
};

AlarmListState* StateOf(HWND window) { return win::WindowState<AlarmListState>(window); }

int RowCount(HWND rows) { return ListView_GetItemCount(rows); }

std::vector<bool> Checks(HWND rows) {
    std::vector<bool> checks(static_cast<std::size_t>(RowCount(rows)));
    for (int r = 0; r < RowCount(rows); ++r) checks[static_cast<std::size_t>(r)] = ListView_GetCheckState(rows, r);
    return checks;
}

int SelectedRow(HWND rows) { return ListView_GetNextItem(rows, -1, LVNI_SELECTED); }

void SelectRow(HWND rows, int row) {
    if (row < 0 || row >= RowCount(rows)) return;
    ListView_SetItemState(rows, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(rows, row, FALSE);
}

// Builds one row per stored item; checks come from the records unless given.
void BuildRows(HWND rows, const std::vector<bool>* checks = nullptr) {
    SendMessageA(rows, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(rows);
    const AlarmItems items = ReadAllAlarmItems(StoredItemCount());
    for (int n = 1; n <= items.Count(); ++n) {
        const AlarmItem& item = *items.At(n);
        std::string text = ListRowText(item);
        LVITEMA row{};
        row.mask = LVIF_TEXT;
        row.iItem = n - 1;
        row.pszText = text.data();
        const int at = static_cast<int>(SendMessageA(rows, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row)));
        const bool checked = checks && static_cast<std::size_t>(n - 1) < checks->size()
                                 ? (*checks)[static_cast<std::size_t>(n - 1)]
                                 : item.itemState != 0;
        ListView_SetCheckState(rows, at, checked);
    }
    SendMessageA(rows, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(rows, nullptr, TRUE);
}

void SetAllChecks(HWND rows, bool checked) {
    for (int r = 0; r < RowCount(rows); ++r) ListView_SetCheckState(rows, r, checked);
}

// OK and Apply: each row's check becomes its item's state, then the scheduler reloads.
void StoreChecks(HWND rows) {
    const std::vector<bool> checks = Checks(rows);
    for (std::size_t r = 0; r < checks.size(); ++r) SetAlarmItemState(static_cast<int>(r) + 1, checks[r] ? 1 : 0);
    LoadAlarmItems();
}

void OnDelete(HWND rows) {
    const int row = SelectedRow(rows);
    if (row < 0) return;
    // The store moves the last item into the gap; the rows are rebuilt to match, keeping the
    // checks the user has set but not stored yet.
    std::vector<bool> checks = Checks(rows);
    DeleteAlarmItem(row + 1);
    ApplyDeleteToRows(checks, row + 1);
    BuildRows(rows, &checks);
    SelectRow(rows, row < RowCount(rows) ? row : RowCount(rows) - 1);
}

void OnCommand(HWND window, const AlarmListState& state, int id) {
    HWND rows = state.rows;
    switch (id) {
    case kListAdd: ShowAddEditor(GetWindow(window, GW_OWNER)); break;
    case kListModify:
        if (SelectedRow(rows) >= 0) ShowModifyEditor(GetWindow(window, GW_OWNER), SelectedRow(rows) + 1);
        break;
    case kListDelete: OnDelete(rows); break;
    case kListSelectAll: SetAllChecks(rows, true); break;
    case kListClearAll: SetAllChecks(rows, false); break;
    case kListApply: StoreChecks(rows); break;
    case kListOk:
        StoreChecks(rows);
        DestroyWindow(window);
        break;
    case kListCancel: DestroyWindow(window); break;
    default: break;
    }
}

void OnCreate(HWND window) {
    AlarmListState* state = win::AttachWindowState(window, std::make_unique<AlarmListState>());
    state->font = toolkit::CreateDialogFont(window);
    toolkit::CreateControls(window, state->font.get(), kControls);
    state->rows = GetDlgItem(window, kListRows);
    ListView_SetExtendedListViewStyle(state->rows, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    LVCOLUMNA column{};
    column.mask = LVCF_WIDTH;
    column.cx = dpi::ForWindow(window, kListWidth - 4) - GetSystemMetrics(SM_CXVSCROLL);
    SendMessageA(state->rows, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    BuildRows(state->rows);
    SelectRow(state->rows, 0);
    win::AddModelessWindow(window);
}

LRESULT CALLBACK AlarmListProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CREATE) {
        OnCreate(window);
        return 0;
    }
    const AlarmListState* state = StateOf(window);
    if (!state) return DefWindowProcA(window, msg, wp, lp);
    switch (msg) {
    case WM_COMMAND: OnCommand(window, *state, LOWORD(wp)); return 0;
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE) SetFocus(state->rows);
        return 0;
    case WM_DESTROY: win::RemoveModelessWindow(window); return 0;
    case WM_NCDESTROY:
        win::DeleteWindowState<AlarmListState>(window);
        return DefWindowProcA(window, msg, wp, lp);
    default: return DefWindowProcA(window, msg, wp, lp);
    }
}

}  // namespace

HWND ShowAlarmList(HWND owner) {
    if (HWND open = AlarmListWindow()) {
        toolkit::BringToFront(open);
        return open;
    }
    toolkit::RegisterToolWindowClass(kClassName, AlarmListProc, ICC_LISTVIEW_CLASSES);
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    HWND window = toolkit::CreateCentredToolWindow(kClassName, kTitle, style, kClientWidth, kClientHeight, owner);
    if (window) toolkit::BringToFront(window);
    return window;
}

void CloseAlarmList() {
    if (HWND open = AlarmListWindow()) DestroyWindow(open);
}

HWND AlarmListWindow() { return toolkit::FindToolWindow(kClassName); }

}  // namespace alarms
