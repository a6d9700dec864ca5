// What Break does before its window: the decision, the stored keys brought into range, the busy
// states, the notice's corner and the wave header.
#include "apps/break/StartRules.h"

#include <gtest/gtest.h>

using namespace breakstart;

namespace {

constexpr std::uint64_t kMinute = 60 * 1000;

TEST(BreakStart, DecidesWaitSkipNoticeOrBreak) {
    struct Case {
        const char* what;
        bool waitBusy, skipAway, enforced;
        int notice, postpones;
        bool busy;
        std::uint64_t waitedMs, idleMs;
        int used;
        Decision expected;
    } cases[] = {
        {"idle enough to skip, but busy first: wait", true, true, false, 10, 2, true, 0, 99 * kMinute, 0, {Step::Wait}},
        {"busy 29:59 still waits", true, true, false, 10, 2, true, 30 * kMinute - 1, 0, 0, {Step::Wait}},
        {"busy for 30 minutes gives up", true, true, false, 10, 2, true, 30 * kMinute, 0, 0, {Step::Skip}},
        {"busy, waitbusy off: notice as usual", false, true, false, 10, 2, true, 0, 0, 0, {Step::Notice, true}},
        {"busy, no notice, waitbusy off: break at once", false, true, false, 0, 2, true, 0, 0, 0, {Step::Break}},
        {"away exactly the break's length", true, true, false, 10, 2, false, 0, 600 * 1000, 0, {Step::Skip}},
        {"away a moment less", true, true, false, 10, 2, false, 0, 600 * 1000 - 1, 0, {Step::Notice, true}},
        {"away, skipaway off", true, false, false, 10, 2, false, 0, 99 * kMinute, 0, {Step::Notice, true}},
        {"enforced: notice without postpone", true, true, true, 10, 2, false, 0, 0, 0, {Step::Notice, false}},
        {"one postpone used of two", true, true, false, 10, 2, false, 0, 0, 1, {Step::Notice, true}},
        {"both postpones used", true, true, false, 10, 2, false, 0, 0, 2, {Step::Notice, false}},
        {"postpones 0: none offered", true, true, false, 10, 0, false, 0, 0, 0, {Step::Notice, false}},
        {"notice 0: break at once", true, true, false, 0, 2, false, 0, 0, 0, {Step::Break}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Options o;
        o.seconds = 600;
        o.waitBusy = c.waitBusy;
        o.skipAway = c.skipAway;
        o.enforced = c.enforced;
        o.noticeSeconds = c.notice;
        o.postpones = c.postpones;
        EXPECT_EQ(Decide(o, {c.busy, c.waitedMs, c.idleMs, c.used}), c.expected);
    }
    // A break of no length measures no absence.
    Options none;
    EXPECT_EQ(Decide(none, {false, 0, 99 * kMinute, 0}).step, Step::Notice);
}

TEST(BreakStart, StoredKeysAreBroughtIntoRange) {
    struct Case {
        const char* what;
        StoredKeys keys;
        bool waitBusy;
        int notice, postpones;
        bool skipAway;
        EndSound sound;
    } cases[] = {
        {"all absent: the defaults", {}, true, 10, 2, true, EndSound::BuiltIn},
        {"as stored", {"0", "25", "4", "0", "C:\\a.wav"}, false, 25, 4, false, EndSound::File},
        {"notice=-5 and postpones=999 clamp", {"1", "-5", "999", "1", ""}, true, 0, 5, true, EndSound::BuiltIn},
        {"notice above a minute clamps", {"", "61", "-1", "", ""}, true, 60, 0, true, EndSound::BuiltIn},
        {"waitbusy=2 and skipaway=7 are on", {"2", "", "", "7", ""}, true, 10, 2, true, EndSound::BuiltIn},
        {"no numbers: the defaults", {"abc", "abc", "two", "no", "0"}, true, 10, 2, true, EndSound::Silent},
        {"beyond 32 bits: the defaults", {"", "99999999999", "99999999999", "", ""}, true, 10, 2, true,
         EndSound::BuiltIn},
        {"blanks around a number", {" 0 ", " 3 ", " 1", "", ""}, false, 3, 1, true, EndSound::BuiltIn},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Options o = ReadOptions(30, true, c.keys);
        EXPECT_EQ(o.seconds, 30);
        EXPECT_TRUE(o.enforced);
        EXPECT_EQ(o.waitBusy, c.waitBusy);
        EXPECT_EQ(o.noticeSeconds, c.notice);
        EXPECT_EQ(o.postpones, c.postpones);
        EXPECT_EQ(o.skipAway, c.skipAway);
        EXPECT_EQ(o.endSound, c.sound);
        EXPECT_EQ(o.endSoundFile, c.sound == EndSound::File ? c.keys.endSound : "");
    }
}

TEST(BreakStart, BusyStatesAndTexts) {
    // The values of QUERY_USER_NOTIFICATION_STATE, as the system numbers them.
    struct State { int value; const char* name; bool busy; } states[] = {
        {0, "no answer", false}, {1, "QUNS_NOT_PRESENT", false}, {2, "QUNS_BUSY", true},
        {3, "QUNS_RUNNING_D3D_FULL_SCREEN", true}, {4, "QUNS_PRESENTATION_MODE", true},
        {5, "QUNS_ACCEPTS_NOTIFICATIONS", false}, {6, "QUNS_QUIET_TIME", true}, {7, "QUNS_APP", false},
        {-1, "unknown", false}, {8, "unknown", false},
    };
    for (const auto& s : states) EXPECT_EQ(BusyState(s.value), s.busy) << s.name;
    EXPECT_EQ(NoticeText(900, 10), "A break of 900 seconds starts in 10 seconds.");

    struct Wave { const char* what; std::string bytes; bool wave; } waves[] = {
        {"wave", std::string("RIFF\x24\x08\0\0WAVEfmt ", 16), true},
        {"RIFF of another kind", std::string("RIFF\x24\x08\0\0AVI LIST", 16), false},
        {"text", "hello, world", false},
        {"short", "RIFF", false},
        {"empty", "", false},
    };
    for (const auto& w : waves) EXPECT_EQ(WaveHeader(w.bytes), w.wave) << w.what;
}

TEST(BreakStart, NoticeSitsInTheCornerOfTheNotificationArea) {
    const monitors::Rect area{0, 0, 1920, 1080};
    struct Case { const char* what; monitors::Rect work; int x, y; } cases[] = {
        {"taskbar at the bottom", {0, 0, 1920, 1040}, 1920 - 310, 1040 - 90},
        {"taskbar at the top", {0, 40, 1920, 1080}, 1920 - 310, 50},
        {"taskbar on the left", {60, 0, 1920, 1080}, 70, 1080 - 90},
        {"taskbar on the right", {0, 0, 1860, 1080}, 1860 - 310, 1080 - 90},
        {"no taskbar", {0, 0, 1920, 1080}, 1920 - 310, 1080 - 90},
        {"work area smaller than the notice", {0, 0, 200, 50}, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const monitors::Rect r = NoticePlace(area, c.work, 300, 80, 10);
        EXPECT_EQ(r, (monitors::Rect{c.x, c.y, c.x + 300, c.y + 80}));
    }
    // A monitor left of the primary's origin keeps its coordinates.
    EXPECT_EQ(NoticePlace({-1280, 0, 0, 1024}, {-1280, 0, 0, 984}, 300, 80, 10),
              (monitors::Rect{-310, 894, -10, 974}));
}

}  // namespace
