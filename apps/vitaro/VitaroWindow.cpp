#include "apps/vitaro/VitaroWindow.h"

#include "apps/vitaro/DateBoxes.h"
#include "apps/vitaro/VitaroLayout.h"
#include "common/Dpi.h"
#include "common/WindowText.h"
#include "common/IniFile.h"
#include "common/StopIni.h"
#include "common/Handles.h"
#include "common/MessageLoop.h"
#include "common/SystemSeams.h"
#include "common/WindowClass.h"
#include "common/WindowState.h"
#include "toolkit/ControlTable.h"
#include "toolkit/Dialog.h"

#include <cstdlib>
#include <memory>
#include <vector>

namespace vitaro {

namespace {

using namespace bio::ui;
using bio::BoxField;
using bio::CivilDate;

constexpr const char* kChartClass = "VitaroChart";
constexpr const char* kChartName = "Biorhythm chart";
constexpr int kVitaroIconId = 1;
constexpr std::size_t kBirthDateReadSize = 12;  // at most 11 characters

struct VitaroState {
    HWND wnd = nullptr;
    VitaroOptions options;

    CivilDate birth{1990, 1, 1};
    CivilDate current{1990, 1, 1};
    bio::GraphColors colors = bio::kStartColors;
    int chosenColorSlot = bio::kSlotBackground;
    bio::ChartSurface chart;
    bio::LocaleNames names;

    // Child controls (owned by the window).
    HWND chartBox = nullptr;
    HWND checks[4] = {};
    HWND valueLines[4] = {};
    HWND boxes[kBoxCount] = {};
    HWND spins[kBoxCount] = {};
    HWND days = nullptr;
    HWND colorOptions[bio::kColorSlots] = {};
    HWND colorScrolls[3] = {};
    HWND colorNumbers[3] = {};
    HWND colorPreview = nullptr;

    int lastAccepted[kBoxCount] = {};  // 0 until the box first accepts a value
    bool programFill = false;          // the program is setting a box's text
    bool restoring = false;            // a rejected box is being set back

    win::AutoFont controlFont, rowFont, headingFont;
    win::AutoBrush frameBrush, panelBrush, whiteBrush, previewBrush;
    win::AutoBrush checkBrushes[4];

