#include "toolkit/ControlTable.h"

#include "common/Dpi.h"
#include "common/WindowText.h"

#include <commctrl.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace toolkit {

namespace {

// Edit fields are Unicode windows: their limits (EM_LIMITTEXT) then count characters, where an
// ANSI edit counts the bytes of its code page. Their texts still pass through the A messages.
bool IsEdit(const char* className) { return className && lstrcmpiA(className, "EDIT") == 0; }

}  // namespace

Scale WindowScale(HWND window) { return DpiScale(dpi::WindowDpi(window)); }

HWND CreateChildControl(HWND parent, HFONT font, const ControlSpec& spec, Scale scale) {
    const DWORD style = WS_CHILD | WS_VISIBLE | spec.style;
    const auto menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id));
    HWND control = nullptr;
    if (IsEdit(spec.className)) {
        const std::wstring text = win::Wide(spec.text ? spec.text : "");
        control = CreateWindowExW(spec.exStyle, L"EDIT", text.c_str(), style, scale(spec.x), scale(spec.y),
                                  scale(spec.width), scale(spec.height), parent, menu, GetModuleHandleW(nullptr),
                                  nullptr);
    } else {
        control = CreateWindowExA(spec.exStyle, spec.className, spec.text, style, scale(spec.x), scale(spec.y),
                                  scale(spec.width), scale(spec.height), parent, menu, GetModuleHandleA(nullptr),
                                  nullptr);
    }
    if (control && font) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

HWND CreateChildControl(HWND parent, HFONT font, const ControlSpec& spec) {
    return CreateChildControl(parent, font, spec, WindowScale(parent));
}

bool CreateControls(HWND parent, HFONT font, std::span<const ControlSpec> rows, Scale scale) {
    bool all = true;
    for (const ControlSpec& row : rows) all = CreateChildControl(parent, font, row, scale) != nullptr && all;
    FollowDpiChanges(parent);
    return all;
}

bool CreateControls(HWND parent, HFONT font, std::span<const ControlSpec> rows) {
    return CreateControls(parent, font, rows, WindowScale(parent));
}

namespace {

constexpr char kFollowProperty[] = "Zentaro.DpiFollow";

// A child's place as a table row gives it: left, top, width and height, each scaled alone.
struct ControlSpecBox {
    int x = 0, y = 0, width = 0, height = 0;
};

// What a following window keeps: its procedure before, the DPI it is laid out at and the fonts
// made for its children at that DPI.
struct DpiFollow {
    WNDPROC previous = nullptr;
    int dpi = dpi::kBaseDpi;
    std::vector<HFONT> fonts;  // owned
    // Each child's rectangle and each font's height in 96-DPI units, taken at the first move,
    // so that moves back and forth do not add up rounding.
    std::map<HWND, ControlSpecBox> units;
    std::map<HFONT, LOGFONTA> fontUnits;

    ~DpiFollow() {
        for (HFONT f : fonts) DeleteObject(f);
    }
};

DpiFollow* FollowOf(HWND window) { return static_cast<DpiFollow*>(GetPropA(window, kFollowProperty)); }

bool IsComboBox(HWND window) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    return lstrcmpiA(name, "ComboBox") == 0;
}

// The font `font` at toDpi; reuses one made before for the same font.
HFONT RescaledFont(HFONT font, DpiFollow& follow, int toDpi, std::map<HFONT, HFONT>& made) {
    if (auto found = made.find(font); found != made.end()) return found->second;
    LOGFONTA lf{};
    HFONT result = nullptr;
    if (auto known = follow.fontUnits.find(font); known != follow.fontUnits.end()) {
        lf = known->second;
    } else if (GetObjectA(font, sizeof lf, &lf) == sizeof lf) {
        lf.lfHeight = dpi::Rescale(lf.lfHeight, follow.dpi, dpi::kBaseDpi);
        lf.lfWidth = dpi::Rescale(lf.lfWidth, follow.dpi, dpi::kBaseDpi);
    } else {
        made[font] = nullptr;
        return nullptr;
    }
    const LOGFONTA base = lf;
    lf.lfHeight = dpi::Scale(base.lfHeight, toDpi);
    lf.lfWidth = dpi::Scale(base.lfWidth, toDpi);
    result = CreateFontIndirectA(&lf);
    if (result) follow.fontUnits[result] = base;
    made[font] = result;
    return result;
}

