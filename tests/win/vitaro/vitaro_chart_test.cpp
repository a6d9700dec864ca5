// The biorhythm chart drawn into its retained image: colours, axes, curves, rulers, caption.
#include "apps/vitaro/BiorhythmChart.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using bio::ChartInputs;
using bio::ChartSurface;
using bio::CivilDate;

constexpr COLORREF kBackground = RGB(187, 0, 82);
constexpr COLORREF kWhitePixel = RGB(255, 255, 255);

COLORREF Pixel(const ChartSurface& chart, int x, int y) { return GetPixel(chart.dc(), x, y); }

bool ColourNear(const ChartSurface& chart, int cx, int cy, int radius, COLORREF colour) {
    for (int y = cy - radius; y <= cy + radius; ++y)
        for (int x = cx - radius; x <= cx + radius; ++x)
            if (Pixel(chart, x, y) == colour) return true;
    return false;
}

bool ColourAnywhere(const ChartSurface& chart, COLORREF colour) {
    for (int y = 0; y < bio::kChartHeightPx; ++y)
        for (int x = 0; x < bio::kChartWidthPx; ++x)
            if (Pixel(chart, x, y) == colour) return true;
    return false;
}

ChartInputs Inputs(CivilDate birth, CivilDate current) {
    ChartInputs in;
    in.birth = birth;
    in.current = current;
    return in;
}

class ChartTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(chart_.Create()); }
    std::array<std::string, 4> Draw(const ChartInputs& in) { return bio::DrawGraph(chart_, in, names_); }
    ChartSurface chart_;
    bio::LocaleNames names_ = bio::PlatformLocaleNames();
};

TEST_F(ChartTest, BirthDayChartShowsCrucialDaysAndCrossesTheAxisAtTheMarker) {
    const auto lines = Draw(Inputs({2024, 3, 10}, {2024, 3, 10}));
    EXPECT_EQ(lines[0], " Emotional :  Crucial Day");
    EXPECT_EQ(lines[1], " Physical :  Crucial Day");
    EXPECT_EQ(lines[2], " Intellectual :  Crucial Day");
    EXPECT_EQ(lines[3], " Average : 0%");
    EXPECT_EQ(Pixel(chart_, 5, 5), kBackground);
    EXPECT_EQ(Pixel(chart_, 414, 5), kBackground);
}

TEST_F(ChartTest, AxesAreWhiteAtOneUnitAcrossAndFifteenDown) {
    ChartInputs in = Inputs({1990, 1, 1}, {2024, 3, 10});
    in.emotional = in.physical = in.intellectual = false;
    in.rulers = false;
    Draw(in);
    const int axisX = bio::PixelX(1), axisY = bio::PixelY(15);
    for (int y : {bio::PixelY(2) + 1, 60, 150, bio::PixelY(28) - 1}) EXPECT_EQ(Pixel(chart_, axisX, y), kWhitePixel) << y;
    for (int x : {axisX + 1, 100, 300, bio::PixelX(34) - 1}) EXPECT_EQ(Pixel(chart_, x, axisY), kWhitePixel) << x;
    EXPECT_EQ(Pixel(chart_, axisX, bio::PixelY(1)), kBackground);  // the vertical axis starts at 2
    EXPECT_EQ(Pixel(chart_, bio::PixelX(34) + 3, axisY), kBackground);
    for (const auto& slot : {bio::kSlotEmotional, bio::kSlotPhysical, bio::kSlotIntellectual})
        EXPECT_FALSE(ColourAnywhere(chart_, in.colors[slot - 1])) << slot;
}

