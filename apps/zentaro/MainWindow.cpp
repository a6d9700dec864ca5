#include "apps/zentaro/MainWindow.h"

#include <mmsystem.h>

#include <memory>

#include "resources/resource_ids.h"
#include "alarms/Scheduler.h"
#include "apps/zentaro/ClockTick.h"
#include "apps/zentaro/MainCommands.h"
#include "apps/zentaro/PopupMenu.h"
#include "apps/zentaro/TrayIcon.h"
#include "face/Skins.h"
#include "tools/DateTip.h"
#include "common/Dpi.h"
#include "common/SystemVersion.h"
#include "common/Settings.h"
#include "common/MessageLoop.h"
#include "common/SystemSeams.h"
#include "common/Wake.h"
#include "apps/zentaro/DetachedThread.h"
#include "common/WindowClass.h"
#include "common/WindowState.h"
#include "toolkit/Controls.h"

namespace zentaro {

namespace {

inline constexpr UINT kClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
inline constexpr DWORD kWindowStyle = WS_POPUP | WS_SYSMENU;
inline constexpr int kInitialPlace = 100;  // left, top, width and height until the face is placed

inline constexpr DWORD kLowBeepHz = 700, kHighBeepHz = 1400, kBeepMs = 1500, kBeepPauseMs = 1000;
inline constexpr int kChimeSteps = 4;

// State of the clock window: attached at WM_NCCREATE, freed at WM_NCDESTROY.
struct MainWindowState {
    HWND wnd = nullptr;
    face::FaceState face;
    face::TimeDrawing drawTime;
    std::string lastGoodTime;
    short chimeFlag = 0;         // nonzero: hourly chime on
    std::string chimeSound;      // copied into each chime thread
    clocktick::HourlyChimeRule chimeRule;
    std::unique_ptr<tools::DateTip> dateTip;
    zentaro::ClockCommands commands;  // the popup menu and the notification-area icon
    // Screen readers: the face is annotated once a reader first asks for it (WM_GETOBJECT),
    // so a clock nobody reads never loads the annotation service.
    enum class Reader { unasked, annotated, unavailable } reader = Reader::unasked;
    std::string spokenTime;  // the value last given to readers
};

// The one clock window of this process: a top-level window of this process whose class has
// the clock's procedure.
BOOL CALLBACK FindClockWindow(HWND wnd, LPARAM found) {
    DWORD process = 0;
    GetWindowThreadProcessId(wnd, &process);
    if (process != GetCurrentProcessId()) return TRUE;
    if (reinterpret_cast<WNDPROC>(GetClassLongPtrA(wnd, GCLP_WNDPROC)) != MainWndProc) return TRUE;
    if (!win::WindowState<MainWindowState>(wnd)) return TRUE;
    *reinterpret_cast<HWND*>(found) = wnd;
    return FALSE;
}

MainWindowState* FindState() {
    HWND found = nullptr;
    EnumWindows(FindClockWindow, reinterpret_cast<LPARAM>(&found));
    return win::WindowState<MainWindowState>(found);
}

bool EndsWith(const std::string& text, std::string_view tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// --- message handlers ---

void OnCreate(HWND wnd, MainWindowState& s) {
    ApplyStartupOption(wnd, settings::kRndBackBmp);
    ApplyStartupOption(wnd, settings::kRndTimeBmp);
    face::LoadSkinBitmaps(wnd, s.face);
    face::PrepareSkinSurfaces(wnd, s.face);
    face::PlaceClockWindow(wnd, s.face);
    face::ApplyFaceGeometry(wnd, s.face, s.drawTime);
    zentaro::CreateMainMenu(s.commands);
    const auto hourRing = settings::ReadNumber(settings::kLoadKey, settings::kHourRing);
    s.chimeFlag = hourRing ? static_cast<short>(*hourRing) : 0;
    s.chimeSound = settings::ReadText(settings::kLoadKey, settings::kWavFile);
    alarms::StartScheduler();
    wake::SetEnabled(settings::ReadFlag(settings::kOptionKey, settings::kWakeForAlarms));
    s.dateTip = tools::CreateDateTip(wnd);
    SetWindowTextA(wnd, kMainTitle);
}

// Keeps the wake at the scheduler's next due instant. Every event that can move it (start-up,
// a stored edit, a snooze, a resume, a time or time-zone change, the option switched on) is
// followed by a tick, so asking on each tick covers them all; an unchanged instant costs
// nothing. The wake is armed in UTC, so it keeps its moment across a time-zone change while
// the computer sleeps.
void FollowNextDue() {
    wake::Rearm(alarms::NextDueUtc(), wake::UtcNow());
    wake::ReleaseOverdueHold();
}

// The face's value for readers: the time and date to the minute. Set only when the minute's
// text differs from the last one given, so a reader hears of a change once a minute at most;
// between two settings (also while a skin is being changed) readers get the last value.
void AnnounceTime(HWND wnd, MainWindowState& s) {
    if (s.reader != MainWindowState::Reader::annotated) return;
    const std::string spoken = tools::SpokenDateTimeText(sys::LocalTime());
    if (spoken.empty() || spoken == s.spokenTime) return;
    if (!sys::Annotate(wnd, sys::AccessibleText::value, spoken)) return;
    s.spokenTime = spoken;
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, wnd, OBJID_CLIENT, CHILDID_SELF);
}

void OnGetObject(HWND wnd, MainWindowState& s) {
    if (s.reader != MainWindowState::Reader::unasked) return;
    // Without the service (before Windows 7 or without oleacc) the face keeps its window
    // text as its name; it is not asked again.
    if (!sys::Annotate(wnd, sys::AccessibleText::name, kMainTitle)) {
        s.reader = MainWindowState::Reader::unavailable;
        return;
    }
    s.reader = MainWindowState::Reader::annotated;
    AnnounceTime(wnd, s);
}

// The chime of the hour: called on every tick; starts the chime thread once an hour.
void CheckHourlyChime(MainWindowState& s) {
    if (s.chimeFlag == 0) return;
    const SYSTEMTIME now = sys::LocalTime();
    const clocktick::ClockReading reading{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
    if (!s.chimeRule.ShouldChime(reading)) return;
    if (sys::WaveOutDeviceCount() < 1 || sys::MidiOutDeviceCount() < 1)
        zentaro::StartDetachedThread([] { PlayChimeBeeps(); });
    else
        zentaro::StartDetachedThread([sound = s.chimeSound] { PlayChimeSound(sound); });
}

void OnTimer(HWND wnd, MainWindowState& s) {
    const RECT area = face::ShownRect(s.face, {s.drawTime.ReLeft(), s.drawTime.ReTop(),
                                               s.drawTime.ReLeft() + face::kTimeAreaWidth + 1,
                                               s.drawTime.ReTop() + face::kTimeAreaHeight});
    InvalidateRect(wnd, &area, FALSE);
    // Re-arm for just after the next second boundary, so no second is skipped or shown twice.
    const SYSTEMTIME now = sys::LocalTime();
    SetTimer(wnd, kTickTimerId, clocktick::DelayToNextTick(now.wMilliseconds), nullptr);
    CheckHourlyChime(s);
    alarms::CheckAlarms();
    FollowNextDue();
    if (s.dateTip) s.dateTip->OnClockTick();
    s.commands.tray.RefreshTip();
    AnnounceTime(wnd, s);
}

void OnPaint(HWND wnd, MainWindowState& s) {
    win::PaintScope paint(wnd);
    PaintClockFace(paint.dc(), s.face, s.drawTime, face::ClockTimeText(sys::LocalTime()), s.lastGoodTime);
}

void OnClose(HWND wnd, MainWindowState& s) {
    zentaro::ReleaseMainMenuAndIcon(s.commands);
    s.dateTip.reset();
    if (!IsIconic(wnd)) {
        RECT r{};
        GetWindowRect(wnd, &r);
        settings::WriteText(settings::kLoadKey, settings::kClockLeft, std::to_string(r.left));
        settings::WriteText(settings::kLoadKey, settings::kClockTop, std::to_string(r.top));
    }
    KillTimer(wnd, kTickTimerId);
    DestroyWindow(wnd);
}

// The chime's threads end before the window and the program that started them; the wake
// ends with the clock.
void OnDestroy() {
    wake::Disarm();
    zentaro::StopDetachedThreads();
    PostQuitMessage(0);
}


}  // namespace

bool RegisterMainClass(const char* className) {
    return win::RegisterWindowClass({className, MainWndProc, kClassStyle,
                                     reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_MENU + 1))});
}

