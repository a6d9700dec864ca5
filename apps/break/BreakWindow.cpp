#include "apps/break/BreakWindow.h"

#include "apps/break/BreakLogic.h"
#include "apps/break/BreakPicture.h"
#include "common/Dpi.h"
#include "common/IniFile.h"
#include "common/MessageLoop.h"
#include "common/Monitors.h"
#include "common/StopIni.h"
#include "common/Handles.h"
#include "common/WindowClass.h"
#include "common/WindowState.h"
#include "common/WindowText.h"
#include "common/ProgramPath.h"
#include "common/SystemSeams.h"
#include "toolkit/ControlTable.h"
#include "apps/break/BreakNotice.h"
#include "resources/resource_ids.h"

#include <mmsystem.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <optional>
#include <random>

namespace break_program {

namespace {

using breaklogic::BreakLayout;
using breaklogic::Countdown;

constexpr UINT kFocusPeriodMs = 500;
constexpr UINT kCountdownPeriodMs = 1000;
// Posted when the window loses activation, to take it back once the switch is over.
constexpr UINT kMsgRetakeFocus = WM_APP + 1;

constexpr COLORREF kLabelText = RGB(255, 255, 255);
constexpr COLORREF kLabelShadow = RGB(0, 0, 0);
// The shadow sits this many pixels to the right of and below the text per 24 pixels of height.
constexpr int kShadowPerHeight = 24;
constexpr int kShadowRoom = 4;
// Point sizes in hundredths.
constexpr int kHeadingPoints = 2625;
constexpr int kCountdownPoints = 1350;
constexpr int kButtonPoints = 975;

// Whether this process has told the system that a screen saver runs: the crash filter reads it,
// so it lives outside any window's state.
std::atomic<bool> g_screenSaverFlagSet{false};

// Puts the flag back once, whoever comes first: the break's own end or the crash filter.
void PutScreenSaverFlagBack() {
    if (g_screenSaverFlagSet.exchange(false)) sys::SetScreenSaverRunning(FALSE);
}

// Tells the system that a screen saver is running for as long as the break lasts, and puts the
// flag back exactly once, whichever way the break ends.
class ScreenSaverFlag {
public:
    ScreenSaverFlag() = default;
    ScreenSaverFlag(const ScreenSaverFlag&) = delete;
    ScreenSaverFlag& operator=(const ScreenSaverFlag&) = delete;
    ~ScreenSaverFlag() { Clear(); }
    void Set() {
        sys::SetScreenSaverRunning(TRUE);
        set_ = true;
        g_screenSaverFlagSet = true;
    }
    void Clear() {
        if (set_) PutScreenSaverFlagBack();
        set_ = false;
    }

private:
    bool set_ = false;
};

struct BreakState {
    HWND wnd = nullptr;
    BreakConfig config;
    BreakLayout layout;
    HWND closeButton = nullptr;     // child windows, destroyed with the window
    HWND previousButton = nullptr;
    HWND nextButton = nullptr;
    HWND countdownLabel = nullptr;
    HWND headingLabel = nullptr;
    win::AutoFont headingFont;
    win::AutoFont countdownFont;
    win::AutoFont buttonFont;
    win::AutoBrush background;
    win::AutoBitmap picture;        // the picture area, kPictureWidth x kPictureHeight
    bool pictureLoaded = false;
    int pictureNumber = 1;
    int seconds = 0;
    std::optional<Countdown> countdown;  // started when the window is first shown
    bool enforced = false;
    breakstart::Options options;
    bool finished = false;
    ScreenSaverFlag screenSaver;
    // The plain windows on the other monitors, owned by this one so that they go with it.
    struct Cover {
        HWND wnd = nullptr;
        monitors::Rect rect;  // the monitor it covers
    };
    std::vector<Cover> covers;
};

BreakState* StateOf(HWND wnd) { return win::WindowState<BreakState>(wnd); }

win::AutoFont MakeFont(const char* face, int hundredthPoints, int weight, int at) {
    const int height = -MulDiv(hundredthPoints, at, 72 * 100);
    return win::AutoFont(CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, face));
}

// The font at the given size, or smaller when the text would not fit the width (a system may
// lack the face and substitute a wider one).
win::AutoFont MakeFittingFont(const char* face, int hundredthPoints, int weight, const char* text, int width, int at) {
    win::AutoFont font = MakeFont(face, hundredthPoints, weight, at);
    win::WindowDC screen(nullptr);
    SIZE extent{};
    {
        win::ScopedSelect select(screen.get(), font.get());
        GetTextExtentPoint32A(screen.get(), text, lstrlenA(text), &extent);
    }
    if (extent.cx <= width || extent.cx <= 0) return font;
    return MakeFont(face, static_cast<int>(static_cast<long long>(hundredthPoints) * width / extent.cx), weight, at);
}

void Place(HWND control, const breaklogic::Rect& r) {
    SetWindowPos(control, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The window's controls in creation (and Tab) order, each with the font of the state it uses.
// They are placed by ApplyLayout, which follows the primary monitor's size. The labels are
// owner-drawn statics: their text stays readable as window text, and they draw the picture under
// it, which makes their background transparent.
struct BreakControl {
    toolkit::ControlSpec spec;
    win::AutoFont BreakState::*font;
};
const BreakControl kControls[] = {
    {{"STATIC", kIdHeadingLabel, kBreakHeading, SS_OWNERDRAW, 0, 0, 0, 0}, &BreakState::headingFont},
    {{"STATIC", kIdCountdownLabel, nullptr, SS_OWNERDRAW, 0, 0, 0, 0}, &BreakState::countdownFont},
    {{"BUTTON", kIdCloseButton, kCloseWindowCaption, WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0}, &BreakState::buttonFont},
    {{"BUTTON", kIdPreviousButton, kPreviousCaption, WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0}, &BreakState::buttonFont},
    {{"BUTTON", kIdNextButton, kNextCaption, WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0}, &BreakState::buttonFont},
};

void CreateControls(BreakState& s) {
    for (const BreakControl& row : kControls) toolkit::CreateChildControl(s.wnd, (s.*row.font).get(), row.spec);
    s.headingLabel = GetDlgItem(s.wnd, kIdHeadingLabel);
    s.countdownLabel = GetDlgItem(s.wnd, kIdCountdownLabel);
    s.closeButton = GetDlgItem(s.wnd, kIdCloseButton);
    s.previousButton = GetDlgItem(s.wnd, kIdPreviousButton);
    s.nextButton = GetDlgItem(s.wnd, kIdNextButton);
}

// The calm plain window on a monitor other than the primary: black, no text, no controls;
// top-most, owned by the break window and so destroyed with it. It never takes the focus, and
// the ways of closing it ask the break window instead, which an enforced break refuses.
LRESULT CALLBACK CoverWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    HWND main = GetWindow(wnd, GW_OWNER);
    switch (msg) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;  // a click leaves the focus with the break window
    case WM_CLOSE:             // also what Alt+F4 and the system menu's Close come to
        if (main) SendMessageA(main, WM_CLOSE, 0, 0);
        return 0;
    case WM_KEYDOWN:
        if (wp == VK_ESCAPE && main) SendMessageA(main, WM_COMMAND, IDCANCEL, 0);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(wnd, msg, wp, lp);
}

bool RegisterCoverClass() {
    win::WindowClass spec;
    spec.name = kBreakCoverClass;
    spec.procedure = CoverWndProc;
    spec.background = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));  // a stock brush: never freed
    return win::RegisterWindowClass(spec);
}

