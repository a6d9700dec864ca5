// The main clock window in-process: creation from the settings, the tick, painting, closing,
// the hourly chime and the shape; bad skin files and stored places; the date tip.
#include "face/FaceLayout.h"
#include "face/TimeDrawing.h"
#include "face/Face.h"
#include "common/Handles.h"
#include "common/Monitors.h"
#include "apps/zentaro/MainWindow.h"
#include "common/Settings.h"
#include "common/SystemSeams.h"
#include "apps/zentaro/DetachedThread.h"
#include "tools/DateTip.h"
#include "tests/win/support/TestSupport.h"

#include <gtest/gtest.h>

#include <set>

#include <commctrl.h>
#include <mmsystem.h>

#include <mutex>
#include <string>
#include <vector>

using testing_support::ClearUserRegistry;
using testing_support::MakeBmp;
using testing_support::PumpPending;
using testing_support::PumpUntil;
using testing_support::TempDir;
using testing_support::WriteFileBytes;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);

using testing_support::MessageBoxRecorder;

// Tuesday 8 December 2026.
SYSTEMTIME At(WORD h, WORD m, WORD s, WORD ms = 20) { return testing_support::LocalTime(2026, 12, 8, h, m, s, ms); }

void PutDword(const char* key, const char* name, DWORD value) {
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(k, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(k);
}

// Type and text of a stored value.
std::pair<DWORD, std::string> Stored(const char* key, const char* name) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return {0, "<missing>"};
    char buf[256] = {};
    DWORD type = 0, size = sizeof buf - 1;
    const LONG rc = RegQueryValueExA(k, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
    RegCloseKey(k);
    if (rc != ERROR_SUCCESS) return {0, "<missing>"};
    return {type, std::string(buf)};
}

class ClockWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearUserRegistry();
        seams_->getLocalTime = [this](SYSTEMTIME& t) {
            t = now_;
            ++clockReads_;
        };
        seams_->waveOutDevices = [] { return 1u; };
        seams_->midiOutDevices = [] { return 1u; };
        seams_->playSound = [this](const void* sound, HMODULE, DWORD flags) {
            std::lock_guard<std::mutex> lock(mutex_);
            sounds_.push_back({flags & SND_MEMORY ? std::string("<memory>") : std::string(static_cast<const char*>(sound)),
                               flags});
            return TRUE;
        };
        seams_->mciCommand = [this](const char* command) {
            std::lock_guard<std::mutex> lock(mutex_);
            sounds_.push_back({command, 0xFFFFFFFF});
        };
        seams_->beep = [this](DWORD hz, DWORD ms) {
            std::lock_guard<std::mutex> lock(mutex_);
            beeps_.push_back({hz, ms});
        };
        seams_->sleep = [](DWORD) {};
    }
    void TearDown() override {
        WaitForChimeThreads();
        if (HWND w = zentaro::MainWindowHandle()) DestroyWindow(w);
        UnregisterClassA(zentaro::kMainClassName, GetModuleHandleA(nullptr));
        PumpPending();
    }

    HWND Open(DWORD exStyle = WS_EX_LAYERED) {
        EXPECT_TRUE(zentaro::RegisterMainClass(zentaro::kMainClassName));
        HWND w = zentaro::CreateMainWindow(zentaro::kMainClassName, exStyle, "");
        EXPECT_NE(w, nullptr);
        if (w) zentaro::StartMainWindow(w);
        PumpPending();
        return w;
    }
    // Where the clock opens when the Load key holds these texts (null: no value).
    POINT PlaceAfterStoring(const char* left, const char* top) {
        ClearUserRegistry();
        if (left) settings::WriteText(settings::kLoadKey, settings::kClockLeft, left);
        if (top) settings::WriteText(settings::kLoadKey, settings::kClockTop, top);
        HWND w = Open();
        RECT r{};
        GetWindowRect(w, &r);
        DestroyWindow(w);
        UnregisterClassA(zentaro::kMainClassName, GetModuleHandleA(nullptr));
        PumpPending();
        return {r.left, r.top};
    }
    void Tick(HWND w, const SYSTEMTIME& at) {
        now_ = at;
        SendMessageA(w, WM_TIMER, zentaro::kTickTimerId, 0);
    }
    static void WaitForChimeThreads() {
        PumpUntil([] { return zentaro::DetachedThreadsRunning() == 0; }, 10000);
    }
    struct Sound {
        std::string what;
        DWORD flags;
    };
    std::vector<Sound> Sounds() {
        std::lock_guard<std::mutex> lock(mutex_);
        return sounds_;
    }
    std::vector<std::pair<DWORD, DWORD>> Beeps() {
        std::lock_guard<std::mutex> lock(mutex_);
        return beeps_;
    }

    sys::ScopedSeams seams_;
    SYSTEMTIME now_ = At(21, 34, 56);
    int clockReads_ = 0;  // every tick and every paint reads the clock
    std::mutex mutex_;
    std::vector<Sound> sounds_;
    std::vector<std::pair<DWORD, DWORD>> beeps_;
};

