#include "apps/zentaro/PopupMenu.h"

#include <algorithm>
#include <cstring>

#include "apps/zentaro/MenuLayout.h"
#include "common/Dpi.h"

namespace zentaro {

namespace {

constexpr int kErrNoMenu = ERROR_INVALID_MENU_HANDLE;
constexpr int kTextBufferSize = 256;

int LastErrorOr(int fallback) {
    const DWORD e = GetLastError();
    return e ? static_cast<int>(e) : fallback;
}

RECT ToRect(const menu::Rect& r) { return {r.left, r.top, r.right, r.bottom}; }
menu::Rect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// The font selected into dc made anew for toDpi; none when the DPIs agree (the DC's own font
// serves).
win::AutoFont ScaledDcFont(HDC dc, int fromDpi, int toDpi) {
    if (fromDpi == toDpi) return win::AutoFont();
    LOGFONTA lf{};
    if (GetObjectA(GetCurrentObject(dc, OBJ_FONT), sizeof lf, &lf) != sizeof lf) return win::AutoFont();
    lf.lfHeight = dpi::Rescale(lf.lfHeight, fromDpi, toDpi);
    lf.lfWidth = dpi::Rescale(lf.lfWidth, fromDpi, toDpi);
    return win::AutoFont(CreateFontIndirectA(&lf));
}

int AppendItem(HMENU menu, UINT id, const char* text, UINT fType, UINT fState, HMENU sub) {
    MENUITEMINFOA mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_ID | MIIM_TYPE | MIIM_STATE | (sub ? MIIM_SUBMENU : 0);
    mi.fType = fType;
    mi.fState = fState;
    mi.wID = id;
    mi.hSubMenu = sub;
    // A separator carries no text; the platform rejects MFT_STRING data on one.
    if (!(fType & MFT_SEPARATOR)) {
        mi.dwTypeData = const_cast<char*>(text ? text : "");
        mi.cch = static_cast<UINT>(std::strlen(mi.dwTypeData));
    }
    SetLastError(0);
    if (!InsertMenuItemA(menu, GetMenuItemCount(menu), TRUE, &mi)) return LastErrorOr(kErrNoMenu);
    return 0;
}

}  // namespace

int PopupMenu::CreatePopMenu() {
    SetLastError(0);
    popup_.reset(CreatePopupMenu());
    return popup_ ? 0 : LastErrorOr(kErrNoMenu);
}

int PopupMenu::CreatePopSubMenu(HMENU* subMenu) {
    SetLastError(0);
    *subMenu = CreatePopupMenu();
    return *subMenu ? 0 : LastErrorOr(kErrNoMenu);
}

int PopupMenu::AddMenuItem(UINT id, const char* mnuText, UINT fType, UINT fState, bool subMenu,
                         HMENU lngSubhMenu) {
    if (!popup_) return kErrNoMenu;
    return AppendItem(popup_.get(), id, mnuText, fType, fState, subMenu ? lngSubhMenu : nullptr);
}

int PopupMenu::AddSubMenu(const char* mnuText, UINT SubMenuID, UINT fType, UINT fState,
                        HMENU lngSubhMenu) {
    if (!lngSubhMenu) return kErrNoMenu;
    return AppendItem(lngSubhMenu, SubMenuID, mnuText, fType, fState, nullptr);
}

int PopupMenu::Record(HMENU menu, UINT position) {
    char text[kTextBufferSize] = {};
    MENUITEMINFOA mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_ID | MIIM_TYPE;
    mi.dwTypeData = text;
    mi.cch = kTextBufferSize - 1;
    SetLastError(0);
    if (!GetMenuItemInfoA(menu, position, TRUE, &mi)) return LastErrorOr(kErrNoMenu);
    text[kTextBufferSize - 1] = '\0';

    MenuItemRecord rec;
    rec.typeFlags = mi.fType;
    // A separator's text buffer is left as it was: empty.
    rec.text = (mi.fType & MFT_SEPARATOR) ? std::string() : std::string(text);
    rec.textLength = static_cast<int>(rec.text.size());

    MENUITEMINFOA owner{};
    owner.cbSize = sizeof owner;
    owner.fMask = MIIM_FTYPE | MIIM_DATA;
    // A separator stays one: the arrow keys pass over it and a reader does not announce an
    // empty item. Every other item keeps its caption string for readers.
    owner.fType = MFT_OWNERDRAW | (mi.fType & MFT_SEPARATOR);
    owner.dwItemData = items_.size();
    SetLastError(0);
    if (!SetMenuItemInfoA(menu, position, TRUE, &owner)) return LastErrorOr(kErrNoMenu);
    items_.push_back(std::move(rec));
    return 0;
}

int PopupMenu::OnCreate() {
    if (!popup_) return kErrNoMenu;
    items_.clear();
    const int count = GetMenuItemCount(popup_.get());
    for (int i = 0; i < count; ++i) {
        if (int err = Record(popup_.get(), static_cast<UINT>(i))) return err;
        if (HMENU sub = GetSubMenu(popup_.get(), i)) {
            const int subCount = GetMenuItemCount(sub);
            for (int j = 0; j < subCount; ++j) {
                if (int err = Record(sub, static_cast<UINT>(j))) return err;
            }
        }
    }
    return 0;
}

const MenuItemRecord* PopupMenu::RecordOf(ULONG_PTR itemData) const {
    return itemData < items_.size() ? &items_[itemData] : nullptr;
}

int PopupMenu::OnMeasureItem(HWND wnd, LPARAM lParam) {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (!mis || mis->CtlType != ODT_MENU) return ERROR_INVALID_PARAMETER;
    const MenuItemRecord* rec = RecordOf(mis->itemData);
    if (!rec) return ERROR_INVALID_PARAMETER;
    // The caption is drawn in the menu font made for the window's DPI; the menu height follows
    // the same DPI (the system's metrics are at the platform's DPI).
    const int at = dpi::WindowDpi(wnd);
    const int platform = dpi::PlatformWindowDpi(nullptr);
    SIZE extent{};
    {
        win::WindowDC dc(wnd);  // the window's screen surface with its default font
        if (dc.get() && rec->textLength > 0) {
            win::AutoFont font = ScaledDcFont(dc.get(), platform, at);
            win::ScopedSelect select(dc.get(), font ? font.get() : GetCurrentObject(dc.get(), OBJ_FONT));
            GetTextExtentPoint32A(dc.get(), rec->text.c_str(), rec->textLength, &extent);
        }
    }
    const menu::Size size =
        menu::MeasureItem(rec->typeFlags, extent.cx, dpi::Rescale(GetSystemMetrics(SM_CYMENU), platform, at), at);
    mis->itemWidth = static_cast<UINT>(size.width);
    mis->itemHeight = static_cast<UINT>(size.height);
    return 0;
}

int PopupMenu::OnDrawItem(LPARAM lParam) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
    if (!dis || dis->CtlType != ODT_MENU) return ERROR_INVALID_PARAMETER;
    const MenuItemRecord* rec = RecordOf(dis->itemData);
    if (!rec) return ERROR_INVALID_PARAMETER;
    HDC dc = dis->hDC;  // not owned: lent by the menu for this message
    const int at = dpi::WindowDpi(WindowFromDC(dc));
    const menu::ItemRects parts = menu::SplitItem(FromRect(dis->rcItem), at);
    win::AutoFont font = ScaledDcFont(dc, dpi::PlatformWindowDpi(nullptr), at);
    win::ScopedSelect selectFont(dc, font ? font.get() : GetCurrentObject(dc, OBJ_FONT));
    RECT item = dis->rcItem;
    RECT box = ToRect(parts.box);
    RECT frame = ToRect(parts.frame);
    RECT text = ToRect(parts.text);