HWND CreateMainWindow(const char* className, DWORD exStyle, const char* title) {
    return CreateWindowExA(exStyle | WS_EX_TOOLWINDOW, className, title, kWindowStyle, kInitialPlace, kInitialPlace,
                           kInitialPlace, kInitialPlace, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

void StartMainWindow(HWND main) {
    UpdateWindow(main);
    SetTimer(main, kTickTimerId, kFirstTickMs, nullptr);
    ApplyStartupOption(main, settings::kWindowpos);
    ShowInitialState(main);
}

void RunMainWindow(const char* className, DWORD exStyle, const char* title) {
    if (!RegisterMainClass(className)) return;
    if (HWND wnd = CreateMainWindow(className, exStyle, title)) {
        StartMainWindow(wnd);
        win::RunMessageLoop();
    }
    UnregisterClassA(className, GetModuleHandleA(nullptr));
}

LRESULT CALLBACK MainWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto state = std::make_unique<MainWindowState>();
        state->wnd = wnd;
        win::AttachWindowState(wnd, std::move(state));
        return DefWindowProcA(wnd, msg, wp, lp);
    }
    if (msg == WM_NCDESTROY) {
        win::DeleteWindowState<MainWindowState>(wnd);
        return DefWindowProcA(wnd, msg, wp, lp);
    }
    MainWindowState* s = win::WindowState<MainWindowState>(wnd);
    if (!s) return DefWindowProcA(wnd, msg, wp, lp);
    switch (msg) {
    case WM_MOUSEMOVE:
    case WM_MOUSEHOVER:
    case WM_MOUSELEAVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        // The date tip sees the mouse first; the clock's own handling follows below.
        if (s->dateTip) s->dateTip->OnMouseMessage(msg);
        break;
    default: break;
    }
    switch (msg) {
    case WM_CREATE: OnCreate(wnd, *s); break;
    case WM_TIMER: OnTimer(wnd, *s); return 0;
    // Resuming from sleep and clock changes: the scheduler catches up at once.
    case WM_POWERBROADCAST:
        if (wp == PBT_APMRESUMEAUTOMATIC || wp == PBT_APMRESUMESUSPEND) {
            wake::NoteResume();
            alarms::CheckAlarms();
            FollowNextDue();
        }
        return TRUE;
    case WM_TIMECHANGE:
        alarms::CheckAlarms();
        FollowNextDue();
        return 0;
    // A monitor removed or made smaller, or a taskbar moved over the clock, may leave it out of
    // reach.
    case WM_DISPLAYCHANGE: face::KeepClockWithinReach(wnd); return 0;
    case WM_SETTINGCHANGE:
        if (wp == SPI_SETWORKAREA) face::KeepClockWithinReach(wnd);
        // High contrast turned on or off: the face's translucency follows at once.
        if (wp == SPI_SETHIGHCONTRAST) face::ApplyFaceOpacity(wnd);
        break;
    // The answer itself comes from the system's standard object, which reads the annotations.
    case WM_GETOBJECT: OnGetObject(wnd, *s); break;
    case WM_PAINT: OnPaint(wnd, *s); return 0;
    case WM_CLOSE: OnClose(wnd, *s); return 0;
    case WM_DESTROY: OnDestroy(); break;
    case dpi::kDpiChangedMessage:
        face::FollowFaceDpi(wnd, s->face, LOWORD(wp), reinterpret_cast<const RECT*>(lp));
        return 0;
    case WM_DRAWITEM:
        if (zentaro::DrawMainMenuItem(s->commands, lp)) return TRUE;
        break;
    case WM_MEASUREITEM:
        if (zentaro::MeasureMainMenuItem(wnd, s->commands, lp)) return TRUE;
        break;
    default: {
        LRESULT result = 0;
        if (zentaro::HandleMainCommandMessage(wnd, s->commands, msg, wp, lp, &result)) return result;
        break;
    }
    }
    return DefWindowProcA(wnd, msg, wp, lp);
}