TEST_F(ChartTest, EachCurveIsDrawnInItsColourNearItsPointsAndVanishesWhenCleared) {
    const CivilDate birth{1976, 7, 4}, chosen{2024, 3, 10};
    const std::int32_t n = bio::DaysLived(birth, chosen);
    for (std::size_t c = 0; c < bio::kCycles.size(); ++c) {
        const auto& cycle = bio::kCycles[c];
        SCOPED_TRACE(cycle.name);
        ChartInputs in = Inputs(birth, chosen);
        in.emotional = c == bio::kEmotional;
        in.physical = c == bio::kPhysical;
        in.intellectual = c == bio::kIntellectual;
        Draw(in);
        const COLORREF colour = in.colors[cycle.colorSlot - 1];
        const auto points = bio::CurvePoints(n, cycle);
        for (int j : {3, 12, 17, 25, 31}) {
            EXPECT_TRUE(ColourNear(chart_, bio::PixelX(points[j].x), bio::PixelY(points[j].y), 2, colour)) << "j=" << j;
        }
        in.emotional = in.physical = in.intellectual = false;
        Draw(in);
        EXPECT_FALSE(ColourAnywhere(chart_, colour));
    }
}

TEST_F(ChartTest, RulersAroundALeapDayAndTheChosenDayInTheMarkerGap) {
    Draw(Inputs({1990, 1, 1}, {2024, 3, 10}));
    const auto& texts = chart_.texts();
    ASSERT_EQ(texts.size(), 34u);  // 33 day numbers and the caption
    const char* expected[] = {"23", "24", "25", "26", "27", "28", "29", "1",  "2",  "3",  "4",
                              "5",  "6",  "7",  "8",  "9",  "10", "11", "12", "13", "14", "15",
                              "16", "17", "18", "19", "20", "21", "22", "23", "24", "25", "26"};
    for (int i = 0; i < 33; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(texts[i].text, expected[i]);
        EXPECT_EQ(texts[i].y, bio::PixelY(15));
        EXPECT_EQ(texts[i].color, kWhitePixel);
        EXPECT_EQ(texts[i].centipoints, 600);
        // Centred on its tick at x = i + 2.
        EXPECT_LE(texts[i].x, bio::PixelX(static_cast<float>(i + 2)));
        EXPECT_GE(texts[i].x, bio::PixelX(static_cast<float>(i + 2)) - 10);
    }
    // "10" under the chosen date at x = 18.
    EXPECT_EQ(texts[16].text, "10");
    EXPECT_LT(texts[16].x, bio::PixelX(18));
    // The dotted marker runs above and below the gap that holds the number.
    bool markerAbove = false, markerBelow = false;
    for (int y = 0; y < bio::PixelY(15); ++y) markerAbove |= Pixel(chart_, bio::PixelX(18), y) == kWhitePixel;
    for (int y = bio::PixelY(17); y < bio::PixelY(28); ++y) markerBelow |= Pixel(chart_, bio::PixelX(18), y) == kWhitePixel;
    EXPECT_TRUE(markerAbove);
    EXPECT_TRUE(markerBelow);
}

TEST_F(ChartTest, CaptionIsWhiteAtTheBottomRightAndItsFontFollowsTheRulers) {
    ChartInputs in = Inputs({1990, 1, 1}, {2026, 12, 6});
    in.rulers = false;
    Draw(in);
    ASSERT_EQ(chart_.texts().size(), 1u);
    const bio::DrawnText caption = chart_.texts().back();
    EXPECT_EQ(caption.text, "Sunday, Dec 6 2026");
    EXPECT_EQ(caption.color, kWhitePixel);
    EXPECT_EQ(caption.centipoints, 975);  // rulers never drawn yet
    EXPECT_LT(caption.x, bio::PixelX(34));
    EXPECT_GT(caption.y, bio::PixelY(26));

    struct { const char* what; bool rulers; int centipoints; } steps[] = {
        {"rulers drawn", true, 1000},
        {"rulers switched off again", false, 1000},
    };
    for (const auto& step : steps) {
        in.rulers = step.rulers;
        Draw(in);
        EXPECT_EQ(chart_.texts().back().centipoints, step.centipoints) << step.what;
    }
    // White even when the colour table says otherwise; the ruler numbers take slot 3.
    in.colors[bio::kSlotRuler - 1] = RGB(0, 0, 255);
    in.rulers = true;
    Draw(in);
    EXPECT_EQ(chart_.texts().back().color, kWhitePixel);
    EXPECT_EQ(chart_.texts().front().color, RGB(0, 0, 255));
}

}  // namespace