TEST_F(ClockWindowTest, FreshProfileGivesTheBuiltInFaceCentredAndTranslucent) {
    HWND w = Open();
    ASSERT_TRUE(w);
    EXPECT_EQ(zentaro::MainWindowHandle(), w);
    RECT r{};
    GetWindowRect(w, &r);
    EXPECT_EQ(r.right - r.left, 120);
    EXPECT_EQ(r.bottom - r.top, 38);
    EXPECT_EQ(r.left, monitors::CentredOffset(GetSystemMetrics(SM_CXSCREEN), 120));
    EXPECT_EQ(r.top, monitors::CentredOffset(GetSystemMetrics(SM_CYSCREEN), 38));

    const LONG_PTR ex = GetWindowLongPtrA(w, GWL_EXSTYLE);
    EXPECT_EQ(ex & (WS_EX_TOOLWINDOW | WS_EX_LAYERED), WS_EX_TOOLWINDOW | WS_EX_LAYERED);
    EXPECT_FALSE(ex & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindowLongPtrA(w, GWL_STYLE) & (WS_POPUP | WS_SYSMENU | WS_CAPTION), WS_POPUP | WS_SYSMENU);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(w, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 188);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));

    win::AutoRegion region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(w, region.get()), ERROR);
    for (auto [x, y] : {std::pair{0, 0}, {119, 0}, {0, 37}, {119, 37}})
        EXPECT_FALSE(PtInRegion(region.get(), x, y)) << "red corner " << x << "," << y;
    EXPECT_TRUE(PtInRegion(region.get(), 60, 19));

    EXPECT_EQ(zentaro::MainDrawTime().ReLeft(), 5);
    EXPECT_EQ(zentaro::MainDrawTime().ReTop(), 7);
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_FALSE(IsIconic(w));
    char title[32] = {};
    GetWindowTextA(w, title, sizeof title);
    EXPECT_STREQ(title, "Zentaro");
}

