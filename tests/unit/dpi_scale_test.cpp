// 96-DPI units to pixels at the four display scales the programs are tested at.
#include "common/DpiScale.h"

#include <gtest/gtest.h>

namespace {

struct Row {
    int dpi;
    int units;
    int pixels;
};

TEST(DpiScale, ScalesUnitsAsMulDivRounds) {
    const Row rows[] = {
        {96, 13, 13},   {120, 13, 16},  {144, 13, 20},  {192, 13, 26},   // 16.25, 19.5 up
        {96, 1, 1},     {120, 1, 1},    {144, 1, 2},    {192, 1, 2},     // 1.25 down, 1.5 up
        {96, 0, 0},     {144, 0, 0},    {120, -3, -4},  {144, -13, -20}, // halves away from zero
        {96, 418, 418}, {120, 418, 523}, {144, 418, 627}, {192, 418, 836},
        {0, 7, 7},      {-5, 7, 7},     // no DPI counts as 96
    };
    for (const Row& r : rows) EXPECT_EQ(dpi::Scale(r.units, r.dpi), r.pixels) << r.units << " at " << r.dpi;
}

TEST(DpiScale, RescalesBetweenDpis) {
    EXPECT_EQ(dpi::Rescale(20, 144, 96), 13);
    EXPECT_EQ(dpi::Rescale(13, 96, 192), 26);
    EXPECT_EQ(dpi::Rescale(26, 192, 120), 16);  // 16.25
    EXPECT_EQ(dpi::Rescale(-20, 144, 192), -27);  // -26.67
}

TEST(DpiScale, UnscalesPixelsRoundingUp) {
    EXPECT_EQ(dpi::Unscale(20, 144), 14);  // 13.33: the text needs 14 units
    EXPECT_EQ(dpi::Unscale(26, 192), 13);
    EXPECT_EQ(dpi::Unscale(16, 120), 13);  // 12.8
    EXPECT_EQ(dpi::Unscale(13, 96), 13);
    EXPECT_EQ(dpi::Unscale(0, 144), 0);
}

TEST(DpiScale, FontHeightsFromPoints) {
    EXPECT_EQ(dpi::PointsToFontHeight(9, 96), -12);
    EXPECT_EQ(dpi::PointsToFontHeight(9, 120), -15);
    EXPECT_EQ(dpi::PointsToFontHeight(9, 144), -18);
    EXPECT_EQ(dpi::PointsToFontHeight(9, 192), -24);
}

TEST(DpiScale, WholeFactorsCopyPixels) {
    EXPECT_TRUE(dpi::WholeFactor(96));
    EXPECT_FALSE(dpi::WholeFactor(120));
    EXPECT_FALSE(dpi::WholeFactor(144));
    EXPECT_TRUE(dpi::WholeFactor(192));
    EXPECT_TRUE(dpi::WholeFactor(288));
}

}  // namespace