HWND CreateCover(const BreakState& s, const monitors::Rect& r) {
    if (!RegisterCoverClass()) return nullptr;
    HWND cover = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kBreakCoverClass, "", WS_POPUP, r.left, r.top,
                                 r.width(), r.height(), s.wnd, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (cover) ShowWindow(cover, SW_SHOWNOACTIVATE);
    return cover;
}

// The layout of a screen of width x height pixels at a DPI: laid out in 96-DPI units, then
// scaled, so the picture, the buttons and their fonts grow together.
breaklogic::BreakLayout ScaledBreakLayout(int width, int height, int at) {
    breaklogic::BreakLayout l = breaklogic::ComputeBreakLayout(dpi::Rescale(width, at, dpi::kBaseDpi),
                                                               dpi::Rescale(height, at, dpi::kBaseDpi));
    for (breaklogic::Rect* r : {&l.picture, &l.closeButton, &l.previousButton, &l.nextButton, &l.countdownLabel,
                                &l.headingLabel})
        *r = {dpi::Scale(r->left, at), dpi::Scale(r->top, at), dpi::Scale(r->width, at), dpi::Scale(r->height, at)};
    return l;
}

// The window covers the primary monitor and a plain window each other one; the picture and the
// controls follow the primary monitor's size. Called again when the monitors change: a plain
// window whose monitor is gone goes, a new monitor gets one.
void ApplyLayout(BreakState& s) {
    const std::vector<monitors::BreakWindowPlace> plan = monitors::PlanBreakWindows(monitors::DisplayMonitors());
    const monitors::Rect& main = plan.front().rect;  // the list in force is never empty
    s.layout = ScaledBreakLayout(main.width(), main.height(), dpi::WindowDpi(s.wnd));
    SetWindowPos(s.wnd, nullptr, main.left, main.top, main.width(), main.height(), SWP_NOZORDER | SWP_NOACTIVATE);

    std::vector<monitors::Rect> covered;
    for (const BreakState::Cover& c : s.covers) covered.push_back(c.rect);
    const monitors::CoverChange change = monitors::ChangeCover(covered, monitors::PlainRects(plan));
    for (auto i = change.release.rbegin(); i != change.release.rend(); ++i) {
        DestroyWindow(s.covers[*i].wnd);
        s.covers.erase(s.covers.begin() + static_cast<std::ptrdiff_t>(*i));
    }
    for (const monitors::Rect& r : change.add) {
        if (HWND cover = CreateCover(s, r)) s.covers.push_back({cover, r});
    }

    Place(s.closeButton, s.layout.closeButton);
    Place(s.previousButton, s.layout.previousButton);
    Place(s.nextButton, s.layout.nextButton);
    Place(s.countdownLabel, s.layout.countdownLabel);
    Place(s.headingLabel, s.layout.headingLabel);
    InvalidateRect(s.wnd, nullptr, TRUE);
}

