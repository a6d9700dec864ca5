// The break window in-process: countdown on a controlled clock, enforcement, the screen-saver
// flag on every way out, and the pictures.
#include "apps/break/BreakLogic.h"
#include "apps/break/BreakWindow.h"
#include "common/IniFile.h"
#include "common/Handles.h"
#include "common/ProgramPath.h"
#include "common/SystemSeams.h"
#include "tests/common/script_texts.h"
#include "tests/win/support/TestSupport.h"
#include "tests/win/break/break_fixture.h"
#include "tests/win/support/TextFit.h"

#include <gtest/gtest.h>

#include <string>
#include <optional>
#include <vector>

using break_test::BreakWindowTest;
using break_test::Text;
using testing_support::PumpPending;
using testing_support::TempDir;

namespace {

TEST_F(BreakWindowTest, EnforcedBreakCountsDownAndOnlyThenMayBeClosed) {
    WriteIni("3", "1");
    Open();
    EXPECT_EQ(Countdown(), "3");
    EXPECT_EQ(Text(Child(break_program::kIdHeadingLabel)), "Time for a Break!");
    EXPECT_FALSE(IsWindowEnabled(Child(break_program::kIdCloseButton)));
    EXPECT_TRUE(TimerRunning(break_program::kFocusTimerId));
    EXPECT_TRUE(TimerRunning(break_program::kCountdownTimerId));
    EXPECT_TRUE(GetWindowLongA(wnd_, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(flagCalls_, std::vector<bool>{true});

    struct Attempt { const char* what; UINT msg; WPARAM wp; LPARAM lp; } attempts[] = {
        {"Alt+F4", WM_SYSKEYDOWN, VK_F4, LPARAM{1} << 29},
        {"system menu Close", WM_SYSCOMMAND, SC_CLOSE, 0},
        {"WM_CLOSE", WM_CLOSE, 0, 0},
        {"Esc as Cancel", WM_COMMAND, IDCANCEL, 0},
        {"Esc key", WM_KEYDOWN, VK_ESCAPE, 0},
        {"disabled Close Window", WM_COMMAND, break_program::kIdCloseButton, 0},
    };
    for (const auto& a : attempts) {
        SCOPED_TRACE(a.what);
        SendMessageA(wnd_, a.msg, a.wp, a.lp);
        PumpPending();
        EXPECT_TRUE(IsWindow(wnd_));
    }

    struct Tick { ULONGLONG at; const char* label; bool closable; } ticks[] = {
        {101000, "2  Seconds time.", false},
        {102000, "1  Seconds time.", false},
        {103000, "0  Seconds time.", true},
        {104000, "0  Seconds time.", true},  // a stray tick after the end changes nothing
    };
    for (const auto& t : ticks) {
        SCOPED_TRACE(t.label);
        TickAt(t.at);
        EXPECT_EQ(Countdown(), t.label);
        EXPECT_EQ(IsWindowEnabled(Child(break_program::kIdCloseButton)) != FALSE, t.closable);
    }
    EXPECT_TRUE(break_program::BreakFinished(wnd_));
    EXPECT_FALSE(TimerRunning(break_program::kFocusTimerId));
    EXPECT_FALSE(TimerRunning(break_program::kCountdownTimerId));
    EXPECT_TRUE(IsWindow(wnd_));  // the finished break waits for the user

    Click(break_program::kIdCloseButton);
    EXPECT_FALSE(IsWindow(wnd_));
    EXPECT_EQ(flagCalls_, (std::vector<bool>{true, false}));
}

TEST_F(BreakWindowTest, ShowsEveryTextWhole) {
    WriteIni("30", "0");
    Open();
    EXPECT_EQ("", testing_support::ClippedTextReport(wnd_));
}

TEST_F(BreakWindowTest, AHeldUpCountStillEndsOnTimeAndNeverGoesBelowZero) {
    WriteIni("5", "7");  // any non-zero flag enforces
    Open();
    EXPECT_FALSE(IsWindowEnabled(Child(break_program::kIdCloseButton)));
    TickAt(101000);
    EXPECT_EQ(Countdown(), "4  Seconds time.");
    TickAt(109000);  // the program was held up for eight seconds
    EXPECT_EQ(Countdown(), "0  Seconds time.");
    EXPECT_TRUE(IsWindowEnabled(Child(break_program::kIdCloseButton)));
}

TEST_F(BreakWindowTest, NoLengthMeansNoLockOutAndLongLengthsAreCut) {
    struct Case { const char* what; const char* timesshow; const char* cmdhide; const char* label; bool over; } cases[] = {
        {"missing length, enforced", nullptr, "1", "0  Seconds time.", true},
        {"zero, enforced", "0", "1", "0  Seconds time.", true},
        {"negative, enforced", "-5", "1", "0  Seconds time.", true},
        {"beyond the 16-bit count", "40000", "1", "32767", false},
        {"not enforced: closable while counting", "30", "0", "30", false},
        {"missing enforce flag: not enforced", "30", nullptr, "30", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteFileA(ini().c_str());
        WriteIni(c.timesshow, c.cmdhide);
        Open();
        EXPECT_EQ(Countdown(), c.label);
        EXPECT_EQ(break_program::BreakFinished(wnd_), c.over);
        EXPECT_EQ(TimerRunning(break_program::kCountdownTimerId), !c.over);
        const bool closable = c.over || !c.cmdhide || std::string(c.cmdhide) == "0";
        EXPECT_EQ(IsWindowEnabled(Child(break_program::kIdCloseButton)) != FALSE, closable);
        SendMessageA(wnd_, WM_CLOSE, 0, 0);
        EXPECT_EQ(IsWindow(wnd_) != FALSE, !closable);
        if (IsWindow(wnd_)) DestroyWindow(wnd_);
    }
}

TEST_F(BreakWindowTest, ScreenSaverFlagIsPutBackOnEveryWayOut) {
    struct Way { const char* what; const char* cmdhide; void (*end)(HWND); } ways[] = {
        {"crash filter while enforced", "1", [](HWND) { EXPECT_EQ(break_program::BreakCrashFilter(nullptr), EXCEPTION_CONTINUE_SEARCH); }},
        {"count ran out (enforced)", "1", [](HWND w) { SendMessageA(w, WM_TIMER, break_program::kCountdownTimerId, 0); }},
        {"Close Window", "0", [](HWND w) { SendMessageA(w, WM_COMMAND, break_program::kIdCloseButton, 0); }},
        {"WM_CLOSE when not enforced", "0", [](HWND w) { SendMessageA(w, WM_CLOSE, 0, 0); }},
        {"Esc when not enforced", "0", [](HWND w) { SendMessageA(w, WM_COMMAND, IDCANCEL, 0); }},
        {"end of session while enforced", "1",
         [](HWND w) {
             EXPECT_TRUE(SendMessageA(w, WM_QUERYENDSESSION, 0, 0));
             SendMessageA(w, WM_ENDSESSION, TRUE, 0);
         }},
        {"window destroyed (the program asked to quit)", "1", [](HWND w) { DestroyWindow(w); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.what);
        flagCalls_.clear();
        WriteIni("60", way.cmdhide);
        Open();
        now_ += 60000;  // the count runs out at the first tick from here
        way.end(wnd_);
        EXPECT_EQ(flagCalls_, (std::vector<bool>{true, false}));
        if (IsWindow(wnd_)) DestroyWindow(wnd_);
        EXPECT_EQ(flagCalls_, (std::vector<bool>{true, false}));  // put back once, not twice
    }
}

TEST_F(BreakWindowTest, StartedInAnyShowStateTheBreakIsSeenAndCountsFromWhenItAppears) {
    // The clock runs three seconds on every reading taken before the window is on the screen
    // (a slow picture decode); none of them may come off the break.
    seams_->tickCount = [this] {
        HWND shown = testing_support::FindOwnWindow(break_program::kBreakClass);
        if (!shown || !IsWindowVisible(shown)) now_ += 3000;
        return now_;
    };
    struct Case { const char* what; int show; } cases[] = {
        {"started hidden", SW_HIDE},
        {"started minimised", SW_SHOWMINNOACTIVE},
        {"started normally", SW_SHOWNORMAL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteIni("6", "1");
        Open(paths::ProgramDirectory(), c.show);
        EXPECT_TRUE(IsWindowVisible(wnd_));
        EXPECT_EQ(Countdown(), "6");
        TickAt(now_ + 1000);
        EXPECT_EQ(Countdown(), "5  Seconds time.");
        DestroyWindow(wnd_);
    }
}

TEST_F(BreakWindowTest, NextAndPreviousRunThroughAllPicturesAndWrap) {
    WriteIni("60", "0");
    Open();
    const int first = break_program::BreakPictureNumber(wnd_);
    EXPECT_GE(first, 1);
    EXPECT_LE(first, 19);
    EXPECT_TRUE(break_program::BreakPictureLoaded(wnd_));
    while (break_program::BreakPictureNumber(wnd_) != 20) Click(break_program::kIdNextButton);
    EXPECT_TRUE(break_program::BreakPictureLoaded(wnd_));
    Click(break_program::kIdNextButton);
    EXPECT_EQ(break_program::BreakPictureNumber(wnd_), 1);
    Click(break_program::kIdPreviousButton);
    EXPECT_EQ(break_program::BreakPictureNumber(wnd_), 20);
    Click(break_program::kIdPreviousButton);
    EXPECT_EQ(break_program::BreakPictureNumber(wnd_), 19);
    // Every installed picture decodes.
    for (int i = 0; i < breaklogic::kPictureCount; ++i) {
        Click(break_program::kIdNextButton);
        EXPECT_TRUE(break_program::BreakPictureLoaded(wnd_)) << break_program::BreakPictureNumber(wnd_);
    }
}

// Paints the window into a memory surface of the screen's size and reads pixels from it.
class Painted {
public:
    explicit Painted(HWND wnd) {
        win::WindowDC screen(wnd);
        RECT r{};
        GetClientRect(wnd, &r);
        dc_.reset(CreateCompatibleDC(screen.get()));
        bmp_.reset(CreateCompatibleBitmap(screen.get(), r.right, r.bottom));
        select_.emplace(dc_.get(), bmp_.get());
        break_program::PaintBreakWindow(wnd, dc_.get());
    }
    COLORREF At(int x, int y) const { return GetPixel(dc_.get(), x, y); }
private:
    win::AutoMemDC dc_;
    win::AutoBitmap bmp_;
    std::optional<win::ScopedSelect> select_;
};

TEST_F(BreakWindowTest, PicturesAreCentredScaledToFitOrReplacedByTheirNumber) {
    const breaklogic::BreakLayout layout =
        breaklogic::ComputeBreakLayout(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    const breaklogic::Rect& pic = layout.picture;

    // A folder of pictures half as wide as the area: scaled to its height, bars at the sides.
    TempDir programDir;
    CreateDirectoryA((programDir.path() + "/picture").c_str(), nullptr);
    const std::string narrow = testing_support::MakeBmp(160, 240, [](int, int) { return RGB(200, 30, 30); });
    for (int n = 1; n <= breaklogic::kPictureCount; ++n) {
        ASSERT_TRUE(testing_support::WriteFileBytes(breaklogic::PicturePath(programDir.path(), n), narrow));
    }
    WriteIni("60", "0");
    Open(programDir.path());
    EXPECT_TRUE(break_program::BreakPictureLoaded(wnd_));
    {
        Painted p(wnd_);
        EXPECT_EQ(p.At(pic.left + 320, pic.top + 240), RGB(200, 30, 30));  // middle: the picture
        EXPECT_EQ(p.At(pic.left + 100, pic.top + 240), break_program::kBreakBackground);  // left bar
        EXPECT_EQ(p.At(pic.left + 540, pic.top + 240), break_program::kBreakBackground);  // right bar
        if (pic.left > 0) {
            EXPECT_EQ(p.At(pic.left - 1, pic.top), break_program::kBreakBackground);
        }
    }
    // A missing picture: the background, with the picture's number written in white.
    DeleteFileA(breaklogic::PicturePath(programDir.path(), 20).c_str());
    while (break_program::BreakPictureNumber(wnd_) != 20) Click(break_program::kIdNextButton);
    EXPECT_FALSE(break_program::BreakPictureLoaded(wnd_));
    {
        Painted p(wnd_);
        EXPECT_EQ(p.At(pic.left + 5, pic.top + 5), break_program::kBreakBackground);
        bool white = false;
        for (int x = pic.left + 200; x < pic.left + 440 && !white; ++x) {
            white = p.At(x, pic.top + 240) == RGB(255, 255, 255);
        }
        EXPECT_TRUE(white);
    }
    Click(break_program::kIdNextButton);  // the buttons go on working
    EXPECT_EQ(break_program::BreakPictureNumber(wnd_), 1);
    EXPECT_TRUE(break_program::BreakPictureLoaded(wnd_));
}

TEST_F(BreakWindowTest, WindowCoversTheScreenWithoutCaptionAndControlsSitOnThePicture) {
    WriteIni("60", "0");
    Open();
    RECT r{};
    GetWindowRect(wnd_, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(r.bottom, GetSystemMetrics(SM_CYSCREEN));
    const LONG style = GetWindowLongA(wnd_, GWL_STYLE);
    EXPECT_FALSE(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    const breaklogic::BreakLayout layout = breaklogic::ComputeBreakLayout(r.right, r.bottom);
    struct Control { const char* what; int id; breaklogic::Rect where; const char* text; } controls[] = {
        {"Close Window", break_program::kIdCloseButton, layout.closeButton, "Close Window"},
        {"Previous", break_program::kIdPreviousButton, layout.previousButton, "Previous"},
        {"Next", break_program::kIdNextButton, layout.nextButton, "Next"},
        {"countdown", break_program::kIdCountdownLabel, layout.countdownLabel, "60"},
        {"heading", break_program::kIdHeadingLabel, layout.headingLabel, "Time for a Break!"},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(c.what);
        RECT cr{};
        GetWindowRect(Child(c.id), &cr);
        EXPECT_EQ(cr.left, c.where.left);
        EXPECT_EQ(cr.top, c.where.top);
        EXPECT_EQ(cr.right - cr.left, c.where.width);
        EXPECT_EQ(cr.bottom - cr.top, c.where.height);
        EXPECT_EQ(Text(Child(c.id)), c.text);
    }
    SendMessageA(wnd_, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(wnd_));
}

}  // namespace

namespace {

// Break.exe installed under a folder named in any script: stop.ini and the pictures beside it.
TEST_F(BreakWindowTest, InstalledUnderAFolderNamedInAnyScriptItReadsStopIniAndShowsThePictures) {
    ASSERT_EQ(65001u, GetACP()) << "the manifest's UTF-8 code page";
    const std::string pictures = paths::ProgramDirectory() + "\\picture\\";
    for (const scripts_test::ScriptText& row : scripts_test::kScriptTexts) {
        SCOPED_TRACE(row.script);
        const std::string folder = dir_.path() + "\\Zentaro " + row.name;
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA((folder + "\\picture").c_str(), nullptr));
        for (int n = 1; n <= breaklogic::kPictureCount; ++n) {
            const std::string name = std::to_string(n) + ".jpg";
            ASSERT_TRUE(CopyFileA((pictures + name).c_str(), (folder + "\\picture\\" + name).c_str(), FALSE)) << name;
        }
        const std::string iniPath = folder + "\\stop.ini";
        ini::SetIniFile(iniPath);
        ASSERT_TRUE(ini::WriteIniString("StartBreak", "timesshow", "600"));
        ASSERT_TRUE(ini::WriteIniString("StartBreak", "cmdhide", "0"));
        break_program::BreakConfig config;
        config.iniPath = iniPath;
        config.programDirectory = folder;
        config.quitOnClose = false;
        wnd_ = break_program::CreateBreakWindow(GetModuleHandleA(nullptr), config, SW_SHOWNOACTIVATE);
        ASSERT_NE(wnd_, nullptr);
        PumpPending();
        EXPECT_EQ("600", Countdown()) << "stop.ini was read";
        EXPECT_TRUE(break_program::BreakPictureLoaded(wnd_)) << break_program::BreakPictureNumber(wnd_);
        Click(break_program::kIdNextButton);
        EXPECT_TRUE(break_program::BreakPictureLoaded(wnd_)) << break_program::BreakPictureNumber(wnd_);
        DestroyWindow(wnd_);
        PumpPending();
        for (int n = 1; n <= breaklogic::kPictureCount; ++n)
            DeleteFileA((folder + "\\picture\\" + std::to_string(n) + ".jpg").c_str());
        DeleteFileA(iniPath.c_str());
        RemoveDirectoryA((folder + "\\picture").c_str());
        RemoveDirectoryA(folder.c_str());
    }
}

}  // namespace
