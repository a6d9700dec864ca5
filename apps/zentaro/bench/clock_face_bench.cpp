// Costs of the clock face, each against a baseline measured in the same run:
//  1. the window shape of a 200 x 200 checkerboard: one read of the pixels and one region
//     build, against reading pixel by pixel and uniting the rectangles one at a time;
//  2. one tick (invalidate + paint of the time area) against a paint of the whole face.
#include "face/FaceLayout.h"
#include "face/TimeDrawing.h"
#include "face/Face.h"
#include "common/Handles.h"
#include "apps/zentaro/MainWindow.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

double Now() {
    static const double perSecond = [] {
        LARGE_INTEGER f{};
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER c{};
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / perSecond;
}

// Median wall time of `runs` calls, in microseconds.
double MedianMicros(int runs, const std::function<void()>& body) {
    std::vector<double> t;
    t.reserve(static_cast<size_t>(runs));
    for (int i = 0; i < runs; ++i) {
        const double start = Now();
        body();
        t.push_back((Now() - start) * 1e6);
    }
    std::nth_element(t.begin(), t.begin() + runs / 2, t.end());
    return t[static_cast<size_t>(runs / 2)];
}

// The shape built the straightforward way: GetPixel on every pixel, one CombineRgn per run.
HRGN RegionPixelByPixel(HDC dc, int width, int height) {
    const COLORREF transparent = GetPixel(dc, 0, 0);
    HRGN region = nullptr;
    for (int y = 0; y < height; ++y) {
        int x = 0;
        while (x < width) {
            while (x < width && GetPixel(dc, x, y) == transparent) ++x;
            if (x == width) break;
            const int start = x;
            while (x < width && GetPixel(dc, x, y) != transparent) ++x;
            if (!region) {
                region = CreateRectRgn(start, y, x, y + 1);
            } else {
                win::AutoRegion single(CreateRectRgn(start, y, x, y + 1));
                CombineRgn(region, region, single.get(), RGN_OR);
            }
        }
    }
    return region;
}

void RegionBench() {
    constexpr int kSide = 200;
    win::WindowDC screen(nullptr);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof bi.bmiHeader, kSide, -kSide, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    win::AutoBitmap board(CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    auto* px = static_cast<DWORD*>(bits);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) px[y * kSide + x] = (x + y) % 2 ? 0x00FFFFFF : 0x00FF0000;
    win::AutoMemDC dc(CreateCompatibleDC(screen.get()));
    win::ScopedSelect sel(dc.get(), board.get());

    constexpr int kRuns = 5;
    const double onePass = MedianMicros(kRuns, [&] {
        win::AutoRegion r(face::BuildRegionFromRuns(face::ShapeRuns(face::ReadSurfacePixels(dc.get(), kSide, kSide))));
    });
    const double unionOnly = MedianMicros(kRuns, [&] {
        win::AutoRegion r(face::BuildRegionByUnion(face::ShapeRuns(face::ReadSurfacePixels(dc.get(), kSide, kSide))));
    });
    const double pixelByPixel = MedianMicros(kRuns, [&] { win::AutoRegion r(RegionPixelByPixel(dc.get(), kSide, kSide)); });
    std::printf("region 200x200 checkerboard (20000 runs), median of %d:\n", kRuns);
    std::printf("  one pass (GetDIBits, rows, paired unions):%10.0f us\n", onePass);
    std::printf("  GetDIBits + CombineRgn per rectangle:   %10.0f us  (%.1fx the one pass)\n", unionOnly,
                unionOnly / onePass);
    std::printf("  GetPixel + CombineRgn per rectangle:    %10.0f us  (%.1fx the one pass)\n", pixelByPixel,
                pixelByPixel / onePass);
    std::printf("ratio region_union_over_one_pass %.1f\n", pixelByPixel / onePass);
}

void TickBench() {
    if (!zentaro::RegisterMainClass(zentaro::kMainClassName)) return;
    HWND wnd = zentaro::CreateMainWindow(zentaro::kMainClassName, 0, "");
    if (!wnd) return;
    ShowWindow(wnd, SW_SHOWNA);
    UpdateWindow(wnd);
    const face::TimeDrawing& draw = zentaro::MainDrawTime();
    const RECT area{draw.ReLeft(), draw.ReTop(), draw.ReLeft() + face::kTimeAreaWidth + 1,
                    draw.ReTop() + face::kTimeAreaHeight};
    constexpr int kTicks = 1000;
    const double tick = MedianMicros(kTicks, [&] {
        InvalidateRect(wnd, &area, FALSE);
        UpdateWindow(wnd);
    });
    const double whole = MedianMicros(kTicks, [&] {
        InvalidateRect(wnd, nullptr, TRUE);
        UpdateWindow(wnd);
    });
    std::printf("tick, median of %d: time area %.1f us, whole face %.1f us\n", kTicks, tick, whole);
    std::printf("ratio whole_face_over_tick %.2f\n", whole / tick);
    DestroyWindow(wnd);
    UnregisterClassA(zentaro::kMainClassName, GetModuleHandleA(nullptr));
}

}  // namespace

int main() {
    RegionBench();
    TickBench();
    return 0;
}