void ShowPicture(BreakState& s, int number) {
    s.pictureNumber = number;
    win::WindowDC screen(s.wnd);
    s.picture = breakwin::ComposePicture(screen.get(), breaklogic::PicturePath(s.config.programDirectory, number),
                                         number, kBreakBackground, &s.pictureLoaded, s.layout.picture.width,
                                         s.layout.picture.height);
    // The labels draw the picture under their text, so they are redrawn with it.
    RedrawWindow(s.wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

// The fonts at the window's DPI and for the heading's width, given to the controls that use them
// before the fonts they replace go.
void MakeFonts(BreakState& s) {
    const int at = dpi::WindowDpi(s.wnd);
    win::AutoFont heading = std::move(s.headingFont), countdown = std::move(s.countdownFont),
                  button = std::move(s.buttonFont);
    s.headingFont = MakeFittingFont("Tahoma", kHeadingPoints, FW_BOLD, kBreakHeading,
                                    s.layout.headingLabel.width - kShadowRoom, at);
    s.countdownFont = MakeFont("MS Sans Serif", kCountdownPoints, FW_NORMAL, at);
    s.buttonFont = MakeFont("MS Sans Serif", kButtonPoints, FW_NORMAL, at);
    for (const BreakControl& row : kControls)
        if (HWND control = GetDlgItem(s.wnd, row.spec.id))
            SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>((s.*row.font).get()), FALSE);
}

// The monitors or the window's DPI changed: the window covers the primary monitor again, and the
// layout, the fonts and the picture follow its size and DPI.
void Relayout(BreakState& s) {
    ApplyLayout(s);
    MakeFonts(s);
    ShowPicture(s, s.pictureNumber);
}

void SetCountdownText(BreakState& s, const std::string& text) {
    SetWindowTextA(s.countdownLabel, text.c_str());
    InvalidateRect(s.countdownLabel, nullptr, FALSE);
}

bool Closable(const BreakState& s) { return !s.enforced || s.finished; }

void Finish(BreakState& s) {
    KillTimer(s.wnd, kFocusTimerId);
    KillTimer(s.wnd, kCountdownTimerId);
    s.finished = true;
    s.screenSaver.Clear();  // the break is over: nothing keeps the user out any more
    EnableWindow(s.closeButton, TRUE);
}

// Ends the break: the screen-saver flag goes back before the window goes.
void CloseBreak(BreakState& s) {
    s.screenSaver.Clear();
    DestroyWindow(s.wnd);
}

// Brings the window to the front and keeps the keyboard focus on it or one of its buttons.
void RetakeFocus(const BreakState& s) {
    if (GetForegroundWindow() != s.wnd) SetForegroundWindow(s.wnd);
    HWND focus = GetFocus();
    if (focus != s.wnd && !IsChild(s.wnd, focus)) SetFocus(s.wnd);
}

// ---- message handlers ----

bool OnCreate(HWND wnd, const CREATESTRUCTA* cs) {
    BreakState* s = win::AttachWindowState(wnd, std::make_unique<BreakState>());
    s->wnd = wnd;
    s->config = *static_cast<const BreakConfig*>(cs->lpCreateParams);

    s->options = ReadBreakOptions(s->config.iniPath);
    const int seconds = s->options.seconds;
    s->seconds = seconds;
    s->enforced = s->options.enforced;

    s->background.reset(CreateSolidBrush(kBreakBackground));
    const monitors::Rect primary = monitors::MonitorOf(nullptr).area;
    s->layout = ScaledBreakLayout(primary.width(), primary.height(), dpi::WindowDpi(wnd));
    MakeFonts(*s);
    CreateControls(*s);
    SetWindowTextA(s->countdownLabel, std::to_string(seconds).c_str());
    EnableWindow(s->closeButton, s->enforced ? FALSE : TRUE);
    // Top-most before the plain windows it owns are made: raising an owner above top-most owned
    // windows leaves it below them (and not top-most) under Wine.
    SetWindowPos(wnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ApplyLayout(*s);

    std::mt19937 random(static_cast<std::mt19937::result_type>(sys::TickCount() ^ GetCurrentProcessId()));
    ShowPicture(*s, breaklogic::FirstPicture(std::uniform_real_distribution<double>(0.0, 1.0)(random)));
    s->screenSaver.Set();

    SetTimer(wnd, kFocusTimerId, kFocusPeriodMs, nullptr);
    // A break of no length is over at once: nothing may keep the user out.
    if (seconds == 0) {
        SetCountdownText(*s, breaklogic::CountdownText(0));
        Finish(*s);
    }
    return true;
}

// The count starts once the window is on the screen with its picture, so that every second
// of the break is seen however long the start took.
void StartCountdown(BreakState& s) {
    if (s.finished || s.countdown) return;
    s.countdown.emplace(s.seconds, sys::TickCount());
    SetTimer(s.wnd, kCountdownTimerId, kCountdownPeriodMs, nullptr);
}

// The clock's built-in chime, of which Break carries its own copy; null when it is missing.
const void* BuiltInChime() {
    const HMODULE self = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(self, MAKEINTRESOURCEA(IDR_RING_SOUND), RT_RING_SOUND);
    HGLOBAL loaded = found ? LoadResource(self, found) : nullptr;  // part of the image: never freed
    return loaded && SizeofResource(self, found) > 0 ? LockResource(loaded) : nullptr;
}

// Whether the file begins as a wave sound does: anything else would play nothing, or the
// system's default sound.
bool WaveFile(const std::string& path) {
    win::AutoHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        file.release();  // INVALID_HANDLE_VALUE is not a handle to close
        return false;
    }
    char head[12] = {};
    DWORD read = 0;
    if (!ReadFile(file.get(), head, sizeof(head), &read, nullptr) || read > sizeof(head)) return false;
    return breakstart::WaveHeader(std::string_view(head, read));
}

// The end of the break is sounded once: the chosen file, or the chime when the file is missing or
// no sound; nothing when the person chose silence. Played asynchronously: the window stays open.
void PlayEndSound(const breakstart::Options& options) {
    if (options.endSound == breakstart::EndSound::Silent) return;
    if (options.endSound == breakstart::EndSound::File && WaveFile(options.endSoundFile) &&
        sys::PlaySoundData(options.endSoundFile.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT)) {
        return;
    }
    if (const void* chime = BuiltInChime()) sys::PlaySoundData(chime, nullptr, SND_MEMORY | SND_ASYNC | SND_NODEFAULT);
}

void OnCountdownTick(BreakState& s) {
    if (s.finished || !s.countdown) return;
    const int remaining = s.countdown->Remaining(sys::TickCount());
    SetCountdownText(s, breaklogic::CountdownText(remaining));
    if (remaining == 0) {
        Finish(s);
        PlayEndSound(s.options);
    }
}

void OnTimer(BreakState& s, UINT_PTR id) {
    if (id == kFocusTimerId) RetakeFocus(s);
    if (id == kCountdownTimerId) OnCountdownTick(s);
}

void OnCommand(BreakState& s, int id) {
    switch (id) {
    case kIdCloseButton:
        if (IsWindowEnabled(s.closeButton)) CloseBreak(s);
        break;
    case kIdNextButton:
        ShowPicture(s, breaklogic::NextPicture(s.pictureNumber));
        break;
    case kIdPreviousButton:
        ShowPicture(s, breaklogic::PreviousPicture(s.pictureNumber));
        break;
    case IDCANCEL:  // Esc
        if (Closable(s)) CloseBreak(s);
        break;
    default:
        break;
    }
}

// The labels: the picture under the label, then the text with a soft shadow so that it reads
// on light and dark pictures alike.
// While high contrast is on they are plain text in the system's window colours instead.
void OnDrawLabel(const BreakState& s, const DRAWITEMSTRUCT* di) {
    HDC dc = di->hDC;
    RECT r = di->rcItem;
    POINT origin{0, 0};
    MapWindowPoints(di->hwndItem, s.wnd, &origin, 1);
    const bool system = sys::HighContrast();
    FillRect(dc, &r, system ? GetSysColorBrush(COLOR_WINDOW) : s.background.get());
    if (s.picture && !system) {
        win::AutoMemDC source(CreateCompatibleDC(dc));
        win::ScopedSelect select(source.get(), s.picture.get());
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, source.get(), origin.x - s.layout.picture.left,
               origin.y - s.layout.picture.top, SRCCOPY);
    }
    const std::string text = win::WindowText(di->hwndItem);
    const int length = static_cast<int>(text.size());
    win::ScopedSelect font(dc, reinterpret_cast<HFONT>(SendMessageA(di->hwndItem, WM_GETFONT, 0, 0)));
    const UINT format = DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX;
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    const int shadow = std::max<int>(1, metrics.tmHeight / kShadowPerHeight);
    if (system) {
        win::ScopedTextStyle plain(dc, TRANSPARENT, GetSysColor(COLOR_WINDOWTEXT));
        DrawTextA(dc, text.c_str(), length, &r, format);
        return;
    }
    {
        win::ScopedTextStyle shadowStyle(dc, TRANSPARENT, kLabelShadow);
        RECT shifted{r.left + shadow, r.top + shadow, r.right + shadow, r.bottom + shadow};
        DrawTextA(dc, text.c_str(), length, &shifted, format);
    }
    win::ScopedTextStyle style(dc, TRANSPARENT, kLabelText);
    DrawTextA(dc, text.c_str(), length, &r, format);
}

