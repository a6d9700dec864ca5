// Placement, picture order, break length and countdown of the break program.
#include "apps/break/BreakLogic.h"

#include <gtest/gtest.h>

using namespace breaklogic;

namespace {

TEST(BreakLayout, PictureIsCentredAndControlsStayOnIt) {
    struct Case { const char* what; int w, h; int x, y; } cases[] = {
        {"1024 x 768", 1024, 768, 192, 144},
        {"640 x 480 puts it in the corner", 640, 480, 0, 0},
        {"480 high but wider: still the corner", 800, 480, 0, 0},
        {"800 x 600", 800, 600, 80, 60},
        {"1920 x 1080", 1920, 1080, 640, 300},
        {"smaller than the picture stays on screen", 320, 240, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const BreakLayout l = ComputeBreakLayout(c.w, c.h);
        EXPECT_EQ(l.picture.left, c.x);
        EXPECT_EQ(l.picture.top, c.y);
        EXPECT_EQ(l.picture.width, 640);
        EXPECT_EQ(l.picture.height, 480);
        for (const Rect& r : {l.closeButton, l.previousButton, l.nextButton, l.countdownLabel, l.headingLabel}) {
            EXPECT_GE(r.left, l.picture.left);
            EXPECT_GE(r.top, l.picture.top);
            EXPECT_LE(r.right(), l.picture.right());
            EXPECT_LE(r.bottom(), l.picture.bottom());
            EXPECT_GT(r.width, 0);
            EXPECT_GT(r.height, 0);
        }
    }
    // The button row: Close on the left, Previous then Next on the right, on one line.
    const BreakLayout l = ComputeBreakLayout(1024, 768);
    EXPECT_EQ(l.closeButton.top, l.nextButton.top);
    EXPECT_LT(l.closeButton.right(), l.previousButton.left);
    EXPECT_LT(l.previousButton.right(), l.nextButton.left);
    EXPECT_LT(l.countdownLabel.right(), l.headingLabel.left + l.headingLabel.width);
}

TEST(BreakPictures, OrderWrapsAndFirstPictureAvoidsTheLast) {
    struct Case { const char* what; int current, next, previous; } cases[] = {
        {"first", 1, 2, 20}, {"middle", 7, 8, 6}, {"last", 20, 1, 19},
        {"out of range low", 0, 1, 20}, {"out of range high", 21, 1, 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(NextPicture(c.current), c.next);
        EXPECT_EQ(PreviousPicture(c.current), c.previous);
    }
    int n = 5;
    for (int i = 0; i < kPictureCount; ++i) n = NextPicture(n);
    EXPECT_EQ(n, 5);

    EXPECT_EQ(FirstPicture(0.0), 1);
    EXPECT_EQ(FirstPicture(0.9999999), 19);
    EXPECT_EQ(FirstPicture(1.0), 19);  // a generator that reaches 1 still gives a picture
    EXPECT_EQ(PicturePath("Z:/x/bin", 12), "Z:/x/bin/picture/12.jpg");
}

TEST(BreakPictures, OtherSizesFitThePictureAreaKeepingTheirShape) {
    const Rect box{100, 50, 640, 480};
    struct Case { const char* what; int w, h; Rect expected; } cases[] = {
        {"exact size", 640, 480, {100, 50, 640, 480}},
        {"same shape, smaller", 320, 240, {100, 50, 640, 480}},
        {"wide: bars above and below", 1280, 480, {100, 170, 640, 240}},
        {"tall: bars left and right", 480, 960, {300, 50, 240, 480}},
        {"a thin line keeps one pixel", 10000, 1, {100, 289, 640, 1}},
        {"empty image", 0, 480, {100, 50, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Rect r = FitInside(c.w, c.h, box);
        EXPECT_EQ(r.left, c.expected.left);
        EXPECT_EQ(r.top, c.expected.top);
        EXPECT_EQ(r.width, c.expected.width);
        EXPECT_EQ(r.height, c.expected.height);
    }
}

TEST(BreakCountdown, LengthIsClampedAndTheCountFollowsRealTime) {
    struct Length { const char* what; std::int32_t stored; int seconds; } lengths[] = {
        {"ordinary", 45, 45}, {"zero", 0, 0}, {"negative", -5, 0},
        {"largest 16-bit count", 32767, 32767}, {"too long", 40000, 32767},
    };
    for (const auto& c : lengths) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(stopini::ClampBreakLength(c.stored), c.seconds);
    }

    struct Tick { const char* what; std::uint64_t at; int remaining; } ticks[] = {
        {"at the start", 10000, 3},
        {"a clock read before the start", 9000, 3},
        {"a tick a little early still counts", 10950, 2},
        {"one second", 11000, 2},
        {"a late tick", 11600, 2},
        {"two seconds", 12000, 1},
        {"held up past the end: 0, not below", 19000, 0},
    };
    const Countdown count(3, 10000);
    for (const auto& t : ticks) {
        SCOPED_TRACE(t.what);
        EXPECT_EQ(count.Remaining(t.at), t.remaining);
    }
    EXPECT_FALSE(count.Finished(12000));
    EXPECT_TRUE(count.Finished(13000));
    EXPECT_TRUE(Countdown(0, 5).Finished(5));
    EXPECT_TRUE(Countdown(-3, 5).Finished(5));
    EXPECT_EQ(Countdown(99999, 0).total(), 32767);
    EXPECT_EQ(CountdownText(2), "2  Seconds time.");
}

}  // namespace
