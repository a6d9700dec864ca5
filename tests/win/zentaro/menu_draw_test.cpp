// The clock's popup menu: content after building, measuring and owner drawing (pixels of a
// memory surface), relabelling, and opening at the cursor.
#include "common/Handles.h"
#include "apps/zentaro/MenuLayout.h"
#include "apps/zentaro/PopupMenu.h"
#include "tests/win/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

namespace {

constexpr char kHostClass[] = "MenuDrawTestHost";

zentaro::PopupMenu* g_menu = nullptr;  // the menu under test; its host window answers for it

LRESULT CALLBACK HostProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_MEASUREITEM && g_menu && g_menu->OnMeasureItem(w, lp) == 0) return TRUE;
    if (m == WM_DRAWITEM && g_menu && g_menu->OnDrawItem(lp) == 0) return TRUE;
    return DefWindowProcA(w, m, wp, lp);
}

class MenuDraw : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA wc{};
        wc.lpfnWndProc = HostProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kHostClass;
        RegisterClassA(&wc);
        host_.reset(CreateWindowExA(0, kHostClass, "host", WS_POPUP, 10, 10, 50, 50, nullptr, nullptr,
                                    wc.hInstance, nullptr));
        ASSERT_TRUE(host_);
        ASSERT_EQ(zentaro::BuildClockMenu(menu_), 0);
        g_menu = &menu_;
    }
    void TearDown() override { g_menu = nullptr; }

    // Index of the item's record in the table, as the item data says.
    ULONG_PTR ItemData(HMENU m, UINT pos) {
        MENUITEMINFOA mi{};
        mi.cbSize = sizeof mi;
        mi.fMask = MIIM_DATA;
        GetMenuItemInfoA(m, pos, TRUE, &mi);
        return mi.dwItemData;
    }
    UINT ItemType(HMENU m, UINT pos) {
        MENUITEMINFOA mi{};
        mi.cbSize = sizeof mi;
        mi.fMask = MIIM_FTYPE;
        GetMenuItemInfoA(m, pos, TRUE, &mi);
        return mi.fType;
    }

    // Draws record `index` into a fresh surface filled with kUntouched, the item spanning
    // (0, 0)-(width, height).
    static constexpr COLORREF kUntouched = RGB(255, 0, 255);
    void DrawInto(int index, bool selected, int width, int height) {
        win::WindowDC screen(nullptr);
        dc_.reset(CreateCompatibleDC(screen.get()));
        bmp_.reset(CreateCompatibleBitmap(screen.get(), width, height));
        select_ = std::make_unique<win::ScopedSelect>(dc_.get(), bmp_.get());
        RECT all{0, 0, width, height};
        win::AutoBrush fill(CreateSolidBrush(kUntouched));
        FillRect(dc_.get(), &all, fill.get());
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_MENU;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = selected ? ODS_SELECTED : 0;
        dis.hDC = dc_.get();
        dis.rcItem = all;
        dis.itemData = static_cast<ULONG_PTR>(index);
        ASSERT_EQ(menu_.OnDrawItem(reinterpret_cast<LPARAM>(&dis)), 0);
    }
    COLORREF At(int x, int y) { return GetPixel(dc_.get(), x, y); }

    win::AutoWindow host_;
    zentaro::PopupMenu menu_;
    win::AutoMemDC dc_;
    win::AutoBitmap bmp_;
    std::unique_ptr<win::ScopedSelect> select_;
};

int RecordIndexOf(const zentaro::PopupMenu& m, const char* text) {
    const auto& recs = m.Records();
    for (size_t i = 0; i < recs.size(); ++i) {
        if (recs[i].text == text) return static_cast<int>(i);
    }
    return -1;
}