void Paint(HDC dc, const BreakState& s) {
    RECT client{};
    GetClientRect(s.wnd, &client);
    const RECT pic{s.layout.picture.left, s.layout.picture.top, s.layout.picture.right(),
                           s.layout.picture.bottom()};
    // Background around the picture only, so that the picture does not flicker.
    win::AutoRegion around(CreateRectRgnIndirect(&client));
    win::AutoRegion picture(CreateRectRgnIndirect(&pic));
    CombineRgn(around.get(), around.get(), picture.get(), RGN_DIFF);
    FillRgn(dc, around.get(), s.background.get());
    if (s.picture) {
        win::AutoMemDC source(CreateCompatibleDC(dc));
        win::ScopedSelect select(source.get(), s.picture.get());
        BitBlt(dc, pic.left, pic.top, pic.right - pic.left, pic.bottom - pic.top, source.get(), 0, 0, SRCCOPY);
    } else {
        FillRect(dc, &pic, s.background.get());
    }
}

void OnDestroy(BreakState& s) {
    KillTimer(s.wnd, kFocusTimerId);
    KillTimer(s.wnd, kCountdownTimerId);
    SetWindowPos(s.wnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    s.screenSaver.Clear();
    if (s.config.quitOnClose) PostQuitMessage(0);
}

LRESULT CALLBACK BreakWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CREATE) return OnCreate(wnd, reinterpret_cast<const CREATESTRUCTA*>(lp)) ? 0 : -1;
    BreakState* s = StateOf(wnd);
    if (!s) return DefWindowProcA(wnd, msg, wp, lp);
    switch (msg) {
    case WM_TIMER:
        OnTimer(*s, wp);
        return 0;
    case WM_COMMAND:
        OnCommand(*s, LOWORD(wp));
        return 0;
    case WM_KEYDOWN:
        if (wp == VK_ESCAPE) OnCommand(*s, IDCANCEL);
        return 0;
    case WM_DRAWITEM:
        OnDrawLabel(*s, reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        return TRUE;
    case WM_CTLCOLORBTN:
        return reinterpret_cast<LRESULT>(s->background.get());
    case WM_SETTINGCHANGE:
        // High contrast turned on or off: the labels are drawn again at once.
        if (wp == SPI_SETHIGHCONTRAST) RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
        break;
    case WM_ERASEBKGND:
        return 1;  // Paint covers the whole client area
    case WM_PAINT: {
        win::PaintScope paint(wnd);
        Paint(paint.dc(), *s);
        return 0;
    }
    case WM_ACTIVATE:
        if (LOWORD(wp) == WA_INACTIVE) PostMessageA(wnd, kMsgRetakeFocus, 0, 0);
        break;
    case kMsgRetakeFocus:
        RetakeFocus(*s);
        return 0;
    case WM_SYSCOMMAND:
        // Alt+F4 and the like reach here first; an enforced break ignores them.
        if ((wp & 0xFFF0) == SC_CLOSE && !Closable(*s)) return 0;
        break;
    case WM_CLOSE:
        if (Closable(*s)) CloseBreak(*s);
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;  // the end of the session is not held up, not even by an enforced break
    case WM_ENDSESSION:
        if (wp) s->screenSaver.Clear();
        return 0;
    case WM_DISPLAYCHANGE:
    case dpi::kDpiChangedMessage:
        Relayout(*s);
        return 0;
    case WM_DESTROY:
        OnDestroy(*s);
        return 0;
    case WM_NCDESTROY:
        win::DeleteWindowState<BreakState>(wnd);
        break;
    default:
        break;
    }
    return DefWindowProcA(wnd, msg, wp, lp);
}