    enum class Reader { unasked, annotated, unavailable } reader = Reader::unasked;
    std::string chartDescription;  // the three values of the drawn day
};

VitaroState* StateOf(HWND wnd) { return win::WindowState<VitaroState>(wnd); }

COLORREF Ref(std::uint32_t color) { return static_cast<COLORREF>(color); }

BoxField FieldOf(int box) { return static_cast<BoxField>(box % 3); }

win::AutoFont MakeFont(HWND wnd, const char* face, int points, bool underline) {
    LOGFONTA lf{};
    lf.lfHeight = dpi::PointsToFontHeight(points, dpi::WindowDpi(wnd));
    lf.lfWeight = FW_NORMAL;
    lf.lfUnderline = underline ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
    return win::AutoFont(CreateFontIndirectA(&lf));
}

// One row of the window's control table and the font it is drawn with (null: the control's own).
struct ControlRow {
    toolkit::ControlSpec spec;
    HFONT font;
};

ControlRow Row(const char* cls, int id, const char* text, DWORD style, const Box& box, HFONT font,
               DWORD exStyle = 0) {
    return {{cls, id, text, style, box.x, box.y, box.width, box.height, exStyle}, font};
}

// ---- the chart ----------------------------------------------------------------------

// A screen reader on the chart hears the day's three values as its description. Annotated once
// a reader has asked for the chart (WM_GETOBJECT), so a viewer nobody reads never loads the
// annotation service; without the service the chart keeps its plain name.
void DescribeChart(VitaroState& s) {
    if (s.reader != VitaroState::Reader::annotated || s.chartDescription.empty()) return;
    if (sys::Annotate(s.chartBox, sys::AccessibleText::description, s.chartDescription))
        NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, s.chartBox, OBJID_CLIENT, CHILDID_SELF);
}

void OnChartGetObject(VitaroState& s) {
    if (s.reader != VitaroState::Reader::unasked) return;
    const bool named = sys::Annotate(s.chartBox, sys::AccessibleText::name, kChartName);
    s.reader = named ? VitaroState::Reader::annotated : VitaroState::Reader::unavailable;
    DescribeChart(s);
}

void DrawGraph(VitaroState& s) {
    bio::ChartInputs in;
    in.birth = s.birth;
    in.current = s.current;
    in.emotional = IsDlgButtonChecked(s.wnd, kIdEmotional) == BST_CHECKED;
    in.physical = IsDlgButtonChecked(s.wnd, kIdPhysical) == BST_CHECKED;
    in.intellectual = IsDlgButtonChecked(s.wnd, kIdIntellectual) == BST_CHECKED;
    in.rulers = IsDlgButtonChecked(s.wnd, kIdRulers) == BST_CHECKED;
    in.colors = s.colors;
    const auto lines = bio::DrawGraph(s.chart, in, s.names);
    for (int i = 0; i < 4; ++i) SetWindowTextA(s.valueLines[i], lines[i].c_str());
    InvalidateRect(s.chartBox, nullptr, FALSE);
    s.chartDescription = lines[0] + ", " + lines[1] + ", " + lines[2];
    DescribeChart(s);
}

// The chart box borrows the main window's retained chart image (attached once it is created).
LRESULT CALLBACK ChartBoxProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_GETOBJECT:
        if (VitaroState* s = StateOf(GetParent(wnd))) OnChartGetObject(*s);
        break;
    case WM_ERASEBKGND:
        return 1;  // the retained image covers the whole box
    case WM_PAINT: {
        win::PaintScope paint(wnd);
        if (const auto* chart = win::WindowState<const bio::ChartSurface>(wnd)) bio::PaintChart(paint.dc(), 0, 0, *chart);
        return 0;
    }
    case WM_PRINTCLIENT:
        if (const auto* chart = win::WindowState<const bio::ChartSurface>(wnd))
            bio::PaintChart(reinterpret_cast<HDC>(wp), 0, 0, *chart);
        return 0;
    case WM_NCDESTROY:
        win::DetachWindowState(wnd);
        break;
    }
    return DefWindowProcA(wnd, msg, wp, lp);
}

// ---- date boxes -----------------------------------------------------------------------

void OnBoxChanged(VitaroState& s, int box);

// Sets a box's text as the program does; the change is checked like typing.
void FillBox(VitaroState& s, int box, const std::string& text) {
    s.programFill = true;
    SetWindowTextA(s.boxes[box], text.c_str());
    s.programFill = false;
    OnBoxChanged(s, box);
}

std::optional<CivilDate> DateOfGroup(VitaroState& s, int first) {
    int values[3];
    for (int i = 0; i < 3; ++i) {
        const auto value = bio::AcceptBoxText(FieldOf(first + i), win::WindowText(s.boxes[first + i]));
        if (!value) return std::nullopt;
        values[i] = *value;
    }
    return bio::DateOfBoxes(values[0], values[1], values[2]);
}

// Rebuilds both dates from the boxes and the day count text. An impossible group stops it:
// an impossible birth date changes nothing; an impossible current date keeps the current
// date and the day count text.
void RefreshDays(VitaroState& s) {
    const auto birth = DateOfGroup(s, 0);
    if (!birth) return;
    s.birth = *birth;
    const auto current = DateOfGroup(s, 3);
    if (!current) return;
    s.current = *current;
    SetWindowTextA(s.days, bio::DaysLivedText(bio::DaysLived(s.birth, s.current)).c_str());
}

