// Before the break window: the first step, the busy wait, the notice and its postponements, the end
// sound and one break per desktop; the notification state, last input, sound and clock through seams.
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
namespace bp = break_program;

namespace {

constexpr int kBusy = 2, kFree = 5;  // QUNS_BUSY, QUNS_ACCEPTS_NOTIFICATIONS
constexpr ULONGLONG kCheck = 15 * 1000, kPostpone = 5 * 60 * 1000;

class BreakNoticeTest : public break_test::BreakWindowTest {
protected:
    void SetUp() override {
        BreakWindowTest::SetUp();
        seams_->notificationState = [this] { return state_; };
        seams_->lastInputAge = [this] { return idle_; };
        seams_->playSound = [this](const void* sound, HMODULE, DWORD flags) {
            sounds_.push_back(flags & SND_MEMORY ? "<chime>" : static_cast<const char*>(sound));
            // A file played synchronously or with the default sound would be followed by the chime.
            return (flags & SND_ASYNC) && (flags & SND_NODEFAULT);
        };
    }
    void TearDown() override {
        Close();
        BreakWindowTest::TearDown();
    }
    void Close() {
        if (HWND brk = BreakWnd()) DestroyWindow(brk);
        if (IsWindow(notice_)) DestroyWindow(notice_);
    }
    void Keys(const char* timesshow, const char* cmdhide, const char* key, const char* value) {
        DeleteFileA(ini().c_str());
        WriteIni(timesshow, cmdhide);
        if (key) ini::WriteIniString("StartBreak", key, value);
    }
    void Start(const char* timesshow, const char* cmdhide, const char* key = nullptr, const char* value = nullptr) {
        Keys(timesshow, cmdhide, key, value);
        const bp::BreakConfig config{ini(), paths::ProgramDirectory(), false};
        notice_ = bp::StartBreak(GetModuleHandleA(nullptr), config, SW_SHOWNOACTIVATE);
        ASSERT_NE(notice_, nullptr);
        PumpPending();
    }
    // The wait's or the notice's timer, `ms` later on the clock.
    void Timer(UINT_PTR id, ULONGLONG ms) {
        now_ += ms;
        if (IsWindow(notice_)) SendMessageA(notice_, WM_TIMER, id, 0);
    }
    void Command(int id) { SendMessageA(notice_, WM_COMMAND, id, 0); }
    std::string Says() const { return Text(GetDlgItem(notice_, bp::kIdNoticeText)); }
    bool Shown() const { return IsWindow(notice_) && IsWindowVisible(notice_); }
    bool PostponeOffered() const { return IsWindowVisible(GetDlgItem(notice_, bp::kIdPostpone)) != FALSE; }
    HWND BreakWnd() const { return bp::NoticeBreakWindow(notice_); }
    bool Waiting() const { return IsWindow(notice_) && !Shown() && !BreakWnd(); }
    bool Skipped() const { return !IsWindow(notice_) && flagCalls_.empty(); }

