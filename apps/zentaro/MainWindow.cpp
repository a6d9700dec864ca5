#include "apps/zentaro/MainWindow.h"

#include <mmsystem.h>

#include <memory>

#include "resources/resource_ids.h"
#include "alarms/Scheduler.h"
#include "apps/zentaro/ClockTick.h"
#include "apps/zentaro/MainCommands.h"
#include "apps/zentaro/PopupMenu.h"
#include "face/Skins.h"
#include "tools/DateTip.h"
#include "common/SystemVersion.h"
#include "common/Settings.h"
#include "common/MessageLoop.h"
#include "common/SystemSeams.h"
#include "apps/zentaro/ChimeThreads.h"

namespace {

inline constexpr UINT kClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
inline constexpr DWORD kWindowStyle = WS_POPUP | WS_SYSMENU;
inline constexpr int kInitialPlace = 100;  // left, top, width and height until the face is placed

inline constexpr DWORD kLowBeepHz = 700, kHighBeepHz = 1400, kBeepMs = 1500, kBeepPauseMs = 1000;
inline constexpr int kChimeSteps = 4;

// Process-wide state of the clock window.
struct MainWindowState {
    HWND wnd = nullptr;
    FaceState face;
    TimeDrawing drawTime;
    std::string lastGoodTime;
    short chimeFlag = 0;         // nonzero: hourly chime on
    std::string chimeSound;      // written at creation only, read by the chime threads
    clocktick::HourlyChimeRule chimeRule;
    std::unique_ptr<ThreadLauncher> threads;
};

MainWindowState& State() {
    static MainWindowState state;
    return state;
}

ThreadLauncher& Threads() {
    auto& s = State();
    if (!s.threads) s.threads = std::make_unique<ThreadLauncher>();
    return *s.threads;
}

bool EndsWith(const std::string& text, std::string_view tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// --- message handlers ---

void OnCreate(HWND wnd) {
    auto& s = State();
    s.wnd = wnd;
    s.drawTime = TimeDrawing();
    s.lastGoodTime.clear();
    ApplyStartupOption(wnd, settings::kRndBackBmp);
    ApplyStartupOption(wnd, settings::kRndTimeBmp);
    LoadSkinBitmaps(wnd, s.face);
    PrepareSkinSurfaces(wnd, s.face);
    PlaceClockWindow(wnd, s.face);
    ApplyFaceGeometry(wnd, s.face, s.drawTime);
    CreateMainMenu(wnd);
    const auto hourRing = settings::ReadNumber(settings::kLoadKey, settings::kHourRing);
    s.chimeFlag = hourRing ? static_cast<short>(*hourRing) : 0;
    s.chimeSound = settings::ReadText(settings::kLoadKey, settings::kWavFile);
    s.chimeRule = clocktick::HourlyChimeRule();
    alarms::LoadAlarmItems();
    CreateMainTooltip(wnd);
    SetWindowTextA(wnd, kMainTitle);
}

void OnTimer(HWND wnd) {
    auto& s = State();
    const RECT area{s.drawTime.ReLeft(), s.drawTime.ReTop(), s.drawTime.ReLeft() + face::kTimeAreaWidth + 1,
                    s.drawTime.ReTop() + face::kTimeAreaHeight};
    InvalidateRect(wnd, &area, FALSE);
    // Re-arm for just after the next second boundary, so no second is skipped or shown twice.
    const SYSTEMTIME now = sys::LocalTime();
    SetTimer(wnd, kTickTimerId, clocktick::DelayToNextTick(now.wMilliseconds), nullptr);
    CheckHourlyChime();
    alarms::CheckAlarms();
}

void OnPaint(HWND wnd) {
    auto& s = State();
    win::PaintScope paint(wnd);
    PaintClockFace(paint.dc(), s.face, s.drawTime, ClockTimeText(sys::LocalTime()), s.lastGoodTime);
}

void OnClose(HWND wnd) {
    auto& s = State();
    ReleaseMainMenuAndIcon();
    ReleaseMainTooltip();
    s.drawTime = TimeDrawing();
    s.threads.reset();
    if (!IsIconic(wnd)) {
        RECT r{};
        GetWindowRect(wnd, &r);
        settings::WriteText(settings::kLoadKey, settings::kClockLeft, std::to_string(r.left));
        settings::WriteText(settings::kLoadKey, settings::kClockTop, std::to_string(r.top));
    }
    KillTimer(wnd, kTickTimerId);
    DestroyWindow(wnd);
}

void OnDestroy(HWND wnd) {
    auto& s = State();
    if (s.wnd == wnd) s.wnd = nullptr;
    PostQuitMessage(0);
}

}  // namespace

bool RegisterMainClass(const char* className) {
    WNDCLASSA wc{};
    wc.style = kClassStyle;
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_MENU + 1));
    wc.lpszClassName = className;
    return RegisterClassA(&wc) != 0;
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
    switch (msg) {
    case WM_CREATE: OnCreate(wnd); break;
    case WM_TIMER: OnTimer(wnd); return 0;
    case WM_PAINT: OnPaint(wnd); return 0;
    case WM_CLOSE: OnClose(wnd); return 0;
    case WM_DESTROY: OnDestroy(wnd); break;
    case WM_DRAWITEM:
        if (DrawMainMenuItem(lp)) return TRUE;
        break;
    case WM_MEASUREITEM:
        if (MeasureMainMenuItem(wnd, lp)) return TRUE;
        break;
    default: {
        LRESULT result = 0;
        if (HandleMainCommandMessage(wnd, msg, wp, lp, &result)) return result;
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

void CheckHourlyChime() {
    auto& s = State();
    if (s.chimeFlag == 0) return;
    const SYSTEMTIME now = sys::LocalTime();
    const clocktick::ClockReading reading{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
    if (!s.chimeRule.ShouldChime(reading)) return;
    if (sys::WaveOutDeviceCount() < 1 || sys::MidiOutDeviceCount() < 1)
        Threads().CreateNewThread(PlayChimeBeeps);
    else
        Threads().CreateNewThread(ChimeSoundRoutine);
}

DWORD PlayChimeBeeps() {
    if (!win::IsLayeredCapable()) return 0;
    for (int i = 0; i < kChimeSteps; ++i) {
        if (i < kChimeSteps - 1) sys::BeepTone(kLowBeepHz, kBeepMs);
        sys::Pause(kBeepPauseMs);
        if (i > kChimeSteps - 2) sys::BeepTone(kHighBeepHz, kBeepMs);
    }
    return 0;
}

DWORD ChimeSoundRoutine() {
    const std::string& sound = State().chimeSound;
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
    return 0;
}

HWND MainWindowHandle() { return State().wnd; }
FaceState& MainFace() { return State().face; }
TimeDrawing& MainDrawTime() { return State().drawTime; }

void ReloadClockFace() {
    auto& s = State();
    if (!s.wnd) return;
    const bool shown = IsWindowVisible(s.wnd);
    LoadSkinBitmaps(s.wnd, s.face);
    PrepareSkinSurfaces(s.wnd, s.face);
    ApplyFaceGeometry(s.wnd, s.face, s.drawTime);
    if (shown) ShowWindow(s.wnd, SW_SHOWNA);
    InvalidateRect(s.wnd, nullptr, FALSE);
}

void PaintClockFace(HDC dc, const FaceState& face, const TimeDrawing& drawTime, std::string_view timeText,
                    std::string& lastGoodText) {
    BitBlt(dc, 0, 0, face.width, face.height, face.background.dc(), 0, 0, SRCCOPY);
    const std::string text(timeText);
    if (drawTime.DrawTime(dc, face.glyphs.dc(), text.c_str()) == TimeDrawing::kOk)
        lastGoodText = text;
    else if (!lastGoodText.empty())
        drawTime.DrawTime(dc, face.glyphs.dc(), lastGoodText.c_str());
}