void OnBoxChanged(VitaroState& s, int box) {
    const auto value = bio::AcceptBoxText(FieldOf(box), win::WindowText(s.boxes[box]));
    if (!value) {
        // Never accepted anything yet: there is no value to go back to.
        if (s.restoring) return;
        s.restoring = true;
        FillBox(s, box, std::to_string(s.lastAccepted[box]));
        s.restoring = false;
        const int end = GetWindowTextLengthA(s.boxes[box]);
        SendMessageA(s.boxes[box], EM_SETSEL, end, end);
        return;
    }
    SetScrollPos(s.spins[box], SB_CTL, *value, TRUE);
    s.lastAccepted[box] = *value;
    RefreshDays(s);
}

// The spin arrows run upward: the up arrow adds one. The spin keeps its value as the
// scroll bar's position.
void OnSpin(VitaroState& s, int box, int request) {
    int delta = 0;
    if (request == SB_LINEUP || request == SB_PAGEUP) delta = 1;
    else if (request == SB_LINEDOWN || request == SB_PAGEDOWN) delta = -1;
    else return;
    const int old = GetScrollPos(s.spins[box], SB_CTL);
    const int next = bio::SpinStep(FieldOf(box), old, delta);
    if (next == old) return;
    SetScrollPos(s.spins[box], SB_CTL, next, TRUE);
    FillBox(s, box, std::to_string(next));
}

void FillGroup(VitaroState& s, int first, int month, int day, int year) {
    FillBox(s, first, std::to_string(month));
    FillBox(s, first + 1, std::to_string(day));
    FillBox(s, first + 2, std::to_string(year));
}

CivilDate Today() {
    const SYSTEMTIME now = sys::LocalTime();
    return {now.wYear, now.wMonth, now.wDay};
}

// ---- buttons ------------------------------------------------------------------------

void Step(VitaroState& s, std::optional<CivilDate> (*step)(const CivilDate&, std::int64_t), int k) {
    // A step that would leave the supported dates does nothing.
    if (const auto next = step(s.current, k)) {
        s.current = *next;
        DrawGraph(s);
    }
}

void OnCurrentDate(VitaroState& s) {
    // Impossible boxes keep the chart as it is.
    if (const auto date = DateOfGroup(s, 3)) {
        s.current = *date;
        DrawGraph(s);
    }
}

void OnSystemDate(VitaroState& s) {
    const CivilDate today = Today();
    FillGroup(s, 3, today.month, today.day, today.year);
}

// ---- colour panel -------------------------------------------------------------------

void OnColorScroll(VitaroState& s, int index) {
    const int value = GetScrollPos(s.colorScrolls[index], SB_CTL);
    SetWindowTextA(s.colorNumbers[index], std::to_string(value).c_str());
    int rgb[3];
    for (int i = 0; i < 3; ++i) rgb[i] = std::atoi(win::WindowText(s.colorNumbers[i]).c_str());
    const bio::ColorValue color = bio::MakeColor(rgb[0], rgb[1], rgb[2]);
    s.previewBrush.reset(CreateSolidBrush(Ref(color)));
    InvalidateRect(s.colorPreview, nullptr, TRUE);
    s.colors[s.chosenColorSlot - 1] = color;  // the chart keeps its colours until redrawn
}

void ChooseColorSlot(VitaroState& s, int slot) {
    s.chosenColorSlot = slot;
    const bio::Rgb rgb = bio::SplitColor(s.colors[slot - 1]);
    const int parts[3] = {rgb.red, rgb.green, rgb.blue};
    for (int i = 0; i < 3; ++i) SetWindowTextA(s.colorNumbers[i], std::to_string(parts[i]).c_str());
    for (int i = 0; i < 3; ++i) {
        SetScrollPos(s.colorScrolls[i], SB_CTL, parts[i], TRUE);
        OnColorScroll(s, i);
    }
}