TEST_F(ClockWindowTest, StartOptionsDecideShownStateAndTopmost) {
    struct Case {
        const char* what;
        const char* iconRun;  // REG_SZ text, or null for none
        DWORD windowpos;      // stored as REG_DWORD when nonzero
        bool minimised;
        bool topmost;
    };
    const Case cases[] = {
        {"nothing stored", nullptr, 0, false, false},
        {"IconRun 1", "1", 0, true, false},
        {"IconRun abc", "abc", 0, false, false},
        {"IconRun 0", "0", 0, false, false},
        {"Windowpos 1", nullptr, 1, false, true},
    };
    for (const Case& c : cases) {
        ClearUserRegistry();
        if (c.iconRun) settings::WriteText(settings::kOptionKey, settings::kIconRun, c.iconRun);
        if (c.windowpos) PutDword(settings::kOptionKey, settings::kWindowpos, c.windowpos);
        HWND w = Open();
        EXPECT_EQ(IsIconic(w) != FALSE, c.minimised) << c.what;
        if (!c.minimised) {
            EXPECT_TRUE(IsWindowVisible(w)) << c.what;
        }
        EXPECT_EQ((GetWindowLongPtrA(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, c.topmost) << c.what;
        DestroyWindow(w);
        UnregisterClassA(zentaro::kMainClassName, GetModuleHandleA(nullptr));
        PumpPending();
    }
}

TEST_F(ClockWindowTest, ClosingWhileShownStoresThePlaceAsText) {
    HWND w = Open();
    SetWindowPos(w, nullptr, 40, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessageA(w, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(zentaro::MainWindowHandle(), nullptr);
    EXPECT_EQ(Stored(settings::kLoadKey, settings::kClockLeft), (std::pair<DWORD, std::string>{REG_SZ, "40"}));
    EXPECT_EQ(Stored(settings::kLoadKey, settings::kClockTop), (std::pair<DWORD, std::string>{REG_SZ, "50"}));
    UnregisterClassA(zentaro::kMainClassName, GetModuleHandleA(nullptr));
    PumpPending();

    // Started again, the clock comes back to that place.
    w = Open();
    RECT r{};
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 50);
}

TEST_F(ClockWindowTest, ClosingWhileMinimisedKeepsTheStoredPlace) {
    settings::WriteText(settings::kLoadKey, settings::kClockLeft, "30");
    settings::WriteText(settings::kLoadKey, settings::kClockTop, "20");
    HWND w = Open();
    ShowWindow(w, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(w));
    SendMessageA(w, WM_CLOSE, 0, 0);
    EXPECT_EQ(Stored(settings::kLoadKey, settings::kClockLeft).second, "30");
    EXPECT_EQ(Stored(settings::kLoadKey, settings::kClockTop).second, "20");
}

TEST_F(ClockWindowTest, StoredPlacesThatWouldLoseTheClockAreIgnored) {
    const int centreX = monitors::CentredOffset(GetSystemMetrics(SM_CXSCREEN), 120);
    const int centreY = monitors::CentredOffset(GetSystemMetrics(SM_CYSCREEN), 38);
    struct Case {
        const char* what;
        const char* left;
        const char* top;
        int expectedLeft, expectedTop;
    };
    const Case cases[] = {
        {"usable place", "12", "34", 12, 34},
        {"far off screen", "-99999", "10", centreX, centreY},
        {"not a number", "abc", "10", centreX, centreY},
        {"exponent form", "1e9", "10", centreX, centreY},
        {"top missing", "12", nullptr, centreX, centreY},
        {"mostly below the screen", "12", "100000", centreX, centreY},
    };
    for (const Case& c : cases) {
        const POINT at = PlaceAfterStoring(c.left, c.top);
        EXPECT_EQ(at.x, c.expectedLeft) << c.what;
        EXPECT_EQ(at.y, c.expectedTop) << c.what;
    }
}

// Two monitors in force: the primary second in the list, the other one left of it at negative
// coordinates and larger; both have a taskbar at the bottom.
std::vector<monitors::Monitor> LeftOfPrimary() {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    return {{{-1920, -312, 0, h}, {-1920, -312, 0, h - 40}, false}, {{0, 0, w, h}, {0, 0, w, h - 30}, true}};
}

TEST_F(ClockWindowTest, StoredPlacesFollowTheMonitorThatHoldsOrIsNearestToThem) {
    const std::vector<monitors::Monitor> list = LeftOfPrimary();
    monitors::ScopedMonitors fake(list);
    const monitors::Rect onPrimary = monitors::CentredIn(list[1].work, 120, 38);
    const monitors::Rect onLeft = monitors::CentredIn(list[0].work, 120, 38);
    const std::string taskbarTop = std::to_string(list[1].work.bottom);
    struct Case {
        const char* what;
        const char* left;
        const char* top;
        int expectedLeft, expectedTop;
    } cases[] = {
        {"on the left monitor, at negative coordinates", "-1500", "-200", -1500, -200},
        {"nothing stored: the primary's work area", nullptr, nullptr, onPrimary.left, onPrimary.top},
        {"beyond the left monitor: its work area", "-5000", "10", onLeft.left, onLeft.top},
        {"far beyond the left monitor", "-2147483648", "10", onLeft.left, onLeft.top},
        {"on the primary's taskbar: the primary's work area", "100", taskbarTop.c_str(),
         onPrimary.left, onPrimary.top},
    };
    for (const Case& c : cases) {
        const POINT at = PlaceAfterStoring(c.left, c.top);
        EXPECT_EQ(at.x, c.expectedLeft) << c.what;
        EXPECT_EQ(at.y, c.expectedTop) << c.what;
    }
}

TEST_F(ClockWindowTest, AClockLeftOutOfReachByAChangeOfTheMonitorsComesBack) {
    const std::vector<monitors::Monitor> two = LeftOfPrimary();
    monitors::ScopedMonitors fake(two);
    settings::WriteText(settings::kLoadKey, settings::kClockLeft, "-1500");
    settings::WriteText(settings::kLoadKey, settings::kClockTop, "-200");
    HWND w = Open();
    RECT r{};
    GetWindowRect(w, &r);
    ASSERT_EQ(r.left, -1500);

    SendMessageA(w, WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));  // nothing changed: it stays
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, -1500);
    EXPECT_EQ(r.top, -200);

    fake.Set({two[1]});  // the left monitor is removed
    SendMessageA(w, WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
    const monitors::Rect onPrimary = monitors::CentredIn(two[1].work, 120, 38);
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, onPrimary.left);
    EXPECT_EQ(r.top, onPrimary.top);
    EXPECT_EQ(r.right - r.left, 120);
    EXPECT_EQ(r.bottom - r.top, 38);

    // The taskbar moves up over the clock: the work area left to it takes the clock.
    monitors::Monitor shrunk = two[1];
    shrunk.work.bottom = onPrimary.top;
    fake.Set({shrunk});
    SendMessageA(w, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
    const monitors::Rect above = monitors::CentredIn(shrunk.work, 120, 38);
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, above.left);
    EXPECT_EQ(r.top, above.top);
}

TEST_F(ClockWindowTest, OpacityIsReadAndKeptVisible) {
    struct Case {
        const char* stored;
        BYTE expected;
    };
    const Case cases[] = {{"abc", 188}, {"255", 255}, {"150", 150}, {"0", 100}, {"300", 255}};
    for (const Case& c : cases) {
        ClearUserRegistry();
        settings::WriteText(settings::kLoadKey, settings::kAlpha, c.stored);
        HWND w = Open();
        BYTE alpha = 0;
        GetLayeredWindowAttributes(w, nullptr, &alpha, nullptr);
        EXPECT_EQ(alpha, c.expected) << c.stored;
        DestroyWindow(w);
        UnregisterClassA(zentaro::kMainClassName, GetModuleHandleA(nullptr));
        PumpPending();
    }
}

TEST_F(ClockWindowTest, TickInvalidatesOnlyTheTimeArea) {
    HWND w = Open();
    ValidateRect(w, nullptr);
    Tick(w, At(10, 20, 30));
    RECT dirty{};
    ASSERT_TRUE(GetUpdateRect(w, &dirty, FALSE));
    EXPECT_EQ(dirty.left, 5);
    EXPECT_EQ(dirty.top, 7);
    EXPECT_EQ(dirty.right, 5 + 111);
    EXPECT_EQ(dirty.bottom, 7 + 25);
}

// Each tick arms the next one (its delay, DelayToNextTick, has its own unit test); the tick
// timer is probed by killing it, which succeeds only while it is armed.
TEST_F(ClockWindowTest, EachTickReArmsTheTickTimer) {
    HWND w = Open();
    ASSERT_TRUE(KillTimer(w, zentaro::kTickTimerId)) << "armed at start";
    for (const WORD millisecond : {WORD{990}, WORD{20}}) {
        ASSERT_FALSE(KillTimer(w, zentaro::kTickTimerId));
        const int readsBefore = clockReads_;
        Tick(w, At(10, 20, 30, millisecond));
        EXPECT_GT(clockReads_, readsBefore) << millisecond;
        EXPECT_TRUE(KillTimer(w, zentaro::kTickTimerId)) << millisecond;
    }
}

TEST_F(ClockWindowTest, TimeTextIsTwentyFourHourWithoutMarker) {
    // The prefix's default time form is 12-hour with "AM"/"PM".
    EXPECT_EQ(face::ClockTimeText(At(21, 34, 56)).substr(0, 8), "21:34:56");
    const std::string morning = face::ClockTimeText(At(9, 5, 3));
    EXPECT_TRUE(morning == "9:05:03" || morning == "09:05:03") << morning;
}

TEST_F(ClockWindowTest, PaintedTimeAreaHoldsTheGlyphsOfTheTime) {
    Open();
    const face::FaceState& face = zentaro::MainFace();
    // A 32-bit DIB section as the paint target, so its pixels can be read back exactly.
    win::WindowDC screen(nullptr);
    win::AutoMemDC dc(CreateCompatibleDC(screen.get()));
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof bi.bmiHeader, face.width, -face.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    win::AutoBitmap target(CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    win::ScopedSelect sel(dc.get(), target.get());

    std::string lastGood;
    zentaro::PaintClockFace(dc.get(), face, zentaro::MainDrawTime(), face::ClockTimeText(At(21, 34, 56)), lastGood);
    EXPECT_EQ(lastGood.substr(0, 8), "21:34:56");

    const face::PixelGrid painted = face::ReadSurfacePixels(dc.get(), face.width, face.height);
    const face::PixelGrid glyphs = face::ReadSurfacePixels(face.glyphs.dc(), 180, 25);
    const face::PixelGrid background = face::ReadSurfacePixels(face.background.dc(), face.width, face.height);
    ASSERT_FALSE(painted.pixels.empty());
    ASSERT_FALSE(glyphs.pixels.empty());
    struct Cell {
        const char* what;
        int offsetX, width, sourceX;
    };
    const Cell cells[] = {{"2", 0, 16, 30},  {"1", 16, 16, 15}, {":", 32, 8, 151}, {"3", 40, 16, 45},
                          {"4", 56, 16, 60}, {":", 72, 8, 151}, {"5", 80, 15, 75}, {"6", 95, 16, 90}};
    auto matches = [&](const face::PixelGrid& image, const Cell& c) {
        int differing = 0;
        for (int y = 0; y < 25; ++y)
            for (int x = 0; x < c.width; ++x)
                if (image.at(5 + c.offsetX + x, 7 + y) != glyphs.at(c.sourceX + x, y)) ++differing;
        return differing;
    };
    for (const Cell& c : cells) EXPECT_EQ(matches(painted, c), 0) << "cell " << c.what << " at " << c.offsetX;
    // Outside the time area the background shows.
    EXPECT_EQ(painted.at(0, 0), background.at(0, 0));
    EXPECT_EQ(painted.at(60, 35), background.at(60, 35));

    // A text that cannot be drawn leaves the last good time on the face.
    std::fill(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + face.width * face.height, 0u);
    zentaro::PaintClockFace(dc.get(), face, zentaro::MainDrawTime(), "10:1O:39", lastGood);
    EXPECT_EQ(lastGood.substr(0, 8), "21:34:56");
    const face::PixelGrid kept = face::ReadSurfacePixels(dc.get(), face.width, face.height);
    for (const Cell& c : cells) EXPECT_EQ(matches(kept, c), 0) << "kept cell " << c.what;
    EXPECT_EQ(zentaro::MainDrawTime().DrawTime(dc.get(), face.glyphs.dc(), "10:1O:39"), face::TimeDrawing::kNotADigit);
}

TEST_F(ClockWindowTest, ChimeSoundsOnceAtTheFirstTickOfTheHour) {
    PutDword(settings::kLoadKey, settings::kHourRing, 1);
    HWND w = Open();
    Tick(w, At(9, 59, 59));
    Tick(w, At(10, 0, 1));  // the tick skipped second 0
    Tick(w, At(10, 0, 1, 600));
    Tick(w, At(10, 0, 2));
    WaitForChimeThreads();
    const auto sounds = Sounds();
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(sounds[0].what, "<memory>");
    EXPECT_EQ(sounds[0].flags, static_cast<DWORD>(SND_MEMORY | SND_ASYNC));
    EXPECT_TRUE(Beeps().empty());
}

TEST_F(ClockWindowTest, ChimeSettingsChooseWhatSounds) {
    struct Case {
        const char* what;
        const char* hourRing;  // REG_SZ text; null for none
        const char* wavFile;
        UINT waveDevices;
        std::vector<std::string> sounds;
        size_t beeps;
    };
    const Case cases[] = {
        {"chime off when HourRing is missing", nullptr, nullptr, 1, {}, 0},
        {"chime off when HourRing is not a number", "on", nullptr, 1, {}, 0},
        {"HourRing as text 1", "1", nullptr, 1, {"<memory>"}, 0},
        {"lower-case wav file", "1", "C:\\chimes\\bell.wav", 1, {"C:\\chimes\\bell.wav"}, 0},
        {"upper-case WAV goes through MCI", "1", "C:\\chimes\\bell.WAV", 1, {"play C:\\chimes\\bell.WAV"}, 0},
        {"MIDI file through MCI, quoted for its blank", "1", "C:\\my chimes\\bell.mid", 1,
         {"play \"C:\\my chimes\\bell.mid\""}, 0},
        {"no wave device: the beeps", "1", nullptr, 0, {}, 4},
    };
    for (const Case& c : cases) {
        ClearUserRegistry();
        {
            std::lock_guard<std::mutex> lock(mutex_);
            sounds_.clear();
            beeps_.clear();
        }
        const UINT devices = c.waveDevices;
        seams_->waveOutDevices = [devices] { return devices; };
        if (c.hourRing) settings::WriteText(settings::kLoadKey, settings::kHourRing, c.hourRing);
        if (c.wavFile) settings::WriteText(settings::kLoadKey, settings::kWavFile, c.wavFile);
        HWND w = Open();
        Tick(w, At(14, 0, 0));
        WaitForChimeThreads();
        std::vector<std::string> heard;
        for (const Sound& s : Sounds()) heard.push_back(s.what);
        EXPECT_EQ(heard, c.sounds) << c.what;
        EXPECT_EQ(Beeps().size(), c.beeps) << c.what;
        DestroyWindow(w);
        UnregisterClassA(zentaro::kMainClassName, GetModuleHandleA(nullptr));
        PumpPending();
    }
}

TEST_F(ClockWindowTest, ClosingDuringTheBeepsStopsAndJoinsTheChimeThread) {
    ClearUserRegistry();
    settings::WriteText(settings::kLoadKey, settings::kHourRing, "1");
    seams_->waveOutDevices = [] { return 0u; };
    // The pause after the first beep lasts until the clock asks its threads to stop.
    seams_->sleep = [](DWORD) {
        const ULONGLONG deadline = GetTickCount64() + 10000;
        while (!zentaro::BackgroundStopRequested() && GetTickCount64() < deadline) Sleep(1);
    };
    HWND w = Open();
    Tick(w, At(14, 0, 0));
    PumpUntil([this] { return Beeps().size() == 1; }, 10000);
    DestroyWindow(w);
    EXPECT_EQ(zentaro::DetachedThreadsRunning(), 0);  // joined before the window was gone
    EXPECT_EQ(Beeps().size(), 1u);                    // and cut short
}

TEST_F(ClockWindowTest, BeepPatternIsThreeLowThenOneHigh) {
    EXPECT_EQ(zentaro::PlayChimeBeeps(), 0u);
    const std::vector<std::pair<DWORD, DWORD>> expected{{700, 1500}, {700, 1500}, {700, 1500}, {1400, 1500}};
    EXPECT_EQ(Beeps(), expected);
}

// --- shape ---

face::PixelGrid GridOf(HBITMAP bitmap, int w, int h) {
    win::WindowDC screen(nullptr);
    win::AutoMemDC dc(CreateCompatibleDC(screen.get()));
    win::ScopedSelect sel(dc.get(), bitmap);
    return face::ReadSurfacePixels(dc.get(), w, h);
}

TEST(ClockRegion, OnePassRegionEqualsTheUnionOfRectangles) {
    struct Case {
        const char* what;
        int w, h;
        std::function<COLORREF(int, int)> pixel;
    };
    const Case cases[] = {
        {"checkerboard 200 x 200", 200, 200, [](int x, int y) { return (x + y) % 2 ? RGB(1, 2, 3) : kRed; }},
        {"ring", 120, 38,
         [](int x, int y) { return (x - 60) * (x - 60) / 36 + (y - 19) * (y - 19) < 300 ? RGB(9, 9, 9) : kRed; }},
    };
    TempDir dir;
    for (const Case& c : cases) {
        const std::string path = dir.file("shape.bmp");
        ASSERT_TRUE(WriteFileBytes(path, MakeBmp(c.w, c.h, c.pixel)));
        win::AutoBitmap bmp(static_cast<HBITMAP>(
            LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
        ASSERT_TRUE(bmp);
        const auto runs = face::ShapeRuns(GridOf(bmp.get(), c.w, c.h));
        ASSERT_FALSE(runs.empty());
        win::AutoRegion fast(face::BuildRegionFromRuns(runs));
        win::AutoRegion slow(face::BuildRegionByUnion(runs));
        ASSERT_TRUE(fast && slow) << c.what;
        EXPECT_TRUE(EqualRgn(fast.get(), slow.get())) << c.what;
    }
}

TEST_F(ClockWindowTest, BuiltInFaceRegionEqualsTheUnionOfRectangles) {
    HWND w = Open();
    const face::FaceState& face = zentaro::MainFace();
    const auto runs = face::ShapeRuns(face::ReadSurfacePixels(face.background.dc(), face.width, face.height));
    win::AutoRegion slow(face::BuildRegionByUnion(runs));
    win::AutoRegion applied(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(w, applied.get()), ERROR);
    EXPECT_TRUE(EqualRgn(applied.get(), slow.get()));
}

TEST_F(ClockWindowTest, SingleColourBackgroundKeepsTheFullRectangle) {
    TempDir dir;
    ASSERT_TRUE(WriteFileBytes(dir.file("plain.bmp"), MakeBmp(130, 40, [](int, int) { return RGB(40, 80, 120); })));
    settings::WriteText(settings::kOptionKey, settings::kSkinPath, dir.path());
    settings::WriteText(settings::kLoadKey, settings::kBmpBack, "plain.bmp");
    HWND w = Open();
    RECT r{};
    GetWindowRect(w, &r);
    EXPECT_EQ(r.right - r.left, 130);
    win::AutoRegion region(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetWindowRgn(w, region.get()), ERROR) << "no region set";
    EXPECT_EQ(zentaro::MainDrawTime().ReLeft(), 0) << "no marker: the area stays at its start";
}

// --- skin files ---

TEST_F(ClockWindowTest, UsableSkinFilesShapeAndPlaceTheTime) {
    TempDir dir;
    // 180 x 60, white with a red top-left, markers in columns 150 and 160.
    const std::string bmp = MakeBmp(180, 60, [](int x, int y) {
        if (x == 0 && y == 0) return kRed;
        if ((x == 150 && y >= 10) || (x == 160 && y >= 4 && y < 30)) return RGB(0, 0, 0);
        return RGB(255, 255, 255);
    });
    ASSERT_TRUE(WriteFileBytes(dir.file("skin.bmp"), bmp));
    settings::WriteText(settings::kOptionKey, settings::kSkinPath, dir.path());
    settings::WriteText(settings::kLoadKey, settings::kBmpBack, "skin.bmp");
    MessageBoxRecorder boxes;
    HWND w = Open();
    RECT r{};
    GetWindowRect(w, &r);
    EXPECT_EQ(r.right - r.left, 180);
    EXPECT_EQ(r.bottom - r.top, 60);
    EXPECT_EQ(zentaro::MainDrawTime().ReLeft(), 51);
    EXPECT_EQ(zentaro::MainDrawTime().ReTop(), 4);
    EXPECT_TRUE(boxes.boxes.empty());

    // After the options dialog's Apply the face is reloaded in place and stays shown.
    settings::WriteText(settings::kLoadKey, settings::kBmpBack, "Default");
    SetWindowPos(w, nullptr, 33, 44, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    zentaro::ReloadClockFace();
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 33);
    EXPECT_EQ(r.right - r.left, 120);
    EXPECT_EQ(zentaro::MainDrawTime().ReLeft(), 5);
    EXPECT_TRUE(IsWindowVisible(w));
}

TEST_F(ClockWindowTest, BadSkinFilesFallBackToTheBuiltInFace) {
    TempDir dir;
    const std::string good = MakeBmp(120, 38, [](int, int) { return RGB(10, 20, 30); });
    const std::string png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10\0\0\0\x10\x08\x02\0\0\0", 33);
    struct Case {
        const char* what;
        std::string name;      // stored as "BmpBack"
        std::string content;   // written to the skin directory under `name` unless `directory`
        bool directory;
        int warnings;
    };
    const Case cases[] = {
        {"empty file", "empty.bmp", "", false, 1},
        {"truncated bitmap", "cut.bmp", good.substr(0, 200), false, 1},
        {"header only", "head.bmp", good.substr(0, 54), false, 1},
        {"1 x 1", "one.bmp", MakeBmp(1, 1, [](int, int) { return RGB(0, 0, 0); }), false, 1},
        {"4000 x 4000", "huge.bmp", MakeBmp(4000, 4000, [](int, int) { return RGB(1, 1, 1); }), false, 1},
        {"PNG named .bmp", "picture.bmp", png, false, 1},
        {"text named .bmp", "notes.bmp", "this is not a picture\r\n", false, 1},
        {"directory named x.bmp", "x.bmp", "", true, 0},
        {"name with ..", "..\\" + std::string("x.bmp"), "", true, 0},
        {"300-character name", std::string(296, 'a') + ".bmp", "", true, 0},
        {"missing file", "gone.bmp", "", true, 0},
    };
    for (const Case& c : cases) {
        ClearUserRegistry();
        if (c.directory) {
            if (c.name == "x.bmp") CreateDirectoryA(dir.file(c.name).c_str(), nullptr);
        } else {
            ASSERT_TRUE(WriteFileBytes(dir.file(c.name), c.content)) << c.what;
        }
        settings::WriteText(settings::kOptionKey, settings::kSkinPath, dir.path());
        settings::WriteText(settings::kLoadKey, settings::kBmpBack, c.name);
        settings::WriteText(settings::kLoadKey, settings::kBmpTime, c.name);  // the glyph strip likewise
        MessageBoxRecorder boxes;
        HWND w = Open();
        ASSERT_TRUE(w) << c.what;
        RECT r{};
        GetWindowRect(w, &r);
        EXPECT_EQ(r.right - r.left, 120) << c.what;
        EXPECT_EQ(r.bottom - r.top, 38) << c.what;
        EXPECT_TRUE(IsWindowVisible(w)) << c.what;
        EXPECT_EQ(zentaro::MainDrawTime().ReLeft(), 5) << c.what;
        // One warning per failing image: background and glyph strip.
        ASSERT_EQ(boxes.boxes.size(), static_cast<size_t>(2 * c.warnings)) << c.what;
        for (const auto& [caption, text] : boxes.boxes) {
            EXPECT_EQ(caption, "Unknown picture format");
            EXPECT_EQ(text, "Unknown picture format, Single shot the \n button neglect this mistake.");
        }
        DestroyWindow(w);
        UnregisterClassA(zentaro::kMainClassName, GetModuleHandleA(nullptr));
        PumpPending();
    }
}

namespace {

// A REG_SZ value written and read as UTF-16, as another program (or an earlier version) may
// have stored it.
void PutWide(const wchar_t* key, const wchar_t* name, const std::wstring& text) {
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr), ERROR_SUCCESS);
    RegSetValueExW(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(k);
}
std::wstring GetWide(const wchar_t* key, const wchar_t* name) {
    wchar_t data[1024] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) return L"(none)";
    return data;
}

}  // namespace

// A skin that cannot be shown or a path that cannot be opened, whatever its characters, is
// treated as a missing file: the built-in face, no crash, and the stored names stay as they were.
TEST_F(ClockWindowTest, SkinNamesInAnyScriptThatCannotBeOpenedAreTreatedAsMissingAndKeptAsStored) {
    TempDir dir;
    const std::wstring skinDir = [&] {
        std::wstring wide(dir.path().size(), L'\0');
        wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, dir.path().data(), static_cast<int>(dir.path().size()),
                                                            wide.data(), static_cast<int>(wide.size()))));
        return wide;
    }();
    struct Case { const char* what; std::wstring folder, name; } cases[] = {
        {"missing file named in several scripts", skinDir, L"Zo\x00EB \x041D\x043E\x0447\x044C \x4F1A \xD83D\xDE00.bmp"},
        {"a name with a lone surrogate (no character)", skinDir, L"bad\xD800name.bmp"},
        {"a missing folder in several scripts", skinDir + L"\\\x041D\x043E\x0447\x044C \x4F1A", L"face.bmp"},
        {"a folder with a lone surrogate", L"C:\\\xDC00", L"face.bmp"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ClearUserRegistry();
        PutWide(L"Software\\Zentaro\\Option", L"SkinPath", c.folder);
        PutWide(L"Software\\Zentaro\\Load", L"BmpBack", c.name);
        PutWide(L"Software\\Zentaro\\Load", L"BmpTime", c.name);
        MessageBoxRecorder boxes;
        HWND w = Open();
        ASSERT_TRUE(w);
        RECT r{};
        GetWindowRect(w, &r);
        EXPECT_EQ(r.right - r.left, 120) << "the built-in face";
        EXPECT_EQ(r.bottom - r.top, 38);
        EXPECT_TRUE(boxes.boxes.empty()) << "as for a missing file";
        DestroyWindow(w);
        UnregisterClassA(zentaro::kMainClassName, GetModuleHandleA(nullptr));
        PumpPending();
        EXPECT_EQ(c.folder, GetWide(L"Software\\Zentaro\\Option", L"SkinPath")) << "not rewritten";
        EXPECT_EQ(c.name, GetWide(L"Software\\Zentaro\\Load", L"BmpBack")) << "not rewritten";
        EXPECT_EQ(c.name, GetWide(L"Software\\Zentaro\\Load", L"BmpTime")) << "not rewritten";
    }
}