TEST_F(MenuDraw, ContentIsTheTableOwnerDrawnWithTableIndicesAsItemData) {
    HMENU popup = menu_.Handle();
    const auto top = menu::TopLevel();
    ASSERT_EQ(GetMenuItemCount(popup), 16);
    ASSERT_EQ(menu_.RecordedCount(), 18);
    int index = 0;
    for (UINT pos = 0; pos < top.size(); ++pos) {
        SCOPED_TRACE(pos);
        MENUITEMINFOA idInfo{};
        idInfo.cbSize = sizeof idInfo;
        idInfo.fMask = MIIM_ID;
        GetMenuItemInfoA(popup, pos, TRUE, &idInfo);
        EXPECT_EQ(idInfo.wID, top[pos].id);
        // A separator stays one, so the arrow keys pass over it.
        EXPECT_EQ(ItemType(popup, pos), static_cast<UINT>(MFT_OWNERDRAW | (top[pos].type & MFT_SEPARATOR)));
        EXPECT_EQ(ItemData(popup, pos), static_cast<ULONG_PTR>(index));
        const zentaro::MenuItemRecord& rec = menu_.Records()[index];
        EXPECT_EQ(rec.text, top[pos].text);
        EXPECT_EQ(rec.textLength, static_cast<int>(rec.text.size()));
        EXPECT_EQ(rec.typeFlags, top[pos].type);
        ++index;
        if (HMENU sub = GetSubMenu(popup, pos)) {
            EXPECT_EQ(pos, menu::kHelpPosition);
            ASSERT_EQ(GetMenuItemCount(sub), 2);
            for (UINT j = 0; j < 2; ++j) {
                EXPECT_EQ(GetMenuItemID(sub, j), menu::HelpSubmenu()[j].id);
                EXPECT_EQ(ItemType(sub, j), static_cast<UINT>(MFT_OWNERDRAW));
                EXPECT_EQ(ItemData(sub, j), static_cast<ULONG_PTR>(index));
                EXPECT_EQ(menu_.Records()[index].text, menu::HelpSubmenu()[j].text);
                ++index;
            }
        }
    }
    // Every item starts enabled and unchecked.
    for (UINT pos = 0; pos < top.size(); ++pos) {
        MENUITEMINFOA mi{};
        mi.cbSize = sizeof mi;
        mi.fMask = MIIM_STATE;
        GetMenuItemInfoA(popup, pos, TRUE, &mi);
        EXPECT_EQ(mi.fState, static_cast<UINT>(MFS_ENABLED)) << pos;
    }
}

TEST_F(MenuDraw, MeasureGivesSeparatorsSixPixelsAndOthersMenuHeightAndTextWidthPlus19) {
    for (int index : {1, RecordIndexOf(menu_, "Option(&O)..."), RecordIndexOf(menu_, "Exit(&X)"),
                      RecordIndexOf(menu_, "Website(&H)")}) {
        const zentaro::MenuItemRecord& rec = menu_.Records()[index];
        SCOPED_TRACE(rec.text);
        MEASUREITEMSTRUCT mis{};
        mis.CtlType = ODT_MENU;
        mis.itemData = static_cast<ULONG_PTR>(index);
        ASSERT_EQ(menu_.OnMeasureItem(host_.get(), reinterpret_cast<LPARAM>(&mis)), 0);
        SIZE extent{};
        {
            win::WindowDC dc(host_.get());
            if (rec.textLength) GetTextExtentPoint32A(dc.get(), rec.text.c_str(), rec.textLength, &extent);
        }
        EXPECT_EQ(static_cast<int>(mis.itemWidth), extent.cx + 19);
        EXPECT_EQ(static_cast<int>(mis.itemHeight),
                  rec.typeFlags == menu::kTypeSeparator ? 6 : GetSystemMetrics(SM_CYMENU));
    }
    MEASUREITEMSTRUCT notMenu{};
    notMenu.CtlType = ODT_BUTTON;
    EXPECT_NE(menu_.OnMeasureItem(host_.get(), reinterpret_cast<LPARAM>(&notMenu)), 0);
    MEASUREITEMSTRUCT unknown{};
    unknown.CtlType = ODT_MENU;
    unknown.itemData = 999;
    EXPECT_NE(menu_.OnMeasureItem(host_.get(), reinterpret_cast<LPARAM>(&unknown)), 0);
}