void OnColorScrollRequest(VitaroState& s, int index, int request, int thumb) {
    int value = GetScrollPos(s.colorScrolls[index], SB_CTL);
    switch (request) {
    case SB_LINELEFT: value -= 1; break;
    case SB_LINERIGHT: value += 1; break;
    case SB_PAGELEFT: value -= kColorPage; break;
    case SB_PAGERIGHT: value += kColorPage; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: value = thumb; break;
    case SB_LEFT: value = 0; break;
    case SB_RIGHT: value = kColorMax; break;
    default: return;
    }
    value = value < 0 ? 0 : value > kColorMax ? kColorMax : value;
    SetScrollPos(s.colorScrolls[index], SB_CTL, value, TRUE);
    OnColorScroll(s, index);
}

// ---- creation -----------------------------------------------------------------------

// The window's controls in creation (and Tab) order.
std::vector<ControlRow> ControlRows(const VitaroState& s) {
    const HFONT font = s.controlFont.get();
    std::vector<ControlRow> rows;
    rows.push_back(Row(kChartClass, kIdChart, "", 0, kChart, nullptr));
    for (int i = 0; i < 4; ++i)
        rows.push_back(Row("BUTTON", kIdEmotional + i, kCheckTexts[i], BS_AUTOCHECKBOX | WS_TABSTOP, kCheckBoxes[i], font));
    for (int row = 0; row < 3; ++row) {
        rows.push_back(Row("STATIC", kIdDayLabel + row, kRowTexts[row], SS_LEFT,
                           {kRowLabelX, kRowLabelY[row], kRowLabelWidth, kRowLabelHeight}, s.rowFont.get()));
        rows.push_back(Row("BUTTON", kIdDayBack + 2 * row, kStepBackText, BS_PUSHBUTTON | WS_TABSTOP,
                           {kStepBackX, kStepRowY[row], kStepWidth, kStepHeight}, font));
        rows.push_back(Row("BUTTON", kIdDayForth + 2 * row, kStepForthText, BS_PUSHBUTTON | WS_TABSTOP,
                           {kStepForthX, kStepRowY[row], kStepWidth, kStepHeight}, font));
    }
    // The lines meet without overlapping, so their texts stay clear of each other at every
    // scale; the last one reaches the panel's bottom.
    for (int i = 0; i < 4; ++i) {
        const int height = i < 3 ? kValueLineOffset[i + 1] - kValueLineOffset[i] : kValueLineHeight;
        rows.push_back(Row("STATIC", kIdCycles4 + i, "", SS_LEFT | SS_NOPREFIX,
                           {kValuePanel.x, kValuePanel.y + kValueLineOffset[i], kValueLineWidth, height}, font));
    }
    rows.push_back(Row("BUTTON", kIdReset, kResetText, BS_PUSHBUTTON | BS_MULTILINE | WS_TABSTOP, kReset, font));
    rows.push_back(Row("STATIC", kIdBirthHeading, kBirthHeadingText, SS_LEFT, kBirthHeading, s.headingFont.get()));
    rows.push_back(Row("STATIC", kIdDateHeading, kDateHeadingText, SS_LEFT, kDateHeading, s.headingFont.get()));
    for (int box = 0; box < kBoxCount; ++box) {
        const int x = box < 3 ? kBirthBoxX[box] : kDateBoxX[box - 3];
        rows.push_back(Row("EDIT", BoxId(box), "", WS_TABSTOP | ES_AUTOHSCROLL, {x, kBoxRowY, kBoxWidth, kBoxHeight},
                           font, WS_EX_CLIENTEDGE));
        rows.push_back(Row("SCROLLBAR", SpinId(box), "", SBS_VERT, {x + kBoxWidth, kSpinTop, kSpinSize, kSpinSize},
                           nullptr));
        if (box % 3 != 2)
            rows.push_back(Row("STATIC", kIdSlash1 + (box < 3 ? box : box - 1), "/", SS_CENTER,
                               {x + kSlashOffset, kSpinTop, kSlashWidth, kSpinSize}, font));
    }
    rows.push_back(Row("STATIC", kIdDays, "", SS_LEFT | SS_NOPREFIX, kDays, font));
    rows.push_back(Row("BUTTON", kIdSystemDate, kSystemDateText, BS_PUSHBUTTON | WS_TABSTOP, kSystemDate, font));
    // The colour panel lies below the fixed client area; no tab stop leads into it.
    rows.push_back(Row("BUTTON", kIdColorPanel, kColorPanelText, BS_GROUPBOX, kColorPanel, font));
    for (int i = 0; i < bio::kColorSlots; ++i) {
        rows.push_back(Row("BUTTON", kIdColorOption1 + i, bio::kColorSlotNames[i],
                           BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP : 0),
                           {kColorOptionX, kColorOptionY + kColorOptionStep * i, kColorOptionWidth, kColorOptionStep},
                           font));
    }
    for (int i = 0; i < 3; ++i) {
        const int y = kColorScrollY + kColorScrollStep * i;
        // A Tab stop each: the arrow keys move a focused scroll bar, so the colours can be mixed
        // without a mouse.
        rows.push_back(Row("SCROLLBAR", kIdColorScroll1 + i, "", SBS_HORZ | WS_GROUP | WS_TABSTOP,
                           {kColorScrollX, y, kColorScrollWidth, kColorRowHeight}, nullptr));
        rows.push_back(Row("STATIC", kIdColorNumber1 + i, "0", SS_LEFT,
                           {kColorNumberX, y, kColorNumberWidth, kColorRowHeight}, font));
    }
    rows.push_back(Row("STATIC", kIdColorPreview, "", SS_LEFT, kColorPreview, nullptr));
    return rows;
}

