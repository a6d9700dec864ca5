// What Break does before its window: the decision, the stored keys brought into range, the busy
// states, the notice's corner and the wave header.
#include "apps/break/StartRules.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace breakstart;

namespace {

constexpr std::uint64_t kMinute = 60 * 1000;

TEST(BreakStart, DecidesWaitSkipNoticeOrBreak) {
    struct Case {
        const char* what;
        bool enforced, waitBusy;
        int notice, postpones;
        bool skipAway;
        Moment moment;  // busy, waited, idle, postpones used
        Decision expected;
    } cases[] = {
        {"long idle, but busy first: wait", false, true, 10, 2, true, {true, 0, 99 * kMinute, 0}, {Step::Wait}},
        {"busy 29:59 still waits", false, true, 10, 2, true, {true, 30 * kMinute - 1, 0, 0}, {Step::Wait}},
        {"busy for 30 minutes gives up", false, true, 10, 2, true, {true, 30 * kMinute, 0, 0}, {Step::Skip}},
        {"busy, waitbusy off", false, false, 10, 2, true, {true, 0, 0, 0}, {Step::Notice, true}},
        {"busy, waitbusy off, no notice", false, false, 0, 2, true, {true, 0, 0, 0}, {Step::Break}},
        {"away exactly the break's length", false, true, 10, 2, true, {false, 0, 600 * 1000, 0}, {Step::Skip}},
        {"away a moment less", false, true, 10, 2, true, {false, 0, 600 * 1000 - 1, 0}, {Step::Notice, true}},
        {"away, skipaway off", false, true, 10, 2, false, {false, 0, 99 * kMinute, 0}, {Step::Notice, true}},
        {"enforced: no postpone", true, true, 10, 2, true, {false, 0, 0, 0}, {Step::Notice, false}},
        {"one of two postpones used", false, true, 10, 2, true, {false, 0, 0, 1}, {Step::Notice, true}},
        {"both postpones used", false, true, 10, 2, true, {false, 0, 0, 2}, {Step::Notice, false}},
        {"postpones=0", false, true, 10, 0, true, {false, 0, 0, 0}, {Step::Notice, false}},
        {"notice=0", false, true, 0, 2, true, {false, 0, 0, 0}, {Step::Break}},
    };
    for (const auto& c : cases) {
        const Options o{600, c.enforced, c.waitBusy, c.notice, c.postpones, c.skipAway, EndSound::BuiltIn, ""};
        EXPECT_EQ(Decide(o, c.moment), c.expected) << c.what;
    }
    EXPECT_EQ(Decide(Options{}, {false, 0, 99 * kMinute, 0}).step, Step::Notice);  // no length measures no absence
}

TEST(BreakStart, StoredKeysAreBroughtIntoRange) {
    struct Case { const char* what; StoredKeys keys; Options expected; } cases[] = {
        {"all absent: the defaults", {}, {30, true, true, 10, 2, true, EndSound::BuiltIn, ""}},
        {"as stored", {"0", "25", "4", "0", "C:\\a.wav"}, {30, true, false, 25, 4, false, EndSound::File, "C:\\a.wav"}},
        {"notice=-5, postpones=999", {"1", "-5", "999", "1", ""}, {30, true, true, 0, 5, true, EndSound::BuiltIn, ""}},
        {"notice=61, postpones=-1", {"", "61", "-1", "", ""}, {30, true, true, 60, 0, true, EndSound::BuiltIn, ""}},
        {"waitbusy=2, skipaway=7", {"2", "", "", "7", ""}, {30, true, true, 10, 2, true, EndSound::BuiltIn, ""}},
        {"no numbers; endsound=0", {"abc", "abc", "two", "no", "0"}, {30, true, true, 10, 2, true, EndSound::Silent, ""}},
        {"beyond 32 bits", {"", "99999999999", "99999999999", "", ""}, {30, true, true, 10, 2, true, EndSound::BuiltIn, ""}},
        {"blanks around numbers", {" 0 ", " 3 ", " 1", "", ""}, {30, true, false, 3, 1, true, EndSound::BuiltIn, ""}},
    };
    auto fields = [](const Options& o) {
        return std::tie(o.seconds, o.enforced, o.waitBusy, o.noticeSeconds, o.postpones, o.skipAway, o.endSound, o.endSoundFile);
    };
    for (const auto& c : cases) EXPECT_EQ(fields(ReadOptions(30, true, c.keys)), fields(c.expected)) << c.what;
}

TEST(BreakStart, BusyStatesTextsAndWaveHeaders) {
    // Busy: 2 full screen, 3 Direct3D full screen, 4 presentation, 6 quiet time; 0 is no answer.
    const bool busy[] = {false, false, true, true, true, false, true, false, false};
    for (int state = 0; state <= 8; ++state) EXPECT_EQ(BusyState(state), busy[state]) << state;
    EXPECT_EQ(NoticeText(900, 10), "A break of 900 seconds starts in 10 seconds.");
    EXPECT_TRUE(WaveHeader(std::string("RIFF\x24\x08\0\0WAVEfmt ", 16)));
    EXPECT_FALSE(WaveHeader(std::string("RIFF\x24\x08\0\0AVI LIST", 16)));
    EXPECT_FALSE(WaveHeader("RIFF"));
}

TEST(BreakStart, NoticeSitsInTheCornerOfTheNotificationArea) {
    const monitors::Rect screen{0, 0, 1920, 1080};
    struct Case { const char* what; monitors::Rect area, work; int x, y; } cases[] = {
        {"taskbar at the bottom", screen, {0, 0, 1920, 1040}, 1610, 950},
        {"taskbar at the top", screen, {0, 40, 1920, 1080}, 1610, 50},
        {"taskbar on the left", screen, {60, 0, 1920, 1080}, 70, 990},
        {"taskbar on the right", screen, {0, 0, 1860, 1080}, 1550, 990},
        {"work area smaller than the notice", screen, {0, 0, 200, 50}, 0, 0},
        {"monitor left of the origin", {-1280, 0, 0, 1024}, {-1280, 0, 0, 984}, -310, 894},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NoticePlace(c.area, c.work, 300, 80, 10), (monitors::Rect{c.x, c.y, c.x + 300, c.y + 80})) << c.what;
    }
}

}  // namespace
