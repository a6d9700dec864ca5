// The monitor layout: which break window goes on which monitor, how the plain windows follow a
// change of the monitors, and how a window is brought back within reach.
#include "common/MonitorLayout.h"

#include <gtest/gtest.h>

#include <vector>

using namespace monitors;

namespace {

using Kind = BreakWindowKind;
using List = std::vector<Monitor>;

// A monitor whose work area is the whole monitor but for a taskbar of `bar` rows at the bottom.
Monitor M(int left, int top, int right, int bottom, bool primary = false, int bar = 0) {
    return {{left, top, right, bottom}, {left, top, right, bottom - bar}, primary};
}

// Lists of monitors the tables below use.
const List kOne{M(0, 0, 1024, 768, true, 28)};
// The primary second, the other one left of it at negative coordinates and larger.
const List kLeftOfPrimary{M(-1920, -312, 0, 768), M(0, 0, 1024, 768, true, 28)};
// Three of different sizes, the primary in the middle of the list, one above the primary.
const List kThree{M(1024, 0, 2304, 1024), M(0, 0, 1024, 768, true, 28), M(0, -900, 1600, 0)};
const List kNone{};

TEST(MonitorLayout, TheBreakPutsItsMainWindowOnThePrimaryAndAPlainOneOnEachOther) {
    struct Case { const char* what; List list; std::vector<BreakWindowPlace> plan; } cases[] = {
        {"one monitor", kOne, {{Kind::kMain, {0, 0, 1024, 768}}}},
        {"primary second, the other at negative coordinates", kLeftOfPrimary,
         {{Kind::kMain, {0, 0, 1024, 768}}, {Kind::kPlain, {-1920, -312, 0, 768}}}},
        {"three of different sizes", kThree,
         {{Kind::kMain, {0, 0, 1024, 768}}, {Kind::kPlain, {1024, 0, 2304, 1024}},
          {Kind::kPlain, {0, -900, 1600, 0}}}},
        {"none flagged: the first is the primary", {M(0, 0, 800, 600), M(800, 0, 1600, 600)},
         {{Kind::kMain, {0, 0, 800, 600}}, {Kind::kPlain, {800, 0, 1600, 600}}}},
        {"no monitors", kNone, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<BreakWindowPlace> plan = PlanBreakWindows(c.list);
        EXPECT_EQ(plan, c.plan);
        std::vector<Rect> plain;
        for (const auto& p : c.plan) {
            if (p.kind == Kind::kPlain) plain.push_back(p.rect);
        }
        EXPECT_EQ(PlainRects(plan), plain);
    }
}

TEST(MonitorLayout, PlainWindowsFollowMonitorsAddedAndRemoved) {
    const Rect a{-1920, 0, 0, 1080}, b{1024, 0, 2304, 1024}, c{0, -900, 1600, 0}, b2{1024, 0, 3584, 1440};
    struct Case { const char* what; std::vector<Rect> covered, wanted; CoverChange change; } cases[] = {
        {"nothing changes", {a, b}, {a, b}, {{}, {}}},
        {"a monitor is added", {a}, {a, b}, {{}, {b}}},
        {"the first monitor is added", {}, {a}, {{}, {a}}},
        {"a monitor is removed", {a, b, c}, {a, c}, {{1}, {}}},
        {"all others are removed", {a, b}, {}, {{0, 1}, {}}},
        {"one removed, another added", {a, b}, {c, a}, {{1}, {c}}},
        {"a monitor changes its size", {a, b}, {a, b2}, {{1}, {b2}}},
        {"listed twice, covered once", {a, a}, {a, a}, {{1}, {}}},
        {"a new one listed twice", {}, {b, b}, {{}, {b}}},
    };
    for (const auto& k : cases) EXPECT_EQ(ChangeCover(k.covered, k.wanted), k.change) << k.what;
}

TEST(MonitorLayout, AWindowIsVisibleEnoughWithHalfOfItOnTheWorkAreas) {
    const List two{M(0, 0, 1024, 740, true), M(1024, 0, 2048, 740)};
    struct Case { const char* what; Rect window; List list; bool visible; } cases[] = {
        {"inside", {100, 100, 220, 138}, kOne, true},
        {"exactly half off the right edge", {964, 0, 1084, 38}, kOne, true},
        {"more than half off the right edge", {965, 0, 1085, 38}, kOne, false},
        {"far off to the left", {-99999, 100, -99879, 138}, kOne, false},
        {"on the taskbar, below the work area", {100, 740, 220, 778}, kOne, false},
        {"straddling two monitors", {964, 0, 1084, 38}, two, true},
        {"on the second monitor", {1500, 10, 1620, 48}, two, true},
        {"on a monitor at negative coordinates", {-1000, -300, -880, -262}, kLeftOfPrimary, true},
        {"where a removed monitor was", {-1000, 10, -880, 48}, kOne, false},
        {"an empty window", {10, 10, 10, 48}, kOne, false},
        {"no monitors", {100, 100, 220, 138}, kNone, false},
    };
    for (const auto& c : cases) EXPECT_EQ(VisibleEnough(c.window, c.list), c.visible) << c.what;
}

TEST(MonitorLayout, TheNearestMonitorHoldsMostOfTheWindowElseIsClosest) {
    struct Case { const char* what; Rect window; List list; std::optional<std::size_t> nearest; } cases[] = {
        {"on the only monitor", {10, 10, 130, 48}, kOne, 0},
        {"far off, one monitor", {-99999, 10, -99879, 48}, kOne, 0},
        {"mostly on the primary", {-20, 10, 100, 48}, kLeftOfPrimary, 1},
        {"mostly on the left one", {-100, 10, 20, 48}, kLeftOfPrimary, 0},
        {"left of everything", {-5000, 10, -4880, 48}, kLeftOfPrimary, 0},
        {"below the primary, off every monitor", {100, 2000, 220, 2038}, kThree, 1},
        {"right of the right one", {4000, 10, 4120, 48}, kThree, 0},
        {"above the top one", {100, -3000, 220, -2962}, kThree, 2},
        {"a tie goes to the earlier monitor", {1014, 10, 1034, 48}, kThree, 0},
        {"no monitors", {0, 0, 10, 10}, kNone, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(NearestMonitor(c.window, c.list), c.nearest) << c.what;
}

TEST(MonitorLayout, CentringRoundsHalvesToEven) {
    struct Case { int span, size, expected; } cases[] = {
        {1024, 120, 452}, {1025, 120, 452} /* 452.5 */, {1027, 120, 454} /* 453.5 */,
        {100, 103, -2} /* -1.5 */, {100, 105, -2} /* -2.5 */, {100, 107, -4} /* -3.5 */, {300, 301, 0} /* -0.5 */, {120, 120, 0}, {100, 450, -175},
    };
    for (const auto& c : cases) EXPECT_EQ(CentredOffset(c.span, c.size), c.expected) << c.span << " - " << c.size;
    EXPECT_EQ(CentredIn({-1920, -312, 0, 768}, 120, 38), (Rect{-1020, 209, -900, 247}));
}

TEST(MonitorLayout, AWindowOutOfReachComesToTheWorkAreaOfItsNearestMonitor) {
    struct Case { const char* what; Rect window; List list; Rect place; } cases[] = {
        {"within reach: stays", {12, 34, 132, 72}, kOne, {12, 34, 132, 72}},
        {"far off to the left: centred on the only monitor's work area", {-99999, 10, -99879, 48}, kOne,
         {452, 351, 572, 389}},
        {"on the taskbar: into the work area", {100, 740, 220, 778}, kOne, {452, 351, 572, 389}},
        {"beyond the left monitor", {-5000, 10, -4880, 48}, kLeftOfPrimary, {-1020, 209, -900, 247}},
        {"on a monitor at negative coordinates: stays", {-1000, -300, -880, -262}, kLeftOfPrimary,
         {-1000, -300, -880, -262}},
        {"where a removed monitor was: to the one left", {-1000, 10, -880, 48}, kOne, {452, 351, 572, 389}},
        {"above the top monitor", {100, -3000, 220, -2962}, kThree, {740, -469, 860, -431}},
        {"no monitors: stays", {-99999, 10, -99879, 48}, kNone, {-99999, 10, -99879, 48}},
    };
    for (const auto& c : cases) EXPECT_EQ(BringWithinReach(c.window, c.list), c.place) << c.what;
}

}  // namespace
