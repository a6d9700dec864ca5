#include "face/TimeDrawing.h"

#include "common/Handles.h"

#include <string_view>

namespace face {

face::PixelGrid ReadSurfacePixels(HDC dc, int width, int height) {
    face::PixelGrid grid;
    HBITMAP bitmap = static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP));  // owned by the surface
    if (!bitmap || width <= 0 || height <= 0) return grid;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    // GetDIBits wants the bitmap out of every DC while it reads: park a 1 x 1 placeholder in
    // the surface for the moment and put the bitmap back afterwards.
    int rows = 0;
    {
        win::AutoBitmap placeholder(CreateCompatibleBitmap(dc, 1, 1));
        if (!placeholder) return grid;
        win::ScopedSelect park(dc, placeholder.get());
        win::WindowDC screen(nullptr);
        rows = GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    }
    if (rows != height) return grid;
    for (auto& p : pixels) p &= 0x00FFFFFF;
    grid.width = width;
    grid.height = height;
    grid.pixels = std::move(pixels);
    return grid;
}

long TimeDrawing::PaintTimePos(HDC hDcMem, int BmpWidth, int BmpHeight) {
    const face::PixelGrid grid = ReadSurfacePixels(hDcMem, BmpWidth, BmpHeight);
    if (grid.pixels.empty()) return kUnreadableSurface;
    if (const auto found = face::FindTimeArea(grid)) area_ = *found;
    return kOk;
}

long TimeDrawing::DrawTime(HDC hDestDc, HDC hSreDc, const char* StrTime) const {
    const auto plan = face::PlanTimeCells(StrTime ? std::string_view(StrTime) : std::string_view());
    if (!plan) return kNotADigit;
    for (const face::CellCopy& cell : *plan)
        BitBlt(hDestDc, area_.left + cell.offsetX, area_.top, cell.width, face::kGlyphHeight, hSreDc, cell.sourceX, 0,
               SRCCOPY);
    return kOk;
}

std::string ClockTimeText(const SYSTEMTIME& time) {
    char text[64] = {};
    const int n = GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_FORCE24HOURFORMAT | TIME_NOTIMEMARKER, &time, nullptr,
                                 text, static_cast<int>(sizeof text));
    if (n <= 0) return {};
    text[sizeof text - 1] = '\0';
    std::string result(text);
    while (!result.empty() && (result.back() == ' ' || result.back() == '\t')) result.pop_back();
    return result;
}

}  // namespace face