TEST_F(MenuDraw, SelectedFramedItemHasOneSunkenFrameRoundTheWholeItem) {
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF fill = GetSysColor(COLOR_HIGHLIGHT);
    DrawInto(RecordIndexOf(menu_, "Exit(&X)"), true, 120, 19);
    struct Probe { const char* what; int x, y; COLORREF expect; };
    const Probe probes[] = {
        {"top-left corner", 0, 0, shadow},
        {"top edge across the box column", 19, 0, shadow},
        {"left edge", 0, 10, shadow},
        {"bottom edge", 60, 18, light},
        {"right edge", 119, 10, light},
        {"no box edge at x = 18", 18, 10, fill},
        {"no frame edge at x = 20", 20, 10, fill},
        {"inside is the highlight colour", 10, 10, fill},
    };
    for (const Probe& p : probes) EXPECT_EQ(At(p.x, p.y), p.expect) << p.what;
}

TEST_F(MenuDraw, SelectedPlainItemHasRaisedBoxAndSunkenFrameFromX20) {
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF fill = GetSysColor(COLOR_HIGHLIGHT);
    DrawInto(RecordIndexOf(menu_, "Option(&O)..."), true, 120, 19);
    struct Probe { const char* what; int x, y; COLORREF expect; };
    const Probe probes[] = {
        {"box top-left is raised", 0, 0, light},
        {"box left edge", 0, 9, light},
        {"box right edge at x = 18", 18, 9, shadow},
        {"box bottom edge", 9, 18, shadow},
        {"gap column x = 19", 19, 9, fill},
        {"inside the box", 9, 9, fill},
        {"frame left edge at x = 20", 20, 9, shadow},
        {"frame top edge", 60, 0, shadow},
        {"frame right edge", 119, 9, light},
        {"frame bottom edge", 60, 18, light},
    };
    for (const Probe& p : probes) EXPECT_EQ(At(p.x, p.y), p.expect) << p.what;
    int textPixels = 0;
    const COLORREF text = GetSysColor(COLOR_HIGHLIGHTTEXT);
    for (int y = 2; y < 17; ++y) {
        for (int x = 23; x < 118; ++x) textPixels += At(x, y) == text;
    }
    EXPECT_GT(textPixels, 20) << "caption in the highlight-text colour";
}

TEST_F(MenuDraw, UnselectedItemIsFilledWithMenuColourAndTextStartsAtX23) {
    const COLORREF menuColour = GetSysColor(COLOR_MENU), textColour = GetSysColor(COLOR_MENUTEXT);
    DrawInto(RecordIndexOf(menu_, "Calendar(&W)..."), false, 140, 19);
    int textLeft = 140, textPixels = 0, other = 0;
    for (int y = 0; y < 19; ++y) {
        for (int x = 0; x < 140; ++x) {
            const COLORREF c = At(x, y);
            if (c == menuColour) continue;
            if (c == textColour) { ++textPixels; textLeft = std::min(textLeft, x); } else { ++other; }
        }
    }
    EXPECT_GT(textPixels, 20);
    EXPECT_GE(textLeft, 23);
    EXPECT_LT(textLeft, 30);
    EXPECT_EQ(At(0, 0), menuColour);
    EXPECT_EQ(At(139, 18), menuColour);
}

TEST_F(MenuDraw, SeparatorHasEtchedLineTwoBelowTopFromX3) {
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF menuColour = GetSysColor(COLOR_MENU);
    DrawInto(1, false, 100, 6);
    struct Probe { const char* what; int x, y; COLORREF expect; };
    const Probe probes[] = {
        {"line starts at x = 3", 3, 2, shadow},
        {"its light half below", 3, 3, light},
        {"nothing left of x = 3", 2, 2, menuColour},
        {"line ends before right - 3", 96, 2, shadow},
        {"nothing from right - 3", 97, 2, menuColour},
        {"nothing above the line", 50, 1, menuColour},
        {"nothing below the line", 50, 4, menuColour},
    };
    for (const Probe& p : probes) EXPECT_EQ(At(p.x, p.y), p.expect) << p.what;
}