void ApplyStartupOption(HWND main, const char* valueName) {
    if (!settings::ReadFlag(settings::kOptionKey, valueName)) return;
    if (std::string_view(valueName) == settings::kWindowpos)
        SetWindowPos(main, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    else
        skins::ApplyRandomSkinChoice(valueName);
}

void ShowInitialState(HWND main) {
    const auto iconRun = settings::ReadNumber(settings::kOptionKey, settings::kIconRun);
    ShowWindow(main, iconRun && *iconRun > 0 ? SW_MINIMIZE : SW_SHOWNORMAL);
}

DWORD PlayChimeBeeps() {
    if (!win::IsLayeredCapable()) return 0;
    // A stop request (the clock is closing) cuts the chime short between its beeps.
    for (int i = 0; i < kChimeSteps && !zentaro::BackgroundStopRequested(); ++i) {
        if (i < kChimeSteps - 1) sys::BeepTone(kLowBeepHz, kBeepMs);
        if (zentaro::BackgroundStopRequested()) break;
        sys::Pause(kBeepPauseMs);
        if (i > kChimeSteps - 2) sys::BeepTone(kHighBeepHz, kBeepMs);
    }
    return 0;
}

void PlayChimeSound(const std::string& sound) {
    if (sound.empty()) {
        // The resource stays mapped for the process's life, so it outlives the playback.
        HMODULE module = GetModuleHandleA(nullptr);
        HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(IDR_RING_SOUND), RT_RING_SOUND);
        HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
        if (const void* data = loaded ? LockResource(loaded) : nullptr)
            sys::PlaySoundData(data, nullptr, SND_MEMORY | SND_ASYNC);
    } else if (EndsWith(sound, "wav")) {
        sys::PlaySoundData(sound.c_str(), nullptr, SND_FILENAME | SND_ASYNC);
    } else {
        // MCI splits its command at blanks: a path holding one is quoted.
        const bool quote = sound.find(' ') != std::string::npos;
        sys::MciCommand(("play " + (quote ? "\"" + sound + "\"" : sound)).c_str());
    }
}