bool RegisterBreakClass() {
    win::WindowClass spec;
    spec.name = kBreakClass;
    spec.procedure = BreakWndProc;
    spec.background = nullptr;  // Paint fills the window
    return win::RegisterWindowClass(spec);
}

}  // namespace

breakstart::Options ReadBreakOptions(const std::string& iniPath) {
    ini::SetIniFile(iniPath);
    // A path longer than the platform's allows is no file: cut, it is not found and the chime plays.
    constexpr std::size_t kValueSize = MAX_PATH + 1;
    breakstart::StoredKeys keys;
    keys.waitBusy = ini::ReadIniString(stopini::kSection, stopini::kWaitBusy, kValueSize);
    keys.notice = ini::ReadIniString(stopini::kSection, stopini::kNotice, kValueSize);
    keys.postpones = ini::ReadIniString(stopini::kSection, stopini::kPostpones, kValueSize);
    keys.skipAway = ini::ReadIniString(stopini::kSection, stopini::kSkipAway, kValueSize);
    keys.endSound = ini::ReadIniString(stopini::kSection, stopini::kEndSound, kValueSize);
    return breakstart::ReadOptions(stopini::ClampBreakLength(ini::ReadIniInt(stopini::kSection, stopini::kTimesShow)),
                                   ini::ReadIniInt(stopini::kSection, stopini::kCmdHide) != 0, keys);
}

