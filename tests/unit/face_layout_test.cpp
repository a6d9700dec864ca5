// Layout rules of the clock face: time area, outline runs, glyph cells, placement.
#include "face/FaceLayout.h"

#include <gtest/gtest.h>

#include <string>

using namespace face;

namespace {

constexpr std::uint32_t kRed = 0xFF0000, kWhite = 0xFFFFFF, kBlack = 0x000000, kGrey = 0x808080;

PixelGrid Filled(int w, int h, std::uint32_t colour) {
    return PixelGrid{w, h, std::vector<std::uint32_t>(static_cast<std::size_t>(w) * h, colour)};
}
void Set(PixelGrid& g, int x, int y, std::uint32_t c) { g.pixels[static_cast<std::size_t>(y) * g.width + x] = c; }

}  // namespace

TEST(FaceTimeArea, RightMostBlackColumnAndItsTopRowDecide) {
    struct Case {
        const char* what;
        std::vector<std::pair<int, int>> black;
        std::optional<TimeArea> expected;
    };
    const Case cases[] = {
        {"columns 150 and 160, tops 10 and 4", {{150, 10}, {150, 20}, {160, 4}, {160, 30}}, TimeArea{51, 4}},
        {"top-most pixel of the column counts", {{120, 33}, {120, 7}}, TimeArea{11, 7}},
        {"marker left of column 109 puts the area off the left edge", {{100, 0}}, TimeArea{-9, 0}},
        {"right and bottom edge pixels count", {{199, 199}}, TimeArea{90, 199}},
        {"no black pixel: nothing found", {}, std::nullopt},
    };
    for (const Case& c : cases) {
        PixelGrid g = Filled(200, 200, kWhite);
        for (auto [x, y] : c.black) Set(g, x, y, kBlack);
        EXPECT_EQ(FindTimeArea(g), c.expected) << c.what;
    }
}

TEST(FaceTimeArea, NearBlackIsNoMarker) {
    PixelGrid g = Filled(130, 40, kWhite);
    Set(g, 120, 5, 0x010000);
    Set(g, 115, 9, kBlack);
    EXPECT_EQ(FindTimeArea(g), (TimeArea{6, 9}));
}

TEST(FaceShapeRuns, RunsOfNonTransparentPixelsPerRow) {
    // Transparent colour = top-left pixel; a run ends at a transparent pixel or the right edge.
    PixelGrid g = Filled(6, 3, kRed);
    for (int x = 1; x <= 2; ++x) Set(g, x, 0, kGrey);
    Set(g, 5, 0, kWhite);
    for (int x = 0; x < 6; ++x) Set(g, x, 1, kBlack);
    Set(g, 0, 1, kRed);  // row 1: x 1..5 to the edge
    const std::vector<face::Run> expected{{1, 3, 0}, {5, 6, 0}, {1, 6, 1}};
    EXPECT_EQ(ShapeRuns(g), expected);
}

TEST(FaceShapeRuns, NoRegionForSingleColourOrEmptyImages) {
    EXPECT_TRUE(ShapeRuns(Filled(120, 38, kGrey)).empty()) << "every pixel has the top-left colour";
    EXPECT_TRUE(ShapeRuns(Filled(1, 1, kBlack)).empty()) << "1 x 1";
    EXPECT_TRUE(ShapeRuns(PixelGrid{}).empty()) << "empty image";
}

TEST(FaceShapeRuns, CheckerboardGivesOneRunPerOpaqueCell) {
    PixelGrid g = Filled(200, 200, kRed);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            if ((x + y) % 2) Set(g, x, y, kWhite);
    const auto runs = ShapeRuns(g);
    ASSERT_EQ(runs.size(), 200u * 100u);
    for (const face::Run& r : runs) EXPECT_EQ(r.right - r.left, 1);
}

TEST(FaceTimeCells, CellTableForBothTextLengths) {
    struct Case {
        const char* what;
        std::string text;
        std::array<int, kCellCount> sourceX;  // per cell, left to right
    };
    // Colon at 151, blank at 158, digit d at 15 * d.
    const Case cases[] = {
        {"two-digit hour", "09:05:03", {0, 135, 151, 0, 75, 151, 0, 45}},
        {"one-digit hour gets the blank", "9:05:03", {158, 135, 151, 0, 75, 151, 0, 45}},
        {"characters beyond the eighth ignored", "23:59:58 PM", {30, 45, 151, 75, 135, 151, 75, 120}},
        {"separators are not read", "12.34.56", {15, 30, 151, 45, 60, 151, 75, 90}},
    };
    for (const Case& c : cases) {
        const auto plan = PlanTimeCells(c.text);
        ASSERT_TRUE(plan) << c.what;
        for (std::size_t i = 0; i < kCellCount; ++i) EXPECT_EQ((*plan)[i].sourceX, c.sourceX[i]) << c.what << " cell " << i;
    }
}

TEST(FaceTimeCells, UndrawableTextsAreRefused) {
    const char* bad[] = {"", "9:05", "1O:10:39", "ab:cd:ef", "9:05:0x", "-9:05:03",
                         "\xB9:05:03"};
    for (const char* text : bad) EXPECT_FALSE(PlanTimeCells(text)) << "\"" << text << "\"";
}

TEST(FaceSettings, OpacityIsKeptVisible) {
    struct Case {
        std::optional<std::int32_t> stored;
        int expected;
    };
    const Case cases[] = {{std::nullopt, 188}, {0, 100}, {99, 100}, {100, 100}, {200, 200}, {255, 255},
                          {256, 255}, {-5, 100}, {1000000, 255}};
    for (const Case& c : cases) EXPECT_EQ(ClockOpacity(c.stored), c.expected) << (c.stored ? *c.stored : -1);
}

