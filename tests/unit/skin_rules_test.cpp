// Skin size rules, the random pick and the options dialog's placement arithmetic.
#include "face/SkinRules.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

namespace {

using skins::SkinKind;

struct SizeCase {
    const char* what;
    int width;
    int height;
    SkinKind kind;
};

const SizeCase kSizes[] = {
    {"smallest background", 110, 26, SkinKind::Background},
    {"largest background", 200, 200, SkinKind::Background},
    {"built-in background size", 120, 38, SkinKind::Background},
    {"one column too narrow", 109, 38, SkinKind::None},
    {"one column too wide", 201, 38, SkinKind::None},
    {"one row too low", 120, 25, SkinKind::None},
    {"one row too high", 120, 201, SkinKind::None},
    {"glyph strip", 180, 25, SkinKind::GlyphStrip},
    {"glyph strip one row higher is a background", 180, 26, SkinKind::Background},
    {"glyph strip one column wider", 181, 25, SkinKind::None},
    {"glyph strip one column narrower", 179, 25, SkinKind::None},
    {"empty bitmap", 0, 0, SkinKind::None},
    {"negative height of a top-down bitmap is not a size", 120, -38, SkinKind::None},
};

TEST(SkinRules, ClassifiesBySize) {
    for (const SizeCase& c : kSizes) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(skins::ClassifySkin(c.width, c.height), c.kind);
    }
}

TEST(SkinRules, SortKeepsListingOrderAndDropsOthers) {
    const skins::SkinLists lists = skins::SortSkins({{"z.bmp", 150, 40},
                                                     {"t2.bmp", 180, 25},
                                                     {"odd.bmp", 109, 38},
                                                     {"a.bmp", 120, 38},
                                                     {"t1.bmp", 180, 25}});
    EXPECT_EQ(lists.backgrounds, (std::vector<std::string>{"z.bmp", "a.bmp"}));
    EXPECT_EQ(lists.glyphStrips, (std::vector<std::string>{"t2.bmp", "t1.bmp"}));
}

// Pearson's chi-square over the counts of each number; with k - 1 degrees of freedom.
double ChiSquare(const std::vector<int>& counts, int draws) {
    const double expected = static_cast<double>(draws) / static_cast<double>(counts.size());
    double sum = 0;
    for (int c : counts) sum += (c - expected) * (c - expected) / expected;
    return sum;
}

TEST(SkinRules, EveryNumberEquallyLikely) {
    // Critical values at p = 0.001: a fair pick fails one run in a thousand per row.
    struct Case { const char* what; int count; double bound; };
    const Case cases[] = {{"three skins", 3, 13.82}, {"seven skins", 7, 22.46}, {"ten skins", 10, 27.88}};
    skins::SkinRandom random = skins::MakeSkinRandom(0x1234'5678'9abc'def0ULL, 42);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int draws = 30000;
        std::vector<int> counts(static_cast<std::size_t>(c.count), 0);
        for (int i = 0; i < draws; ++i) {
            const int n = skins::PickSkinNumber(random, c.count);
            ASSERT_TRUE(n >= 1 && n <= c.count) << n;
            ++counts[static_cast<std::size_t>(n - 1)];
        }
        EXPECT_LT(ChiSquare(counts, draws), c.bound);
    }
    // An empty list still reads its entry "1" (left from an earlier scan, or empty).
    EXPECT_EQ(skins::PickSkinNumber(random, 0), 1);
    EXPECT_EQ(skins::PickSkinNumber(random, -4), 1);
}

TEST(SkinRules, SeparateSeedingsDiffer) {
    // Same clock reading and process id: the random device still makes the sequences differ.
    skins::SkinRandom a = skins::MakeSkinRandom(1, 1);
    skins::SkinRandom b = skins::MakeSkinRandom(1, 1);
    std::array<std::uint64_t, 4> sa{}, sb{};
    for (auto& v : sa) v = a();
    for (auto& v : sb) v = b();
    EXPECT_NE(sa, sb);
}

TEST(SkinRules, HalvesGoToTheEvenInteger) {
    struct Case { const char* what; int value; int half; };
    const Case cases[] = {{"exact", 330, 165},     {"1.5 up to 2", 3, 2},     {"2.5 down to 2", 5, 2},
                          {"264.5 down", 529, 264}, {"263.5 up", 527, 264},   {"zero", 0, 0},
                          {"-0.5 to 0", -1, 0},     {"-1.5 to -2", -3, -2},   {"-2.5 to -2", -5, -2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(skins::HalfRoundedToEven(c.value), c.half);
    }
}

TEST(SkinRules, PreviewCentresOnTheMiddleOfItsArea) {
    struct Case { const char* what; int w; int h; int x; int y; };
    const Case cases[] = {{"built-in background", 120, 38, 265, 146},
                          {"odd sizes: halves to even", 121, 39, 264, 146},
                          {"largest background", 200, 200, 225, 65}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(skins::PreviewOrigin(c.w, c.h).x, c.x);
        EXPECT_EQ(skins::PreviewOrigin(c.w, c.h).y, c.y);
    }
}

TEST(SkinRules, RunCommandQuotesPathsWithBlanks) {
    struct Case { const char* what; const char* path; const char* text; };
    const Case cases[] = {
        {"no blank stays bare", "C:\\Zentaro\\zentaro.exe", "C:\\Zentaro\\zentaro.exe"},
        {"blank is quoted", "C:\\Program Files\\Zentaro\\zentaro.exe", "\"C:\\Program Files\\Zentaro\\zentaro.exe\""},
        {"already quoted stays", "\"C:\\My Apps\\zentaro.exe\"", "\"C:\\My Apps\\zentaro.exe\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(skins::RunCommandFor(c.path), c.text);
    }
}

}  // namespace