// A child's place in 96-DPI units: taken from the window at the first move, kept after.
ControlSpecBox ChildUnits(HWND window, HWND child, DpiFollow& follow) {
    if (auto known = follow.units.find(child); known != follow.units.end()) return known->second;
    RECT r{};
    GetWindowRect(child, &r);
    // A drop-down combo box is sized with its list; its window rectangle is the closed box.
    if (IsComboBox(child) && (GetWindowLongPtrA(child, GWL_STYLE) & 3) != CBS_SIMPLE)
        SendMessageA(child, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    const auto unit = [&](LONG pixels) { return dpi::Rescale(static_cast<int>(pixels), follow.dpi, dpi::kBaseDpi); };
    const ControlSpecBox units{unit(r.left), unit(r.top), unit(r.right - r.left), unit(r.bottom - r.top)};
    follow.units[child] = units;
    return units;
}

// A list view's columns keep their share of its width: each width as it stands (the user may
// have dragged it) is taken from the old DPI to the new one.
void RescaleColumns(HWND child, int fromDpi, int toDpi) {
    char name[32] = {};
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, WC_LISTVIEWA) != 0) return;
    const auto header = reinterpret_cast<HWND>(SendMessageA(child, LVM_GETHEADER, 0, 0));
    const int count = header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    for (int column = 0; column < count; ++column) {
        const int width = static_cast<int>(SendMessageA(child, LVM_GETCOLUMNWIDTH, column, 0));
        SendMessageA(child, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(dpi::Rescale(width, fromDpi, toDpi), 0));
    }
}

void Relayout(HWND window, DpiFollow& follow, int newDpi) {
    std::map<HFONT, HFONT> made;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const ControlSpecBox u = ChildUnits(window, child, follow);
        if (auto font = reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0)))
            if (HFONT scaled = RescaledFont(font, follow, newDpi, made))
                SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(scaled), FALSE);
        SetWindowPos(child, nullptr, dpi::Scale(u.x, newDpi), dpi::Scale(u.y, newDpi), dpi::Scale(u.width, newDpi),
                     dpi::Scale(u.height, newDpi), SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
        RescaleColumns(child, follow.dpi, newDpi);
    }
    // The fonts of the old DPI go once no child uses them any more.
    std::vector<HFONT> kept;
    for (const auto& [old, scaled] : made)
        if (scaled) kept.push_back(scaled);
    for (HFONT f : follow.fonts) {
        follow.fontUnits.erase(f);
        DeleteObject(f);
    }
    follow.fonts = std::move(kept);
    follow.dpi = newDpi;
}

LRESULT CALLBACK FollowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    DpiFollow* follow = FollowOf(window);
    if (!follow) return DefWindowProcA(window, msg, wp, lp);
    const WNDPROC previous = follow->previous;
    if (msg == dpi::kDpiChangedMessage) {
        const int newDpi = LOWORD(wp) > 0 ? LOWORD(wp) : dpi::WindowDpi(window);
        if (newDpi != follow->dpi) Relayout(window, *follow, newDpi);
        if (const auto* suggested = reinterpret_cast<const RECT*>(lp))
            SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                         suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        CallWindowProcA(previous, window, msg, wp, lp);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        return 0;
    }
    if (msg == WM_NCDESTROY) {
        RemovePropA(window, kFollowProperty);
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        std::unique_ptr<DpiFollow> owned(follow);
        return CallWindowProcA(previous, window, msg, wp, lp);
    }
    return CallWindowProcA(previous, window, msg, wp, lp);
}

// Dialogs of a per-monitor (v2) process are otherwise rescaled by the platform as well.
void KeepPlatformOffDialog(HWND window) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, "#32770") != 0) return;
    using SetBehaviorFn = BOOL(WINAPI*)(HWND, int, int);
    static const auto setBehavior = reinterpret_cast<SetBehaviorFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "SetDialogDpiChangeBehavior")));
    constexpr int kDisableAll = 1;  // DDC_DISABLE_ALL
    if (setBehavior) setBehavior(window, kDisableAll, kDisableAll);
}

}  // namespace

void FollowDpiChanges(HWND window) {
    if (!window || FollowOf(window)) return;
    auto follow = std::make_unique<DpiFollow>();
    follow->dpi = dpi::WindowDpi(window);
    if (!SetPropA(window, kFollowProperty, follow.get())) return;
    follow->previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FollowProc)));
    follow.release();  // freed at WM_NCDESTROY
    KeepPlatformOffDialog(window);
}

int LaidOutDpi(HWND window) {
    const DpiFollow* follow = FollowOf(window);
    return follow ? follow->dpi : dpi::WindowDpi(window);
}

void PutFirstInTabOrder(HWND parent, std::initializer_list<int> ids) {
    HWND after = HWND_TOP;
    for (int id : ids) {
        HWND control = GetDlgItem(parent, id);
        if (!control) continue;
        SetWindowPos(control, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
        after = control;
    }
}

void PutLastInTabOrder(HWND parent, std::initializer_list<int> ids) {
    for (int id : ids) {
        if (HWND control = GetDlgItem(parent, id))
            SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
}

}  // namespace toolkit