void CreateControls(VitaroState& s) {
    for (const ControlRow& row : ControlRows(s)) toolkit::CreateChildControl(s.wnd, row.font, row.spec);
    toolkit::FollowDpiChanges(s.wnd);
    auto control = [&](int id) { return GetDlgItem(s.wnd, id); };
    s.chartBox = control(kIdChart);
    win::AttachBorrowedState(s.chartBox, &s.chart);
    for (int i = 0; i < 4; ++i) {
        s.checks[i] = control(kIdEmotional + i);
        SendMessageA(s.checks[i], BM_SETCHECK, BST_CHECKED, 0);
        s.valueLines[i] = control(kIdCycles4 + i);
    }
    for (int box = 0; box < kBoxCount; ++box) {
        s.boxes[box] = control(BoxId(box));
        s.spins[box] = control(SpinId(box));
        const bio::BoxLimits& limits = bio::LimitsOf(FieldOf(box));
        SetScrollRange(s.spins[box], SB_CTL, limits.spinMin, limits.spinMax, FALSE);
        SetScrollPos(s.spins[box], SB_CTL, limits.spinMin, FALSE);
    }
    s.days = control(kIdDays);
    for (int i = 0; i < bio::kColorSlots; ++i) s.colorOptions[i] = control(kIdColorOption1 + i);
    for (int i = 0; i < 3; ++i) {
        s.colorScrolls[i] = control(kIdColorScroll1 + i);
        SetScrollRange(s.colorScrolls[i], SB_CTL, 0, kColorMax, FALSE);
        s.colorNumbers[i] = control(kIdColorNumber1 + i);
    }
    s.colorPreview = control(kIdColorPreview);
}

// ---- message handlers ---------------------------------------------------------------

// The state is the window's from its first message: freed at WM_NCDESTROY however creation ends.
void OnNcCreate(HWND wnd, const CREATESTRUCTA* cs) {
    VitaroState* s = win::AttachWindowState(wnd, std::make_unique<VitaroState>());
    s->wnd = wnd;
    s->options = *static_cast<const VitaroOptions*>(cs->lpCreateParams);
}