BreakConfig DefaultBreakConfig() {
    BreakConfig c;
    c.programDirectory = paths::ProgramDirectory();
    c.iniPath = ini::DefaultIniPath();
    return c;
}

HWND CreateBreakWindow(HINSTANCE instance, const BreakConfig& config, int show) {
    if (!RegisterBreakClass()) return nullptr;
    // No caption, no system menu, no minimise or maximise box: the break covers the primary
    // monitor (and plain windows the others).
    const monitors::Rect primary = monitors::MonitorOf(nullptr).area;
    HWND wnd = CreateWindowExA(0, kBreakClass, kBreakTitle, WS_POPUP | WS_CLIPCHILDREN, primary.left, primary.top,
                               primary.width(), primary.height(), nullptr, nullptr, instance,
                               const_cast<BreakConfig*>(&config));
    if (!wnd) return nullptr;
    // Shown whatever show state the program was started with: a hidden break would hold the
    // screen-saver flag with nothing on the screen to end it. The system may replace the first
    // ShowWindow's state with the one its starter asked for, so a second call makes sure.
    (void)show;
    ShowWindow(wnd, SW_SHOW);
    if (!IsWindowVisible(wnd)) ShowWindow(wnd, SW_SHOW);
    UpdateWindow(wnd);
    SetForegroundWindow(wnd);
    SetFocus(wnd);
    if (BreakState* s = StateOf(wnd)) StartCountdown(*s);
    return wnd;
}