TEST(FaceSettings, ImageSizesAndNames) {
    EXPECT_TRUE(BackgroundSizeUsable(120, 38)) << "built-in background";
    EXPECT_FALSE(BackgroundSizeUsable(1, 1));
    EXPECT_FALSE(BackgroundSizeUsable(4000, 4000));
    EXPECT_TRUE(GlyphStripSizeUsable(180, 25)) << "built-in strip";
    EXPECT_FALSE(GlyphStripSizeUsable(1, 1));
    EXPECT_FALSE(GlyphStripSizeUsable(4000, 4000));

    struct Case {
        const char* name;
        bool bare;
    };
    const Case names[] = {{"skin.bmp", true},     {"Default", true},        {"", false},
                          {"..", false},          {"..\\x.bmp", false},     {"sub/x.bmp", false},
                          {"C:x.bmp", false},     {"\\\\server\\x.bmp", false}};
    for (const Case& c : names) EXPECT_EQ(IsBareFileName(c.name), c.bare) << c.name;
}

namespace {

// A bitmap file's headers (file header + 40-byte info header) announcing w x h at `bits`.
std::string BmpHead(std::int32_t w, std::int32_t h, int bits, std::uint32_t compression = 0,
                    std::uint32_t statedSize = 0, std::uint32_t pixelsAt = 54) {
    std::string b(54, '\0');
    auto put = [&](std::size_t at, std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    b[0] = 'B';
    b[1] = 'M';
    put(10, pixelsAt, 4);
    put(14, 40, 4);
    put(18, static_cast<std::uint32_t>(w), 4);
    put(22, static_cast<std::uint32_t>(h), 4);
    put(26, 1, 2);
    put(28, static_cast<std::uint32_t>(bits), 2);
    put(30, compression, 4);
    put(34, statedSize, 4);
    return b;
}

}  // namespace

TEST(FaceBitmapFile, HeadersMustNotPromiseMoreThanTheFileHolds) {
    struct Case {
        const char* what;
        std::string head;
        std::uint64_t fileSize;
        bool complete;
    };
    // 120 x 38 at 24 bits: rows of 360 bytes, 13680 bytes of pixels after 54 bytes of headers.
    const Case cases[] = {
        {"whole 24-bit image", BmpHead(120, 38, 24), 54 + 13680, true},
        {"top-down image", BmpHead(120, -38, 24), 54 + 13680, true},
        {"one byte short", BmpHead(120, 38, 24), 54 + 13679, false},
        {"headers only", BmpHead(120, 38, 24), 54, false},
        {"1 x 1, row padded to 4 bytes", BmpHead(1, 1, 24), 58, true},
        {"1 x 1 without its row padding", BmpHead(1, 1, 24), 57, false},
        {"121 x 38, rows of 363 bytes padded to 364", BmpHead(121, 38, 24), 54 + 364 * 38, true},
        {"121 x 38 with unpadded rows", BmpHead(121, 38, 24), 54 + 363 * 38, false},
        {"160 x 60 cut after 200 bytes", BmpHead(160, 60, 24), 200, false},
        {"1-bit rows padded", BmpHead(33, 2, 1, 0, 0, 62), 62 + 16, true},
        {"pixels said to start inside the headers", BmpHead(1, 1, 24, 0, 0, 20), 58, false},
        {"pixels said to start past the end", BmpHead(1, 1, 24, 0, 0, 5000), 58, false},
        {"zero width", BmpHead(0, 5, 24), 1000, false},
        {"absurd width", BmpHead(0x7FFFFFFF, 1, 32), 1ull << 40, false},
        {"unknown bit count", BmpHead(4, 4, 7), 1000, false},
        {"bit fields at 32 bits", BmpHead(4, 4, 32, 3), 54 + 64, true},
        {"embedded PNG", BmpHead(4, 4, 0, 5, 100), 1000, false},
        {"run-length data that fits", BmpHead(4, 4, 8, 1, 40, 54 + 1024), 54 + 1024 + 40, true},
        {"run-length data cut", BmpHead(4, 4, 8, 1, 400, 54 + 1024), 54 + 1024 + 40, false},
        {"not a bitmap", std::string("\x89PNG\r\n\x1a\n") + std::string(60, '\0'), 68, false},
        {"empty", std::string(), 0, false},
        {"cut inside the info header", BmpHead(120, 38, 24).substr(0, 30), 30, false},
    };
    for (const Case& c : cases) EXPECT_EQ(BitmapFileComplete(c.head, c.fileSize), c.complete) << c.what;
}

// The face's shape at 96, 120, 144 and 192 DPI: each row becomes the rows its scaled band
// covers, each run its scaled columns.
TEST(FaceLayoutDpi, ShapeRunsScaleWithTheFace) {
    const std::vector<face::Run> runs{{2, 5, 0}, {8, 9, 0}, {1, 4, 1}};
    struct Row {
        int dpi;
        std::vector<face::Run> expected;
    };
    const Row rows[] = {
        {96, runs},
        {120, {{3, 6, 0}, {10, 11, 0}, {1, 5, 1}, {1, 5, 2}}},                     // rows 0..1, 1..3
        {144, {{3, 8, 0}, {12, 14, 0}, {3, 8, 1}, {12, 14, 1}, {2, 6, 2}}},         // 0..2, 2..3
        {192, {{4, 10, 0}, {16, 18, 0}, {4, 10, 1}, {16, 18, 1}, {2, 8, 2}, {2, 8, 3}}},
    };
    for (const Row& r : rows) EXPECT_EQ(face::ScaleRuns(runs, r.dpi), r.expected) << r.dpi;
}
