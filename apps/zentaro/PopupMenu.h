// The clock's popup menu: builds it, records every item and draws each one itself in a flat
// style (etched separators, framed selection). Owns the popup; destroying it destroys the
// submenus attached to its items.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "common/Handles.h"

namespace zentaro {

struct MenuItemRecord {
    int textLength = 0;  // bytes of text in the ANSI code page
    std::string text;    // caption; "&" marks the access key
    UINT typeFlags = 0;  // type as first added: 0 plain, 32 framed, 2048 separator
};

class PopupMenu {
public:
    // Every method returns 0 on success or the failing step's error code.
    int CreatePopMenu();
    // A further popup, returned in *subMenu and not kept: it belongs to the item it is
    // attached to (or to the caller, if never attached).
    int CreatePopSubMenu(HMENU* subMenu);
    int AddMenuItem(UINT id, const char* mnuText, UINT fType, UINT fState, bool subMenu,
                    HMENU lngSubhMenu);
    int AddSubMenu(const char* mnuText, UINT SubMenuID, UINT fType, UINT fState, HMENU lngSubhMenu);
    // Records every item (submenu items follow their parent) and makes it owner-drawn with
    // its table index as item data.
    int OnCreate();
    int OnMeasureItem(HWND wnd, LPARAM lParam);
    int OnDrawItem(LPARAM lParam);
    // Shows the popup at the mouse cursor; the chosen command goes to wnd.
    int PopMenu(HWND wnd);
    // Shows the popup with its top-left corner at `at` (screen pixels). Opened from the
    // keyboard, its first item is selected so the arrows and Enter work at once. Closed without
    // a command, the foreground goes back to the window that had it before; *chosen (when
    // given) tells whether a command was chosen.
    int PopMenuAt(HWND wnd, POINT at, bool fromKeyboard, bool* chosen = nullptr);
    int SetMenuText(UINT uItem, const char* mnuText, UINT id);

    HMENU Handle() const { return popup_.get(); }
    const std::vector<MenuItemRecord>& Records() const { return items_; }
    int RecordedCount() const { return static_cast<int>(items_.size()); }

private:
    int Record(HMENU menu, UINT position);
    const MenuItemRecord* RecordOf(ULONG_PTR itemData) const;

    win::AutoMenu popup_;
    std::vector<MenuItemRecord> items_;
};

// Builds the clock's menu in its building order: popup, Help submenu, items 0 to 12, the
// submenu's items, items 13 to 15, then OnCreate.
int BuildClockMenu(PopupMenu& menu);

}  // namespace zentaro
