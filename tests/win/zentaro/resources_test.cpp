// The resources compiled into zentaro.exe, loaded from the built program itself.
#include "resources/resource_ids.h"
#include "common/Handles.h"
#include "common/ProgramPath.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

class ZentaroResources : public ::testing::Test {
protected:
    void SetUp() override {
        module_.reset(LoadLibraryExA((paths::ProgramDirectory() + "\\zentaro.exe").c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
        ASSERT_TRUE(module_) << "zentaro.exe not found beside the test";
    }

    // The bitmap's pixels as COLORREFs, row 0 at the top.
    struct Pixels {
        int width = 0, height = 0;
        std::vector<COLORREF> px;
        COLORREF at(int x, int y) const { return px[static_cast<size_t>(y) * width + x]; }
    };
    Pixels Load(int id) {
        Pixels p;
        win::AutoBitmap bmp(static_cast<HBITMAP>(
            LoadImageA(module_.get(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        EXPECT_TRUE(bmp);
        if (!bmp) return p;
        BITMAP info{};
        GetObjectA(bmp.get(), sizeof info, &info);
        p.width = info.bmWidth;
        p.height = info.bmHeight;
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = p.width;
        bi.bmiHeader.biHeight = -p.height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        std::vector<DWORD> raw(static_cast<size_t>(p.width) * p.height);
        win::WindowDC screen(nullptr);
        GetDIBits(screen.get(), bmp.get(), 0, p.height, raw.data(), &bi, DIB_RGB_COLORS);
        for (DWORD v : raw) p.px.push_back(RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF));
        return p;
    }

    win::AutoModule module_;
};

TEST_F(ZentaroResources, BuiltInBackgroundHasRedCornersAndItsTimeMarkerAt5And7) {
    const Pixels bg = Load(IDB_BACKGROUND);
    ASSERT_EQ(bg.width, 120);
    ASSERT_EQ(bg.height, 38);
    EXPECT_EQ(bg.at(0, 0), RGB(255, 0, 0));
    for (auto [x, y] : {std::pair{119, 0}, {0, 37}, {119, 37}}) EXPECT_EQ(bg.at(x, y), RGB(255, 0, 0));
    EXPECT_NE(bg.at(60, 19), RGB(255, 0, 0));  // the face itself is not cut away
    // The right-most column holding pure black gives the time area: left = x - 109, top = its first row.
    int markerX = -1, markerY = -1;
    for (int x = 0; x < bg.width; ++x)
        for (int y = 0; y < bg.height; ++y)
            if (bg.at(x, y) == RGB(0, 0, 0)) {
                markerX = x;
                markerY = y;
                break;
            }
    EXPECT_EQ(markerX - 109, 5);
    EXPECT_EQ(markerY, 7);
}

TEST_F(ZentaroResources, GlyphStripHasDigitsColonAndBlankInTheirColumns) {
    const Pixels g = Load(IDB_GLYPHS);
    ASSERT_EQ(g.width, 180);
    ASSERT_EQ(g.height, 25);
    const COLORREF paper = g.at(158, 0);
    auto inkIn = [&](int x0, int x1) {
        int ink = 0;
        for (int x = x0; x < x1; ++x)
            for (int y = 0; y < g.height; ++y) ink += g.at(x, y) != paper;
        return ink;
    };
    EXPECT_EQ(inkIn(158, 174), 0) << "the blank glyph is empty";
    EXPECT_GT(inkIn(151, 159), 8) << "the colon has its dots";
    for (int d = 0; d < 10; ++d) {
        SCOPED_TRACE(d);
        EXPECT_GT(inkIn(15 * d, 15 * d + 15), 20);
    }
    // Digits differ from each other, so each reads as itself.
    for (int a = 0; a < 10; ++a)
        for (int b = a + 1; b < 10; ++b) {
            bool differ = false;
            for (int x = 0; x < 15 && !differ; ++x)
                for (int y = 0; y < 25 && !differ; ++y) differ = g.at(15 * a + x, y) != g.at(15 * b + x, y);
            EXPECT_TRUE(differ) << a << " vs " << b;
        }
}

TEST_F(ZentaroResources, BuiltInSoundIsAStereoAdpcmWave) {
    HRSRC res = FindResourceA(module_.get(), MAKEINTRESOURCEA(IDR_RING_SOUND), RT_RING_SOUND);
    ASSERT_NE(res, nullptr);
    const DWORD size = SizeofResource(module_.get(), res);
    const auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(module_.get(), res)));
    ASSERT_NE(data, nullptr);
    ASSERT_GT(size, 44u);
    EXPECT_EQ(std::memcmp(data, "RIFF", 4), 0);
    EXPECT_EQ(std::memcmp(data + 8, "WAVEfmt ", 8), 0);
    auto u16 = [&](size_t at) { return data[at] | (data[at + 1] << 8); };
    auto u32 = [&](size_t at) { return static_cast<DWORD>(u16(at) | (u16(at + 2) << 16)); };
    EXPECT_EQ(u32(4) + 8, size) << "a complete RIFF file";
    EXPECT_EQ(u16(20), 2) << "Microsoft ADPCM";
    EXPECT_EQ(u16(22), 2) << "channels";
    EXPECT_EQ(u32(24), 22050u) << "samples per second";
    EXPECT_GT(size, 9000u);
    EXPECT_LT(size, 12000u);
}

TEST_F(ZentaroResources, IconOneHasBothSizes) {
    for (int size : {16, 32}) {
        SCOPED_TRACE(size);
        win::AutoIcon icon(static_cast<HICON>(
            LoadImageA(module_.get(), MAKEINTRESOURCEA(IDI_ZENTARO), IMAGE_ICON, size, size, 0)));
        ASSERT_TRUE(icon);
        ICONINFO ii{};
        ASSERT_TRUE(GetIconInfo(icon.get(), &ii));
        BITMAP bm{};
        GetObjectA(ii.hbmColor ? ii.hbmColor : ii.hbmMask, sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, size);
        if (ii.hbmColor) DeleteObject(ii.hbmColor);
        DeleteObject(ii.hbmMask);
    }
}

}  // namespace
