#include "alarms/AlarmList.h"

#include "alarms/AlarmEditor.h"
#include "alarms/ListRow.h"
#include "common/MessageLoop.h"
#include "alarms/AlarmStore.h"
#include "alarms/Scheduler.h"
#include "common/Handles.h"
#include "toolkit/Dialog.h"
#include "toolkit/ToolWindow.h"

#include <commctrl.h>

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

struct ButtonSpec {
    int id;
    const char* caption;
    int x, y, width;
    DWORD style;
};

const ButtonSpec kButtons[] = {
    {kListAdd, "Add(&A)...", kSideX, kListY, kSideWidth, BS_PUSHBUTTON},
    {kListModify, "Modify(&M)", kSideX, kListY + (kButtonHeight + kButtonGap), kSideWidth, BS_PUSHBUTTON},
    {kListDelete, "Delete(&D)", kSideX, kListY + 2 * (kButtonHeight + kButtonGap), kSideWidth, BS_PUSHBUTTON},
    {kListSelectAll, "&Select All", kSideX, kListY + kListHeight - 2 * kButtonHeight - kButtonGap, kSideWidth,
     BS_PUSHBUTTON},
    {kListClearAll, "Ca&ncel All", kSideX, kListY + kListHeight - kButtonHeight, kSideWidth, BS_PUSHBUTTON},
    {kListOk, "OK(&O)", kClientWidth - kMargin - 3 * kBottomWidth - 2 * kButtonGap, kBottomY, kBottomWidth,
     BS_DEFPUSHBUTTON},
    {kListCancel, "Cancel(&C)", kClientWidth - kMargin - 2 * kBottomWidth - kButtonGap, kBottomY, kBottomWidth,
     BS_PUSHBUTTON},
    {kListApply, "Apply(&P)", kClientWidth - kMargin - kBottomWidth, kBottomY, kBottomWidth, BS_PUSHBUTTON},
};

struct AlarmListState {
    HWND window = nullptr;  // owned: destroyed by CloseAlarmList()
    HWND rows = nullptr;    // child of window
    win::AutoFont font;
};

AlarmListState& State() {
    static AlarmListState state;
    return state;
}

int RowCount() { return ListView_GetItemCount(State().rows); }

std::vector<bool> Checks() {
    std::vector<bool> checks(static_cast<std::size_t>(RowCount()));
    for (int r = 0; r < RowCount(); ++r) checks[static_cast<std::size_t>(r)] = ListView_GetCheckState(State().rows, r);
    return checks;
}

int SelectedRow() { return ListView_GetNextItem(State().rows, -1, LVNI_SELECTED); }

void SelectRow(int row) {
    if (row < 0 || row >= RowCount()) return;
    ListView_SetItemState(State().rows, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(State().rows, row, FALSE);
}

// Builds one row per stored item; checks come from the records unless given.
void BuildRows(const std::vector<bool>* checks = nullptr) {
    HWND rows = State().rows;
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

void SetAllChecks(bool checked) {
    for (int r = 0; r < RowCount(); ++r) ListView_SetCheckState(State().rows, r, checked);
}

// OK and Apply: each row's check becomes its item's state, then the scheduler reloads.
void StoreChecks() {
    const std::vector<bool> checks = Checks();
    for (std::size_t r = 0; r < checks.size(); ++r) SetAlarmItemState(static_cast<int>(r) + 1, checks[r] ? 1 : 0);
    LoadAlarmItems();
}

void OnDelete() {
    const int row = SelectedRow();
    if (row < 0) return;
    // The store moves the last item into the gap; the rows are rebuilt to match, keeping the
    // checks the user has set but not stored yet.
    std::vector<bool> checks = Checks();
    DeleteAlarmItem(row + 1);
    ApplyDeleteToRows(checks, row + 1);
    BuildRows(&checks);
    SelectRow(row < RowCount() ? row : RowCount() - 1);
}

void OnCommand(HWND window, int id) {
    switch (id) {
    case kListAdd: ShowAddEditor(GetWindow(window, GW_OWNER)); break;
    case kListModify:
        if (SelectedRow() >= 0) ShowModifyEditor(GetWindow(window, GW_OWNER), SelectedRow() + 1);
        break;
    case kListDelete: OnDelete(); break;
    case kListSelectAll: SetAllChecks(true); break;
    case kListClearAll: SetAllChecks(false); break;
    case kListApply: StoreChecks(); break;
    case kListOk:
        StoreChecks();
        CloseAlarmList();
        break;
    case kListCancel: CloseAlarmList(); break;
    default: break;
    }
}

void OnCreate(HWND window) {
    AlarmListState& state = State();
    state.window = window;
    state.font = toolkit::CreateDialogFont();
    const auto child = [&](const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id,
                           DWORD exStyle = 0) {
        return toolkit::CreateChildControl(window, state.font.get(), cls, text, style, x, y, w, h, id, exStyle);
    };
    child("BUTTON", kTitle, BS_GROUPBOX, kMargin, kFrameTop, kClientWidth - 2 * kMargin, kFrameHeight, -1);
    state.rows = child(WC_LISTVIEWA, "", WS_TABSTOP | WS_GROUP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL |
                                             LVS_SHOWSELALWAYS,
                       kListX, kListY, kListWidth, kListHeight, kListRows, WS_EX_CLIENTEDGE);
    ListView_SetExtendedListViewStyle(state.rows, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    LVCOLUMNA column{};
    column.mask = LVCF_WIDTH;
    column.cx = kListWidth - GetSystemMetrics(SM_CXVSCROLL) - 4;
    SendMessageA(state.rows, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    for (const ButtonSpec& b : kButtons)
        child("BUTTON", b.caption, WS_TABSTOP | b.style, b.x, b.y, b.width, kButtonHeight, b.id);
    BuildRows();
    SelectRow(0);
    win::AddModelessWindow(window);
}

LRESULT CALLBACK AlarmListProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE: OnCreate(window); return 0;
    case WM_COMMAND: OnCommand(window, LOWORD(wp)); return 0;
    case WM_CLOSE: CloseAlarmList(); return 0;
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE) SetFocus(State().rows);
        return 0;
    case WM_DESTROY: {
        win::RemoveModelessWindow(window);
        AlarmListState& state = State();
        state.window = nullptr;
        state.rows = nullptr;
        state.font.reset();
        return 0;
    }
    default: return DefWindowProcA(window, msg, wp, lp);
    }
}

}  // namespace

HWND ShowAlarmList(HWND owner) {
    AlarmListState& state = State();
    if (state.window) {
        toolkit::BringToFront(state.window);
        return state.window;
    }
    toolkit::RegisterToolWindowClass(kClassName, AlarmListProc, ICC_LISTVIEW_CLASSES);
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    HWND window = toolkit::CreateCentredToolWindow(kClassName, kTitle, style, kClientWidth, kClientHeight, owner);
    if (window) toolkit::BringToFront(window);
    return window;
}

void CloseAlarmList() {
    if (State().window) DestroyWindow(State().window);
}

HWND AlarmListWindow() { return State().window; }

}  // namespace alarms