bool OnCreate(VitaroState* s) {
    if (!s->chart.Create(dpi::WindowDpi(s->wnd))) return false;
    s->names = bio::PlatformLocaleNames();
    s->controlFont = MakeFont(s->wnd, kControlFont, kControlFontPoints, false);
    s->rowFont = MakeFont(s->wnd, kRowFont, kRowFontPoints, false);
    s->headingFont = MakeFont(s->wnd, kHeadingFont, kHeadingFontPoints, true);
    s->frameBrush.reset(CreateSolidBrush(Ref(kFrameGrey)));
    s->panelBrush.reset(CreateSolidBrush(Ref(kPanelRed)));
    s->whiteBrush.reset(CreateSolidBrush(Ref(kWhiteColor)));
    for (int i = 0; i < 4; ++i) s->checkBrushes[i].reset(CreateSolidBrush(Ref(kCheckColors[i])));
    CreateControls(*s);
    win::AddModelessWindow(s->wnd);  // Tab between the controls, Esc as Cancel
    return true;
}

void OnCommand(VitaroState& s, int id, int code) {
    if (id >= kIdBirthBox1 && id < kIdBirthBox1 + 3 && code == EN_CHANGE) {
        if (!s.programFill) OnBoxChanged(s, id - kIdBirthBox1);
        return;
    }
    if (id >= kIdDateBox1 && id < kIdDateBox1 + 3 && code == EN_CHANGE) {
        if (!s.programFill) OnBoxChanged(s, 3 + id - kIdDateBox1);
        return;
    }
    if (id >= kIdColorOption1 && id < kIdColorOption1 + bio::kColorSlots) {
        if (code == BN_CLICKED) ChooseColorSlot(s, id - kIdColorOption1 + 1);
        return;
    }
    if (code != BN_CLICKED) return;
    switch (id) {
    case kIdEmotional:
    case kIdPhysical:
    case kIdIntellectual:
    case kIdRulers: DrawGraph(s); break;
    case kIdDayBack: Step(s, bio::AddDays, -1); break;
    case kIdDayForth: Step(s, bio::AddDays, 1); break;
    case kIdMonthBack: Step(s, bio::AddMonths, -1); break;
    case kIdMonthForth: Step(s, bio::AddMonths, 1); break;
    case kIdYearBack: Step(s, bio::AddYears, -1); break;
    case kIdYearForth: Step(s, bio::AddYears, 1); break;
    case kIdReset: OnCurrentDate(s); break;
    case kIdSystemDate: OnSystemDate(s); break;
    case IDCANCEL: PostMessageA(s.wnd, WM_CLOSE, 0, 0); break;
    }
}

void OnScroll(VitaroState& s, HWND bar, int request, int thumb) {
    for (int box = 0; box < kBoxCount; ++box)
        if (bar == s.spins[box]) return OnSpin(s, box, request);
    for (int i = 0; i < 3; ++i)
        if (bar == s.colorScrolls[i]) return OnColorScrollRequest(s, i, request, thumb);
}

// Backgrounds of the labels and check boxes: the frame's grey, the value panel's red (the
// average line on white), the legend colours of the check boxes, the colour preview.
// While high contrast is on, the frame's labels and check boxes take the system's button
// colours and the value panel the window colours (the colour preview keeps the chosen colour).
HBRUSH SystemControlColor(HDC dc, int id) {
    const bool panel = id >= kIdCycles4 && id < kIdCycles4 + 4;
    SetBkColor(dc, GetSysColor(panel ? COLOR_WINDOW : COLOR_BTNFACE));
    SetTextColor(dc, GetSysColor(panel ? COLOR_WINDOWTEXT : COLOR_BTNTEXT));
    return GetSysColorBrush(panel ? COLOR_WINDOW : COLOR_BTNFACE);  // a system brush: not owned
}