TEST_F(ClockWindowTest, RandomSkinFromAFolderHoldingOnlyACutBitmapGivesTheBuiltInFace) {
    TempDir dir;
    // The first 200 bytes of a 160 x 60 background: no whole bitmap, so nothing to choose.
    ASSERT_TRUE(WriteFileBytes(dir.file("cut.bmp"),
                               MakeBmp(160, 60, [](int, int) { return RGB(10, 20, 30); }).substr(0, 200)));
    settings::WriteText(settings::kOptionKey, settings::kSkinPath, dir.path());
    PutDword(settings::kOptionKey, settings::kRndBackBmp, 1);
    MessageBoxRecorder boxes;
    HWND w = Open();
    ASSERT_TRUE(w);
    RECT r{};
    GetWindowRect(w, &r);
    EXPECT_EQ(r.right - r.left, 120);
    EXPECT_EQ(r.bottom - r.top, 38);
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_TRUE(boxes.boxes.empty());
}

}  // namespace

// --- the date tip ---

namespace {

// The tool tip windows of this thread that are shown.
BOOL CALLBACK AddShownTip(HWND wnd, LPARAM found) {
    char cls[32] = {};
    GetClassNameA(wnd, cls, sizeof cls);
    if (lstrcmpiA(cls, TOOLTIPS_CLASSA) == 0 && IsWindowVisible(wnd))
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(wnd);
    return TRUE;
}

std::vector<HWND> ShownTips() {
    std::vector<HWND> found;
    EnumThreadWindows(GetCurrentThreadId(), AddShownTip, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::string TipText(HWND tip, HWND clock) {
    char text[80] = {};
    TTTOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.hwnd = clock;
    ti.uId = reinterpret_cast<UINT_PTR>(clock);
    ti.lpszText = text;
    SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&ti));
    return text;
}

}  // namespace

