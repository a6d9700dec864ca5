#include "tests/win/support/TextFit.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "common/WindowText.h"

namespace testing_support {

namespace {

// Room the controls keep around their text, in pixels.
constexpr int kPushButtonPad = 3;    // each side: the raised edge and the focus rectangle
constexpr int kCheckGap = 4;         // between a check box's or radio button's glyph and its text
constexpr int kGroupBoxInset = 8;    // each side of a group box's title, as the frame leaves it
constexpr int kComboTextPad = 2;     // each side of the text in the closed box
constexpr int kSharedEdge = 1;       // an overlap this thin between a caption and a sibling is let pass

std::string ClassOf(HWND h) {
    char name[64] = {};
    GetClassNameA(h, name, sizeof name);
    return name;
}

std::string TextOf(HWND h) { return win::WindowText(h); }

bool IsClass(HWND h, const char* name) { return lstrcmpiA(ClassOf(h).c_str(), name) == 0; }

RECT ClientOf(HWND h) {
    RECT r{};
    GetClientRect(h, &r);
    return r;
}

// A control's DC with the font the control draws with selected: its WM_GETFONT, or the DC's own
// default (the system font), which is what a control without a font set draws with.
class ControlDC {
public:
    explicit ControlDC(HWND control) : control_(control), dc_(GetDC(control)) {
        if (const auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)))
            old_ = SelectObject(dc_, font);
    }
    ControlDC(const ControlDC&) = delete;
    ControlDC& operator=(const ControlDC&) = delete;
    ~ControlDC() {
        if (old_) SelectObject(dc_, old_);
        ReleaseDC(control_, dc_);
    }
    // The text's extent; the "&" mnemonic markers take no room unless `noPrefix`. With
    // `wrapWidth` > 0, lines break at words within that width.
    SIZE Measure(const std::string& text, bool noPrefix, int wrapWidth = 0) const {
        RECT r{0, 0, wrapWidth > 0 ? wrapWidth : 0, 0};
        UINT flags = DT_CALCRECT | DT_EXPANDTABS | (noPrefix ? DT_NOPREFIX : 0u);
        if (wrapWidth > 0) flags |= DT_WORDBREAK;
        const std::wstring wide = win::Wide(text);  // as the control draws it
        DrawTextW(dc_, wide.c_str(), static_cast<int>(wide.size()), &r, flags);
        return {r.right - r.left, r.bottom - r.top};
    }

private:
    HWND control_;
    HDC dc_;
    HGDIOBJ old_ = nullptr;
};

struct Finding {
    std::vector<std::string>& lines;

    void Clipped(HWND h, const std::string& text, const char* what, int needed, int has) {
        char buf[512];
        std::snprintf(buf, sizeof buf, "%s \"%s\" (id %d): %s needs %d px, has %d px", ClassOf(h).c_str(),
                      text.c_str(), GetDlgCtrlID(h), what, needed, has);
        lines.emplace_back(buf);
    }
    void Covered(HWND h, const std::string& text, HWND by) {
        char buf[512];
        std::snprintf(buf, sizeof buf, "%s \"%s\" (id %d): text runs under %s \"%s\" (id %d)", ClassOf(h).c_str(),
                      text.c_str(), GetDlgCtrlID(h), ClassOf(by).c_str(), TextOf(by).c_str(), GetDlgCtrlID(by));
        lines.emplace_back(buf);
    }
};

// Where the text is drawn, in the control's client coordinates (clipped to the client area).
struct TextSpan {
    RECT rect{};
    bool any = false;
};

TextSpan CheckStatic(HWND h, Finding& f) {
    const LONG style = GetWindowLongA(h, GWL_STYLE);
    const LONG type = style & SS_TYPEMASK;
    const bool wraps = type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT;
    if (!wraps && type != SS_SIMPLE && type != SS_LEFTNOWORDWRAP) return {};  // pictures, frames
    const std::string text = TextOf(h);
    if (text.empty()) return {};
    const RECT client = ClientOf(h);
    const int width = client.right, height = client.bottom;
    const ControlDC dc(h);
    const bool noPrefix = (style & SS_NOPREFIX) != 0;
    const SIZE one = dc.Measure(text, noPrefix);
    const SIZE need = wraps ? dc.Measure(text, noPrefix, width > 0 ? width : 1) : one;
    if (need.cx > width) f.Clipped(h, text, "width", need.cx, width);
    else if (need.cy > height && wraps && one.cx > width) f.Clipped(h, text, "width (it wraps)", one.cx, width);
    else if (need.cy > height) f.Clipped(h, text, "height", need.cy, height);
    TextSpan span{{0, 0, need.cx < width ? need.cx : width, need.cy < height ? need.cy : height}, true};
    if (type == SS_CENTER) OffsetRect(&span.rect, (width - span.rect.right) / 2, 0);
    if (type == SS_RIGHT) OffsetRect(&span.rect, width - span.rect.right, 0);
    return span;
}