HBRUSH OnControlColor(VitaroState& s, HDC dc, HWND control) {
    const int id = GetDlgCtrlID(control);
    if (id != kIdColorPreview && sys::HighContrast()) return SystemControlColor(dc, id);
    auto use = [&](const win::AutoBrush& brush, std::uint32_t color) {
        SetBkColor(dc, Ref(color));
        return static_cast<HBRUSH>(brush.get());
    };
    if (id >= kIdEmotional && id <= kIdRulers) return use(s.checkBrushes[id - kIdEmotional], kCheckColors[id - kIdEmotional]);
    if (id >= kIdDayLabel && id <= kIdYearLabel) return use(s.frameBrush, kFrameGrey);
    if (id == kIdCycles4 + 3) return use(s.whiteBrush, kWhiteColor);
    if (id >= kIdCycles4 && id < kIdCycles4 + 3) return use(s.panelBrush, kPanelRed);
    if (id == kIdColorPreview && s.previewBrush) return s.previewBrush.get();
    return nullptr;
}

// The boxes' birth date is stored as typed when it is a possible date; otherwise the last
// possible one is kept (an impossible one would be refused at the next start and replaced by
// the default, losing the real date), and the user is told so.
void OnClose(VitaroState& s) {
    std::string stored =
        bio::StoredBirthDate(win::WindowText(s.boxes[0]), win::WindowText(s.boxes[1]), win::WindowText(s.boxes[2]));
    if (!DateOfGroup(s, 0)) {
        stored = bio::StoredBirthDate(std::to_string(s.birth.month), std::to_string(s.birth.day),
                                      std::to_string(s.birth.year));
        const std::string note = "The birth date in the boxes does not exist; " + stored + " is kept.";
        MessageBoxA(s.wnd, note.c_str(), kVitaroTitle, MB_OK | MB_ICONINFORMATION);
    }
    ini::WriteIniString(stopini::kSection, stopini::kBirthDateWrite, stored);  // a failed write is ignored
    DestroyWindow(s.wnd);
}

// Start-up after creation: the birth date from the INI file, today, the boxes, the colour
// panel and the first chart, all filled in while the window is still hidden; then the window
// is shown and painted once, complete. Shown any earlier, every control would be erased and
// painted at once and then again as the boxes, scroll bars, value lines and chart fill in,
// and the chart would appear last, after all of that.
void StartUp(VitaroState& s) {
    ini::SetIniFile(s.options.iniPath);
    const std::string stored = ini::ReadIniString(stopini::kSection, stopini::kBirthDateRead, kBirthDateReadSize);
    s.colors = bio::kStartColors;
    const bio::BoxValues birth = bio::ParseStoredBirthDate(stored).value_or(bio::kDefaultBirthBoxes);
    const CivilDate today = Today();
    FillGroup(s, 3, today.month, today.day, today.year);
    FillGroup(s, 0, birth[0], birth[1], birth[2]);
    SendMessageA(s.colorOptions[0], BM_SETCHECK, BST_CHECKED, 0);
    ChooseColorSlot(s, bio::kSlotBackground);
    OnCurrentDate(s);
    ShowWindow(s.wnd, s.options.show);
    UpdateWindow(s.wnd);
}