    int state_ = kFree;
    ULONGLONG idle_ = 0;
    std::vector<std::string> sounds_;
    HWND notice_ = nullptr;
};

TEST_F(BreakNoticeTest, TheFirstStepFollowsTheStoredKeysAndTheSystem) {
    enum Outcome { kWaits, kSkips, kNotice, kBreaks };
    struct Case { const char* what; const char* key; const char* value; int state; ULONGLONG idle; Outcome outcome; } cases[] = {
        {"defaults; no answer from the system is not busy", nullptr, nullptr, 0, 0, kNotice},
        {"waitbusy=0 over a busy state", "waitbusy", "0", kBusy, 0, kNotice},
        {"away for the break's length", nullptr, nullptr, kFree, 600 * 1000, kSkips},
        {"skipaway=0 after an absence", "skipaway", "0", kFree, 3600 * 1000, kNotice},
        {"notice=-5", "notice", "-5", kFree, 0, kBreaks},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        state_ = c.state;
        idle_ = c.idle;
        flagCalls_.clear();
        Start("600", "0", c.key, c.value);
        EXPECT_EQ(Waiting(), c.outcome == kWaits);
        EXPECT_EQ(Skipped(), c.outcome == kSkips);
        EXPECT_EQ(Shown() ? Says() : "", c.outcome == kNotice ? "A break of 600 seconds starts in 10 seconds." : "");
        EXPECT_EQ(BreakWnd() != nullptr, c.outcome == kBreaks);
        Close();
    }
}

TEST_F(BreakNoticeTest, ABusyStateThatClearsAfter45SecondsGivesTheNoticeThenTheBreak) {
    state_ = kBusy;
    Start("600", "0", "notice", "3");
    for (int check = 0; check < 2; ++check) Timer(bp::kWaitTimerId, kCheck);
    EXPECT_TRUE(Waiting());
    state_ = kFree;
    Timer(bp::kWaitTimerId, kCheck);
    ASSERT_TRUE(Shown());
    EXPECT_TRUE(GetWindowLongA(notice_, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ("", testing_support::ClippedTextReport(notice_));
    RECT work{}, r{};  // in the lower right of the primary work area, where the notification area is
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(notice_, &r);
    EXPECT_TRUE(r.left > (work.left + work.right) / 2 && r.top > (work.top + work.bottom) / 2 && r.right <= work.right &&
                r.bottom <= work.bottom);
    for (const char* says : {"A break of 600 seconds starts in 2 seconds.", "A break of 600 seconds starts in 1 seconds."}) {
        Timer(bp::kNoticeTimerId, 1000);
        EXPECT_EQ(Says(), says);
    }
    EXPECT_EQ(BreakWnd(), nullptr);
    Timer(bp::kNoticeTimerId, 1000);
    ASSERT_NE(BreakWnd(), nullptr);
    EXPECT_TRUE(IsWindowVisible(BreakWnd()));
    EXPECT_FALSE(Shown());
}

TEST_F(BreakNoticeTest, ABusyStateThatNeverClearsSkipsTheBreakAfter30Minutes) {
    state_ = kBusy;
    Start("600", "1");  // not even an enforced break is forced over the full-screen program
    for (int check = 1; check < 120; ++check) Timer(bp::kWaitTimerId, kCheck);
    EXPECT_TRUE(Waiting()) << "29:45 waited";
    Timer(bp::kWaitTimerId, kCheck);
    EXPECT_TRUE(Skipped()) << "30:00 waited";
}

TEST_F(BreakNoticeTest, PostponeTwiceThenNoThirdAndNeverForAnEnforcedBreak) {
    for (const char* enforced : {"0", "1"}) {
        SCOPED_TRACE(enforced);
        Start("600", enforced);
        for (int postpone = *enforced == '1' ? 2 : 0; postpone < 2; ++postpone) {
            ASSERT_TRUE(Shown() && PostponeOffered());
            Command(bp::kIdPostpone);
            Timer(bp::kWaitTimerId, kPostpone - 1000);  // a timer a second early
            EXPECT_TRUE(Waiting());
            Timer(bp::kWaitTimerId, 1000);
        }
        ASSERT_TRUE(Shown());
        EXPECT_FALSE(PostponeOffered());
        Command(bp::kIdPostpone);  // a stray command does not put it off either
        EXPECT_TRUE(Shown());
        Command(bp::kIdStartNow);
        EXPECT_NE(BreakWnd(), nullptr);
        Close();
    }
}

TEST_F(BreakNoticeTest, TheEndOfTheBreakSoundsOnce) {
    const std::string wave = dir_.file("end.wav"), text = dir_.file("end.txt");
    ASSERT_TRUE(testing_support::WriteFileBytes(wave, std::string("RIFF\x24\0\0\0WAVEfmt ", 16)));
    ASSERT_TRUE(testing_support::WriteFileBytes(text, "not a sound"));
    struct Case { const char* endsound; std::vector<std::string> played; } cases[] = {
        {nullptr, {"<chime>"}}, {"", {"<chime>"}}, {"0", {}}, {wave.c_str(), {wave}},
        {"C:\\nowhere\\end.wav", {"<chime>"}}, {text.c_str(), {"<chime>"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.endsound ? c.endsound : "absent");
        Keys("3", "1", c.endsound ? "endsound" : nullptr, c.endsound);
        sounds_.clear();
        now_ = 100000;
        Open();
        for (ULONGLONG at : {101000, 102000, 103000, 104000}) TickAt(at);
        EXPECT_TRUE(bp::BreakFinished(wnd_));
        EXPECT_EQ(sounds_, c.played);
        DestroyWindow(wnd_);
    }
}

TEST_F(BreakNoticeTest, TheNoticeNeverTakesTheFocus) {
    win::AutoWindow typist(CreateWindowExA(0, "EDIT", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200, nullptr,
                                           nullptr, nullptr, nullptr));
    SetForegroundWindow(typist.get());
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == typist.get(); }));
    Start("600", "0");
    ASSERT_TRUE(Shown());
    // The person types, then clicks the notice's sentence.
    RECT r{};
    GetWindowRect(GetDlgItem(notice_, bp::kIdNoticeText), &r);
    const LONG x = MulDiv(r.left + 4, 65536, GetSystemMetrics(SM_CXSCREEN)), y = MulDiv(r.top + 4, 65536, GetSystemMetrics(SM_CYSCREEN));
    INPUT input[4] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[2].type = input[3].type = INPUT_MOUSE;
    input[0].ki.wVk = input[1].ki.wVk = 'A';
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    input[2].mi = {x, y, 0, MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTDOWN, 0, 0};
    input[3].mi = {x, y, 0, MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTUP, 0, 0};
    for (INPUT& step : input) {
        SendInput(1, &step, sizeof(INPUT));
        PumpUntil([] { return false; }, 100);
        EXPECT_EQ(GetForegroundWindow(), typist.get());
    }
    EXPECT_TRUE(Shown());  // input does not end the notice
}

TEST(BreakOnlyOne, ASecondBreakOfTheDesktopIsRefusedWhileTheFirstLives) {
    win::AutoHandle first = bp::ClaimOnlyBreak();
    ASSERT_TRUE(first);
    EXPECT_FALSE(bp::ClaimOnlyBreak());
    first.reset();
    EXPECT_TRUE(bp::ClaimOnlyBreak());
}

}  // namespace