TEST_F(MenuDraw, SetMenuTextChangesIdentifierAndCaptionOfPosition) {
    ASSERT_EQ(menu_.SetMenuText(0, menu::kTextResume, menu::kCmdResume), 0);
    EXPECT_EQ(GetMenuItemID(menu_.Handle(), 0), menu::kCmdResume);
    EXPECT_EQ(menu_.Records()[0].text, "Resume(&M)");
    EXPECT_EQ(menu_.Records()[0].textLength, 10);
    EXPECT_EQ(menu_.Records()[1].textLength, 0) << "neighbour untouched";
    ASSERT_EQ(menu_.SetMenuText(0, menu::kTextMinimise, menu::kCmdMinimise), 0);
    EXPECT_EQ(GetMenuItemID(menu_.Handle(), 0), menu::kCmdMinimise);
    EXPECT_EQ(menu_.Records()[0].text, "Minimized(&M)");
}

TEST_F(MenuDraw, MethodsReportAMissingMenu) {
    zentaro::PopupMenu empty;
    EXPECT_NE(empty.AddMenuItem(1, "x", 0, 0, false, nullptr), 0);
    EXPECT_NE(empty.OnCreate(), 0);
    EXPECT_NE(empty.SetMenuText(0, "x", 1), 0);
    EXPECT_NE(empty.PopMenu(host_.get()), 0);
    EXPECT_NE(empty.AddSubMenu("x", 1, 0, 0, nullptr), 0);
}

// The popup opens with its top-left corner at the cursor; a timer inside the menu's own loop
// finds the menu window and closes it.
RECT g_popupRect{};
bool g_popupSeen = false;
void CALLBACK FindPopup(HWND, UINT, UINT_PTR id, DWORD) {
    // Only this process's menu: other test programs may show theirs on the same desktop.
    for (HWND popup = FindWindowExA(nullptr, nullptr, "#32768", nullptr); popup;
         popup = FindWindowExA(nullptr, popup, "#32768", nullptr)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(popup, &pid);
        if (pid != GetCurrentProcessId() || !IsWindowVisible(popup)) continue;
        GetWindowRect(popup, &g_popupRect);
        g_popupSeen = true;
        KillTimer(nullptr, id);
        EndMenu();
        return;
    }
}

TEST_F(MenuDraw, PopMenuOpensAtTheCursor) {
    ShowWindow(host_.get(), SW_SHOWNORMAL);
    ASSERT_TRUE(SetCursorPos(210, 160));
    POINT cursor{};
    GetCursorPos(&cursor);
    g_popupSeen = false;
    // Other test programs share the desktop: one that takes the foreground closes the menu
    // before it is seen, so the menu is opened again a few times.
    for (int attempt = 0; attempt < 5 && !g_popupSeen; ++attempt) {
        SetCursorPos(cursor.x, cursor.y);
        UINT_PTR timer = SetTimer(nullptr, 0, 20, FindPopup);
        EXPECT_EQ(menu_.PopMenu(host_.get()), 0);
        KillTimer(nullptr, timer);
    }
    ASSERT_TRUE(g_popupSeen);
    EXPECT_EQ(g_popupRect.left, cursor.x);
    EXPECT_EQ(g_popupRect.top, cursor.y);
    // 16 items: 6 separators of 6 px and 10 items a menu bar high, plus the menu's border.
    const int itemsHeight = 6 * 6 + 10 * GetSystemMetrics(SM_CYMENU);
    EXPECT_GE(g_popupRect.bottom - g_popupRect.top, itemsHeight);
    EXPECT_LE(g_popupRect.bottom - g_popupRect.top, itemsHeight + 12);
    // A null message follows the menu so that the window's next input is handled at once.
    MSG msg{};
    EXPECT_TRUE(PeekMessageA(&msg, host_.get(), WM_NULL, WM_NULL, PM_REMOVE));
}

}  // namespace