LRESULT CALLBACK VitaroProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        OnNcCreate(wnd, reinterpret_cast<const CREATESTRUCTA*>(lp));
        return DefWindowProcA(wnd, msg, wp, lp);
    }
    VitaroState* s = StateOf(wnd);
    if (!s) return DefWindowProcA(wnd, msg, wp, lp);
    switch (msg) {
    case WM_CREATE: return OnCreate(s) ? 0 : -1;
    case WM_PAINT: {
        win::PaintScope paint(wnd);
        PaintVitaro(paint.dc());
        return 0;
    }
    case WM_COMMAND: OnCommand(*s, LOWORD(wp), HIWORD(wp)); return 0;
    case WM_VSCROLL:
    case WM_HSCROLL: OnScroll(*s, reinterpret_cast<HWND>(lp), LOWORD(wp), static_cast<short>(HIWORD(wp))); return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (HBRUSH brush = OnControlColor(*s, reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp)))
            return reinterpret_cast<LRESULT>(brush);
        break;
    case WM_CLOSE: OnClose(*s); return 0;
    case WM_SETTINGCHANGE:
        // High contrast turned on or off: the frame and its controls are painted again at once.
        if (wp == SPI_SETHIGHCONTRAST) RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        break;
    case dpi::kDpiChangedMessage:
        // The controls and their fonts follow (toolkit::FollowDpiChanges); the chart is made anew.
        if (s->chart.Create(LOWORD(wp))) DrawGraph(*s);
        return 0;
    case WM_DESTROY:
        win::RemoveModelessWindow(wnd);
        if (s->options.quitOnDestroy) PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        win::DeleteWindowState<VitaroState>(wnd);
        return DefWindowProcA(wnd, msg, wp, lp);
    }
    return DefWindowProcA(wnd, msg, wp, lp);
}

bool RegisterClasses(HINSTANCE instance) {
    win::WindowClass chart;
    chart.name = kChartClass;
    chart.procedure = ChartBoxProc;
    win::WindowClass main;
    main.name = kVitaroClass;
    main.procedure = VitaroProc;
    main.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    main.icon = LoadIconA(instance, MAKEINTRESOURCEA(kVitaroIconId));  // a resource icon: not owned
    return win::RegisterWindowClass(chart) && win::RegisterWindowClass(main);
}

}  // namespace

void PaintVitaro(HDC dc) {
    // The layout is in 96-DPI units, painted at the window's DPI.
    HWND wnd = WindowFromDC(dc);
    RECT frame = toolkit::ScaleRect(
        wnd, {kUpperFrame.x, kUpperFrame.y, kUpperFrame.x + kUpperFrame.width, kUpperFrame.y + kUpperFrame.height});
    const bool system = sys::HighContrast();
    win::AutoBrush grey(CreateSolidBrush(system ? GetSysColor(COLOR_BTNFACE) : Ref(kFrameGrey)));
    FillRect(dc, &frame, grey.get());
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    const RECT panel = toolkit::ScaleRect(
        wnd, {kValuePanel.x, kValuePanel.y, kValuePanel.x + kValuePanel.width, kValuePanel.y + kValuePanel.height});
    win::AutoBrush red(CreateSolidBrush(system ? GetSysColor(COLOR_WINDOW) : Ref(kPanelRed)));
    FillRect(dc, &panel, red.get());
}

HWND CreateVitaroWindow(HINSTANCE instance, const VitaroOptions& options) {
    if (!RegisterClasses(instance)) return nullptr;
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    const int at = dpi::SystemDpi();
    RECT outer{0, 0, dpi::Scale(kClientWidth, at), dpi::Scale(kClientHeight, at)};
    AdjustWindowRectEx(&outer, style, FALSE, 0);
    HWND wnd = CreateWindowExA(0, kVitaroClass, kVitaroTitle, style, CW_USEDEFAULT, CW_USEDEFAULT,
                               outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr, instance,
                               const_cast<VitaroOptions*>(&options));
    if (!wnd) return nullptr;
    StartUp(*StateOf(wnd));
    return wnd;
}

VitaroView VitaroViewOf(HWND wnd) {
    const VitaroState* s = StateOf(wnd);
    if (!s) return {};
    return {s->birth, s->current, s->colors, &s->chart};
}

int RunVitaro(HINSTANCE instance, int show) {
    VitaroOptions options;
    options.iniPath = ini::DefaultIniPath();
    options.quitOnDestroy = true;
    options.show = show;
    HWND wnd = CreateVitaroWindow(instance, options);
    if (!wnd) return 1;
    return win::RunMessageLoop();
}

}  // namespace vitaro