LONG WINAPI BreakCrashFilter(EXCEPTION_POINTERS*) {
    PutScreenSaverFlagBack();
    return EXCEPTION_CONTINUE_SEARCH;  // the system's own crash handling goes on as before
}

namespace {
// The state of wnd when it is a break window of this process.
const BreakState* BreakWindowState(HWND wnd) {
    char cls[32] = {};
    if (!IsWindow(wnd) || !GetClassNameA(wnd, cls, static_cast<int>(sizeof(cls))) || lstrcmpA(cls, kBreakClass) != 0) {
        return nullptr;
    }
    return StateOf(wnd);
}
}  // namespace

int BreakPictureNumber(HWND wnd) {
    const BreakState* s = BreakWindowState(wnd);
    return s ? s->pictureNumber : 0;
}

bool BreakPictureLoaded(HWND wnd) {
    const BreakState* s = BreakWindowState(wnd);
    return s && s->pictureLoaded;
}

bool BreakFinished(HWND wnd) {
    const BreakState* s = BreakWindowState(wnd);
    return s && s->finished;
}

std::vector<HWND> BreakCoverWindows(HWND wnd) {
    std::vector<HWND> covers;
    if (const BreakState* s = BreakWindowState(wnd)) {
        for (const BreakState::Cover& c : s->covers) covers.push_back(c.wnd);
    }
    return covers;
}

void PaintBreakWindow(HWND wnd, HDC dc) {
    if (const BreakState* s = BreakWindowState(wnd)) Paint(dc, *s);
}

}  // namespace break_program
