// Before the break window: one break per desktop, the wait while the person is busy, the skip
// after an absence, the notice that never takes the focus and its postponements, and the sound
// at the end of the break; the notification state, the last input and the sound through seams.
#include "apps/break/BreakNotice.h"
#include "tests/win/break/break_fixture.h"
#include "tests/win/support/TextFit.h"

#include <mmsystem.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using break_test::Text;
using testing_support::PumpPending;
using testing_support::PumpUntil;

namespace {

constexpr int kBusy = 2;                   // QUNS_BUSY: a full-screen program
constexpr int kAcceptsNotifications = 5;   // QUNS_ACCEPTS_NOTIFICATIONS
constexpr ULONGLONG kCheck = 15 * 1000;
constexpr ULONGLONG kPostpone = 5 * 60 * 1000;

struct Sound {
    std::string file;  // empty for a sound image in memory
    DWORD flags;
};

class BreakNoticeTest : public break_test::BreakWindowTest {
protected:
    void SetUp() override {
        BreakWindowTest::SetUp();
        seams_->notificationState = [this] { return state_; };
        seams_->lastInputAge = [this] { return idle_; };
        seams_->playSound = [this](const void* sound, HMODULE, DWORD flags) {
            sounds_.push_back({flags & SND_MEMORY ? "" : static_cast<const char*>(sound), flags});
            return TRUE;
        };
    }
    void TearDown() override {
        if (HWND brk = break_program::NoticeBreakWindow(notice_)) wnd_ = brk;
        if (IsWindow(notice_)) DestroyWindow(notice_);
        BreakWindowTest::TearDown();
    }
    void WriteKey(const char* key, const char* value) {
        ini::SetIniFile(ini());
        ASSERT_TRUE(ini::WriteIniString("StartBreak", key, value));
    }
    void Start() {
        break_program::BreakConfig config;
        config.iniPath = ini();
        config.programDirectory = paths::ProgramDirectory();
        config.quitOnClose = false;
        notice_ = break_program::StartBreak(GetModuleHandleA(nullptr), config, SW_SHOWNOACTIVATE);
        ASSERT_NE(notice_, nullptr);
        PumpPending();
    }
    // The timer of the wait or of the notice's count, at the clock `ms` later.
    void Timer(UINT_PTR id, ULONGLONG ms) {
        now_ += ms;
        if (IsWindow(notice_)) SendMessageA(notice_, WM_TIMER, id, 0);
        PumpPending();
    }
    void Command(int id) { SendMessageA(notice_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    HWND Item(int id) const { return GetDlgItem(notice_, id); }
    bool NoticeShown() const { return IsWindow(notice_) && IsWindowVisible(notice_); }
    bool PostponeOffered() const { return IsWindowVisible(Item(break_program::kIdPostpone)) != FALSE; }
    HWND BreakWnd() const { return break_program::NoticeBreakWindow(notice_); }
    // Still under way, with nothing on the screen.
    bool Waiting() const { return IsWindow(notice_) && !NoticeShown() && !BreakWnd(); }
    bool Skipped() const { return !IsWindow(notice_) && flagCalls_.empty(); }

    int state_ = kAcceptsNotifications;
    ULONGLONG idle_ = 0;
    std::vector<Sound> sounds_;
    HWND notice_ = nullptr;
};

TEST_F(BreakNoticeTest, TheFirstStepFollowsTheStoredKeysAndTheSystem) {
    enum Outcome { kWaits, kSkips, kNotice, kBreaks };
    struct Case {
        const char* what;
        const char* key;
        const char* value;
        int state;
        ULONGLONG idle;
        Outcome outcome;
    } cases[] = {
        {"defaults", nullptr, nullptr, kAcceptsNotifications, 0, kNotice},
        {"no answer from the system is not busy", nullptr, nullptr, 0, 0, kNotice},
        {"busy: waits with nothing shown", nullptr, nullptr, kBusy, 0, kWaits},
        {"presentation mode", nullptr, nullptr, 4, 0, kWaits},
        {"waitbusy=0 over a busy state", "waitbusy", "0", kBusy, 0, kNotice},
        {"away for the break's length", nullptr, nullptr, kAcceptsNotifications, 600 * 1000, kSkips},
        {"skipaway=0 after an absence", "skipaway", "0", kAcceptsNotifications, 3600 * 1000, kNotice},
        {"notice=0", "notice", "0", kAcceptsNotifications, 0, kBreaks},
        {"notice=-5", "notice", "-5", kAcceptsNotifications, 0, kBreaks},
        {"notice=abc is the default", "notice", "abc", kAcceptsNotifications, 0, kNotice},
        {"waitbusy=2 is on", "waitbusy", "2", kBusy, 0, kWaits},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteFileA(ini().c_str());
        WriteIni("600", "0");
        if (c.key) WriteKey(c.key, c.value);
        state_ = c.state;
        idle_ = c.idle;
        flagCalls_.clear();
        Start();
        EXPECT_EQ(Waiting(), c.outcome == kWaits);
        EXPECT_EQ(Skipped(), c.outcome == kSkips);
        EXPECT_EQ(NoticeShown(), c.outcome == kNotice);
        EXPECT_EQ(BreakWnd() != nullptr, c.outcome == kBreaks);
        if (c.outcome == kNotice) {
            EXPECT_EQ(Text(Item(break_program::kIdNoticeText)), "A break of 600 seconds starts in 10 seconds.");
        }
        if (HWND brk = BreakWnd()) DestroyWindow(brk);
        if (IsWindow(notice_)) DestroyWindow(notice_);
        PumpPending();
    }
}

TEST_F(BreakNoticeTest, ABusyStateThatClearsAfter45SecondsGivesTheNoticeThenTheBreak) {
    WriteIni("600", "0");
    WriteKey("notice", "3");
    state_ = kBusy;
    Start();
    for (int i = 0; i < 2; ++i) Timer(break_program::kWaitTimerId, kCheck);
    EXPECT_TRUE(Waiting());
    state_ = kAcceptsNotifications;
    Timer(break_program::kWaitTimerId, kCheck);
    ASSERT_TRUE(NoticeShown());
    EXPECT_TRUE(GetWindowLongA(notice_, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(PostponeOffered());
    EXPECT_EQ(Text(Item(break_program::kIdStartNow)), "Start now");
    EXPECT_EQ(Text(Item(break_program::kIdPostpone)), "Postpone 5 minutes");
    EXPECT_EQ("", testing_support::ClippedTextReport(notice_));
    // Near the notification area: inside the primary monitor's work area, in its lower right.
    RECT work{}, r{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(notice_, &r);
    EXPECT_TRUE(r.left >= work.left && r.top >= work.top && r.right <= work.right && r.bottom <= work.bottom);
    EXPECT_GT(r.left, (work.left + work.right) / 2);
    EXPECT_GT(r.top, (work.top + work.bottom) / 2);

    for (const char* text : {"A break of 600 seconds starts in 2 seconds.", "A break of 600 seconds starts in 1 seconds."}) {
        Timer(break_program::kNoticeTimerId, 1000);
        EXPECT_EQ(Text(Item(break_program::kIdNoticeText)), text);
    }
    EXPECT_EQ(BreakWnd(), nullptr);
    Timer(break_program::kNoticeTimerId, 1000);
    ASSERT_NE(BreakWnd(), nullptr);
    EXPECT_TRUE(IsWindowVisible(BreakWnd()));
    EXPECT_FALSE(NoticeShown());
    EXPECT_EQ(Text(GetDlgItem(BreakWnd(), break_program::kIdCountdownLabel)), "600");
}

TEST_F(BreakNoticeTest, ABusyStateThatNeverClearsSkipsTheBreakAfter30Minutes) {
    WriteIni("600", "1");  // even an enforced break is not forced over the full-screen program
    state_ = kBusy;
    Start();
    for (int check = 1; check < 120; ++check) Timer(break_program::kWaitTimerId, kCheck);
    EXPECT_TRUE(Waiting()) << "29:45 waited";
    Timer(break_program::kWaitTimerId, kCheck);
    EXPECT_TRUE(Skipped()) << "30:00 waited";
}

TEST_F(BreakNoticeTest, PostponeTwiceThenNoThird) {
    WriteIni("600", "0");
    Start();
    for (int postpone = 1; postpone <= 2; ++postpone) {
        SCOPED_TRACE(postpone);
        ASSERT_TRUE(NoticeShown());
        ASSERT_TRUE(PostponeOffered());
        Command(break_program::kIdPostpone);
        EXPECT_TRUE(Waiting());
        Timer(break_program::kWaitTimerId, kPostpone - 1000);  // a timer a second early
        EXPECT_TRUE(Waiting());
        Timer(break_program::kWaitTimerId, 1000);
    }
    ASSERT_TRUE(NoticeShown());
    EXPECT_FALSE(PostponeOffered());
    EXPECT_EQ(Text(Item(break_program::kIdNoticeText)), "A break of 600 seconds starts in 10 seconds.");
    Command(break_program::kIdPostpone);  // a stray command does not put it off either
    EXPECT_TRUE(NoticeShown());
    Command(break_program::kIdStartNow);
    EXPECT_NE(BreakWnd(), nullptr);
    EXPECT_FALSE(NoticeShown());
}

TEST_F(BreakNoticeTest, AnEnforcedBreakOffersNoPostpone) {
    WriteIni("600", "1");
    Start();
    ASSERT_TRUE(NoticeShown());
    EXPECT_FALSE(PostponeOffered());
    EXPECT_TRUE(IsWindowVisible(Item(break_program::kIdStartNow)));
    Command(break_program::kIdPostpone);
    EXPECT_TRUE(NoticeShown());
    Timer(break_program::kNoticeTimerId, 10 * 1000);
    EXPECT_NE(BreakWnd(), nullptr);
}

TEST_F(BreakNoticeTest, TheEndOfTheBreakSoundsOnce) {
    const std::string wave = dir_.file("end.wav");
    const std::string text = dir_.file("end.txt");
    ASSERT_TRUE(testing_support::WriteFileBytes(wave, std::string("RIFF\x24\0\0\0WAVEfmt ", 16)));
    ASSERT_TRUE(testing_support::WriteFileBytes(text, "not a sound"));
    struct Case { const char* what; const char* endsound; const char* played; } cases[] = {
        {"absent: the chime", nullptr, ""},
        {"empty: the chime", "", ""},
        {"0: silence", "0", nullptr},
        {"a wave file", wave.c_str(), wave.c_str()},
        {"a missing file: the chime", "C:\\nowhere\\end.wav", ""},
        {"not a sound: the chime", text.c_str(), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteFileA(ini().c_str());
        WriteIni("3", "1");
        if (c.endsound) WriteKey("endsound", c.endsound);
        sounds_.clear();
        now_ = 100000;
        Open();
        for (ULONGLONG at : {101000, 102000, 103000, 104000, 105000}) TickAt(at);
        EXPECT_TRUE(break_program::BreakFinished(wnd_));
        if (!c.played) {
            EXPECT_TRUE(sounds_.empty());
        } else {
            ASSERT_EQ(sounds_.size(), 1u);
            EXPECT_EQ(sounds_[0].file, c.played);
            EXPECT_TRUE(sounds_[0].flags & SND_ASYNC);
            EXPECT_TRUE(sounds_[0].flags & SND_NODEFAULT);
        }
        DestroyWindow(wnd_);
        PumpPending();
    }
}

// A window the person types into, in front when the notice appears.
LRESULT CALLBACK TypistProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcA(wnd, msg, wp, lp); }

TEST_F(BreakNoticeTest, TheNoticeNeverTakesTheFocus) {
    WNDCLASSA cls{};
    cls.lpfnWndProc = TypistProc;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.lpszClassName = "NoticeTestTypist";
    RegisterClassA(&cls);
    win::AutoWindow typist(CreateWindowExA(0, cls.lpszClassName, "typist", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                           300, 200, nullptr, nullptr, cls.hInstance, nullptr));
    ASSERT_TRUE(typist);
    SetForegroundWindow(typist.get());
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == typist.get(); }));

    WriteIni("600", "0");
    Start();
    ASSERT_TRUE(NoticeShown());
    EXPECT_TRUE(GetWindowLongA(notice_, GWL_EXSTYLE) & WS_EX_NOACTIVATE);
    // The person types, moves the mouse and clicks the notice's sentence.
    RECT r{};
    GetWindowRect(Item(break_program::kIdNoticeText), &r);
    INPUT input[4] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = 'A';
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    input[2].type = input[3].type = INPUT_MOUSE;
    input[2].mi.dx = MulDiv(r.left + 4, 65536, GetSystemMetrics(SM_CXSCREEN));
    input[2].mi.dy = MulDiv(r.top + 4, 65536, GetSystemMetrics(SM_CYSCREEN));
    input[2].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTDOWN;
    input[3].mi.dx = input[2].mi.dx;
    input[3].mi.dy = input[2].mi.dy;
    input[3].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTUP;
    for (int step = 0; step < 4; ++step) {
        SendInput(1, &input[step], sizeof(INPUT));
        PumpUntil([] { return false; }, 100);
        EXPECT_NE(GetForegroundWindow(), notice_) << step;
        EXPECT_NE(GetActiveWindow(), notice_) << step;
    }
    EXPECT_EQ(GetForegroundWindow(), typist.get());
    EXPECT_TRUE(NoticeShown());  // input does not end the notice
    for (int tick = 0; tick < 3; ++tick) Timer(break_program::kNoticeTimerId, 1000);
    EXPECT_EQ(GetForegroundWindow(), typist.get());
}

TEST(BreakOnlyOne, ASecondBreakOfTheDesktopIsRefusedWhileTheFirstLives) {
    win::AutoHandle first = break_program::ClaimOnlyBreak();
    ASSERT_TRUE(first);
    EXPECT_FALSE(break_program::ClaimOnlyBreak());
    first.reset();
    EXPECT_TRUE(break_program::ClaimOnlyBreak());
}

}  // namespace