TextSpan CheckButton(HWND h, Finding& f) {
    const LONG style = GetWindowLongA(h, GWL_STYLE);
    if (style & (BS_BITMAP | BS_ICON)) return {};
    const LONG type = style & BS_TYPEMASK;
    const std::string text = TextOf(h);
    if (text.empty() || type == BS_OWNERDRAW || type == BS_USERBUTTON) return {};
    const RECT client = ClientOf(h);
    const ControlDC dc(h);
    const bool multiLine = (style & BS_MULTILINE) != 0;
    const bool check = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
                       type == BS_AUTORADIOBUTTON || type == BS_3STATE || type == BS_AUTO3STATE;
    int lead = 0, trail = 0;
    if (check) lead = GetSystemMetrics(SM_CXMENUCHECK) + kCheckGap;
    else if (type == BS_GROUPBOX) lead = trail = kGroupBoxInset;
    else lead = trail = kPushButtonPad;
    const int room = client.right - lead - trail;
    const SIZE need = multiLine ? dc.Measure(text, false, room > 0 ? room : 1) : dc.Measure(text, false);
    if (need.cx > room) f.Clipped(h, text, "width", need.cx + lead + trail, client.right);
    else if (type != BS_GROUPBOX && need.cy > client.bottom) f.Clipped(h, text, "height", need.cy, client.bottom);
    if (!check && type != BS_GROUPBOX) return {};  // a push button's text stays within its face
    const int right = lead + need.cx < client.right ? lead + need.cx : client.right;
    if (type == BS_GROUPBOX) return {{lead, 0, right, need.cy}, true};
    const int top = (client.bottom - need.cy) / 2 > 0 ? (client.bottom - need.cy) / 2 : 0;
    return {{0, top, right, top + need.cy}, true};
}

void CheckCombo(HWND h, Finding& f) {
    // The closed box shows the text between its edges and the drop button.
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    RECT window{};
    GetWindowRect(h, &window);
    int room = (window.right - window.left) - GetSystemMetrics(SM_CXVSCROLL) - 2 * GetSystemMetrics(SM_CXEDGE);
    if (GetComboBoxInfo(h, &info) && info.rcItem.right - info.rcItem.left < room)
        room = info.rcItem.right - info.rcItem.left;
    room -= 2 * kComboTextPad;
    const ControlDC dc(h);
    std::string widest;
    int widestWidth = -1;
    const auto consider = [&](const std::string& text) {
        const int width = dc.Measure(text, true).cx;
        if (width > widestWidth) widest = text, widestWidth = width;
    };
    const LRESULT count = SendMessageA(h, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageA(h, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length < 0) continue;
        std::string item(static_cast<size_t>(length) + 1, '\0');
        SendMessageA(h, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
        item.resize(std::strlen(item.c_str()));
        consider(item);
    }
    consider(TextOf(h));  // a typed or prompt text of an editable box
    if (widestWidth > room) f.Clipped(h, widest, "closed box", widestWidth, room);
}

void CheckMonthCalendar(HWND h, Finding& f) {
    RECT need{};
    if (!SendMessageA(h, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need))) return;
    const RECT client = ClientOf(h);
    if (need.right - need.left > client.right) f.Clipped(h, "month", "width", need.right - need.left, client.right);
    if (need.bottom - need.top > client.bottom)
        f.Clipped(h, "month", "height", need.bottom - need.top, client.bottom);
}

void CheckDatePicker(HWND h, Finding& f) {
    SIZE need{};
    if (!SendMessageA(h, DTM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&need))) return;
    RECT window{};
    GetWindowRect(h, &window);
    char shown[128] = {};
    GetWindowTextA(h, shown, sizeof shown);
    if (need.cx > window.right - window.left) f.Clipped(h, shown, "width", need.cx, window.right - window.left);
}

// A caption drawn where a sibling control lies is hidden under it or paints over it.
void CheckCover(HWND h, const TextSpan& span, Finding& f) {
    if (!span.any || IsRectEmpty(&span.rect)) return;
    RECT text = span.rect;
    MapWindowPoints(h, GetParent(h), reinterpret_cast<POINT*>(&text), 2);
    for (HWND s = GetWindow(GetParent(h), GW_CHILD); s; s = GetWindow(s, GW_HWNDNEXT)) {
        if (s == h || !(GetWindowLongA(s, GWL_STYLE) & WS_VISIBLE)) continue;
        if (IsClass(s, "Button") && (GetWindowLongA(s, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX) continue;
        RECT other{}, overlap{};
        GetWindowRect(s, &other);
        MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&other), 2);
        // A shared edge row or column covers no letter: the cell's top row is leading.
        if (IntersectRect(&overlap, &text, &other) && overlap.right - overlap.left > kSharedEdge &&
            overlap.bottom - overlap.top > kSharedEdge)
            f.Covered(h, TextOf(h), s);
    }
}

BOOL CALLBACK Visit(HWND h, LPARAM lp) {
    Finding& f = *reinterpret_cast<Finding*>(lp);
    if (!(GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE)) return TRUE;
    if (IsClass(h, "Static")) CheckCover(h, CheckStatic(h, f), f);
    else if (IsClass(h, "Button")) CheckCover(h, CheckButton(h, f), f);
    else if (IsClass(h, "ComboBox")) CheckCombo(h, f);
    else if (IsClass(h, MONTHCAL_CLASSA)) CheckMonthCalendar(h, f);
    else if (IsClass(h, DATETIMEPICK_CLASSA)) CheckDatePicker(h, f);
    return TRUE;
}

}  // namespace

std::vector<std::string> ClippedTexts(HWND window) {
    std::vector<std::string> lines;
    Finding f{lines};
    EnumChildWindows(window, Visit, reinterpret_cast<LPARAM>(&f));
    return lines;
}

std::string ClippedTextReport(HWND window) {
    std::string report;
    for (const std::string& line : ClippedTexts(window)) report += line + "\n";
    return report;
}

}  // namespace testing_support