    const bool selected = (dis->itemState & ODS_SELECTED) != 0;
    const COLORREF color =
        GetSysColor(selected && rec->textLength > 0 ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    win::ScopedTextStyle style(dc, TRANSPARENT, color);
    if (selected && rec->textLength > 0) {
        // The highlight-text colour is only legible on the highlight colour: on the menu
        // colour of most schemes it is white on near-white.
        FillRect(dc, &item, GetSysColorBrush(COLOR_HIGHLIGHT));
        DrawTextA(dc, rec->text.c_str(), rec->textLength, &text, DT_SINGLELINE | DT_VCENTER);
        if (menu::IsFramed(rec->typeFlags)) {
            DrawEdge(dc, &item, BDR_SUNKENOUTER, BF_RECT);
        } else {
            DrawEdge(dc, &box, BDR_RAISEDINNER, BF_RECT);
            DrawEdge(dc, &frame, BDR_SUNKENOUTER, BF_RECT);
        }
    } else {
        FillRect(dc, &item, GetSysColorBrush(COLOR_MENU));
        if (rec->textLength > 0) {
            DrawTextA(dc, rec->text.c_str(), rec->textLength, &text, DT_SINGLELINE | DT_VCENTER);
        }
    }
    if (menu::IsSeparator(rec->typeFlags)) {
        RECT line = ToRect(menu::SeparatorLine(FromRect(dis->rcItem), at));
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    }
    return 0;
}

int PopupMenu::PopMenu(HWND wnd) {
    POINT at{};
    GetCursorPos(&at);
    return PopMenuAt(wnd, at, false);
}

int PopupMenu::PopMenuAt(HWND wnd, POINT at, bool fromKeyboard, bool* chosen) {
    if (chosen) *chosen = false;
    if (!popup_) return kErrNoMenu;
    const HWND before = GetForegroundWindow();  // not owned
    // The menu closes on a click elsewhere only when its owner is the foreground window; the
    // posted null message lets the next click reach the menu loop promptly.
    SetForegroundWindow(wnd);
    // The menu loop takes this key as its first input: it selects the first item, as a menu
    // opened from the keyboard does.
    if (fromKeyboard) PostMessageA(wnd, WM_KEYDOWN, VK_DOWN, 0);
    SetLastError(0);
    // The command comes back here and is posted as the menu would post it, so that a menu
    // closed without one can give the foreground back.
    const UINT command = static_cast<UINT>(TrackPopupMenu(
        popup_.get(), TPM_LEFTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, at.x, at.y, 0, wnd, nullptr));
    const DWORD error = GetLastError();
    if (command != 0) {
        PostMessageA(wnd, WM_COMMAND, command, 0);
        if (chosen) *chosen = true;
    } else if (before && before != wnd && IsWindow(before) && IsWindowVisible(before) &&
               GetForegroundWindow() == wnd) {
        SetForegroundWindow(before);
    }
    // A key posted for a menu that did not open is not left for the window.
    if (fromKeyboard) {
        MSG stale{};
        if (PeekMessageA(&stale, wnd, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE) && stale.wParam == VK_DOWN)
            PeekMessageA(&stale, wnd, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE);
    }
    PostMessageA(wnd, WM_NULL, 0, 0);
    return command != 0 || error == 0 ? 0 : static_cast<int>(error);
}

int PopupMenu::SetMenuText(UINT uItem, const char* mnuText, UINT id) {
    if (!popup_) return kErrNoMenu;
    MENUITEMINFOA mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_ID;
    mi.wID = id;
    SetLastError(0);
    if (!SetMenuItemInfoA(popup_.get(), uItem, TRUE, &mi)) return LastErrorOr(kErrNoMenu);
    if (uItem >= items_.size()) return ERROR_INVALID_INDEX;
    items_[uItem].text = mnuText ? mnuText : "";
    items_[uItem].textLength = static_cast<int>(items_[uItem].text.size());
    return 0;
}

int BuildClockMenu(PopupMenu& m) {
    if (int err = m.CreatePopMenu()) return err;
    HMENU help = nullptr;
    if (int err = m.CreatePopSubMenu(&help)) return err;
    const auto top = menu::TopLevel();
    int err = 0;
    auto add = [&](const menu::Entry& e, bool withSub) {
        if (!err) err = m.AddMenuItem(e.id, e.text, e.type, MFS_ENABLED, withSub, help);
    };
    for (std::size_t i = 0; i <= menu::kHelpPosition; ++i) add(top[i], i == menu::kHelpPosition);
    if (err) {
        DestroyMenu(help);  // never attached: still the caller's
        return err;
    }
    for (const menu::Entry& e : menu::HelpSubmenu()) {
        if (!err) err = m.AddSubMenu(e.text, e.id, e.type, MFS_ENABLED, help);
    }
    for (std::size_t i = menu::kHelpPosition + 1; i < top.size(); ++i) add(top[i], false);
    if (err) return err;
    return m.OnCreate();
}

}  // namespace zentaro