HWND MainWindowHandle() {
    const MainWindowState* s = FindState();
    return s ? s->wnd : nullptr;
}
zentaro::ClockCommands* MainWindowCommands() {
    MainWindowState* s = FindState();
    return s ? &s->commands : nullptr;
}
face::FaceState& MainFace() { return FindState()->face; }
face::TimeDrawing& MainDrawTime() { return FindState()->drawTime; }

void ReloadClockFace() {
    MainWindowState* found = FindState();
    if (!found) return;
    MainWindowState& s = *found;
    const bool shown = IsWindowVisible(s.wnd);
    face::LoadSkinBitmaps(s.wnd, s.face);
    face::PrepareSkinSurfaces(s.wnd, s.face);
    face::ApplyFaceGeometry(s.wnd, s.face, s.drawTime);
    if (shown) ShowWindow(s.wnd, SW_SHOWNA);
    InvalidateRect(s.wnd, nullptr, FALSE);
}

void PaintClockFace(HDC dc, const face::FaceState& face, const face::TimeDrawing& drawTime, std::string_view timeText,
                    std::string& lastGoodText) {
    const auto compose = [&](HDC target) {
        BitBlt(target, 0, 0, face.width, face.height, face.background.dc(), 0, 0, SRCCOPY);
        const std::string text(timeText);
        if (drawTime.DrawTime(target, face.glyphs.dc(), text.c_str()) == face::TimeDrawing::kOk)
            lastGoodText = text;
        else if (!lastGoodText.empty())
            drawTime.DrawTime(target, face.glyphs.dc(), lastGoodText.c_str());
    };
    if (face.shownWidth() == face.width && face.shownHeight() == face.height) {
        compose(dc);  // 96 DPI: straight onto the window
        return;
    }
    // Scaled: the face is composed at the skin's size, then stretched to the window's.
    win::AutoMemDC composed(CreateCompatibleDC(dc));
    win::AutoBitmap image(CreateCompatibleBitmap(dc, face.width, face.height));
    if (!composed || !image) return;
    {
        win::ScopedSelect on(composed.get(), image.get());
        compose(composed.get());
        face::PresentFace(dc, composed.get(), face);
    }
}

}  // namespace zentaro