// Each visit of the pointer shows the date of the moment the tip comes up, not the one of the
// clock's start: across midnight, and after the user sets the date back.
TEST_F(ClockWindowTest, DateTipShowsTodayOnHoverAndHidesOnLeave) {
    struct Row {
        const char* what;
        SYSTEMTIME now;
        const char* year;
    } rows[] = {
        {"at start", testing_support::LocalTime(2026, 12, 31, 23, 59, 59), "2026"},
        {"after midnight, a new year", testing_support::LocalTime(2027, 1, 1, 0, 0, 0), "2027"},
        {"user set the date back", testing_support::LocalTime(2024, 2, 29, 12, 0, 0), "2024"},
    };
    now_ = rows[0].now;
    HWND w = Open();
    ASSERT_NE(nullptr, w);
    // The real pointer stays away while the rows send the mouse messages themselves.
    SetCursorPos(0, 0);
    std::string previous;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        PumpPending();
        now_ = row.now;
        SendMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
        EXPECT_TRUE(ShownTips().empty());
        SendMessageA(w, WM_MOUSEHOVER, 0, MAKELPARAM(10, 10));
        const auto shown = ShownTips();
        ASSERT_EQ(1u, shown.size());
        const std::string text = TipText(shown[0], w);
        EXPECT_EQ(tools::ShortDateText(row.now), text);
        EXPECT_NE(std::string::npos, text.find(row.year)) << text;
        EXPECT_NE(previous, text);
        previous = text;
        SendMessageA(w, WM_MOUSELEAVE, 0, 0);
        EXPECT_TRUE(ShownTips().empty());
    }
    // Left alone with the pointer on the clock, the tip goes by itself after a few seconds.
    // Only the tip's own messages are pumped meanwhile: the shared display's real pointer may
    // sit on another test's window, and the clock must not hear of it.
    PumpPending();
    SendMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    SendMessageA(w, WM_MOUSEHOVER, 0, MAKELPARAM(10, 10));
    const auto shown = ShownTips();
    ASSERT_EQ(1u, shown.size());
    const HWND tip = shown[0];
    const ULONGLONG end = GetTickCount64() + 15000;
    while (IsWindowVisible(tip) && GetTickCount64() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_TIMER | QS_POSTMESSAGE);
        MSG m;
        while (PeekMessageA(&m, tip, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    }
    EXPECT_TRUE(ShownTips().empty());
    // Once per visit: resting again does not bring it back, a new visit after the ticks saw the
    // pointer go does.
    SendMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(12, 12));
    SendMessageA(w, WM_MOUSEHOVER, 0, MAKELPARAM(12, 12));
    EXPECT_TRUE(ShownTips().empty());
    SetCursorPos(0, 0);
    for (int i = 0; i < tools::kDateTipLeaveCheckTicks; ++i) Tick(w, now_);
    SendMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    SendMessageA(w, WM_MOUSEHOVER, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(1u, ShownTips().size());
}
