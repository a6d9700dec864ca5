#include "apps/vitaro/BiorhythmChart.h"

#include "common/Dpi.h"

namespace bio {
namespace {

COLORREF ColorOf(const GraphColors& colors, int slot) { return static_cast<COLORREF>(colors[slot - 1]); }

// The size of the chart being drawn: DrawGraph draws one chart at a time.
struct Canvas {
    int width = kChartWidthPx;
    int height = kChartHeightPx;
    int dpi = 96;
};
Canvas g_canvas;

POINT Pixel(float x, float y) { return {PixelX(x, g_canvas.width), PixelY(y, g_canvas.height)}; }
// A pen width of the chart at 96 DPI, at its DPI.
int PenWidth(int units) { return dpi::Scale(units, g_canvas.dpi); }

// The chart's Arial at a size in hundredths of a point, for the chart's DPI.
win::AutoFont ChartFont(HDC, int centipoints) {
    LOGFONTA lf{};
    lf.lfHeight = -MulDiv(centipoints, g_canvas.dpi, 7200);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynA(lf.lfFaceName, kChartFontFace, LF_FACESIZE);
    return win::AutoFont(CreateFontIndirectA(&lf));
}

void Line(HDC dc, float x1, float y1, float x2, float y2) {
    const POINT a = Pixel(x1, y1), b = Pixel(x2, y2);
    MoveToEx(dc, a.x, a.y, nullptr);
    LineTo(dc, b.x, b.y);
}

SIZE TextSize(HDC dc, const std::string& text) {
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

// Draws text with its top-left corner at the user point and records it.
void Text(HDC dc, std::vector<DrawnText>& record, const std::string& text, float x, float y, COLORREF color,
          int centipoints) {
    const POINT p = Pixel(x, y);
    SetTextColor(dc, color);
    TextOutA(dc, p.x, p.y, text.c_str(), static_cast<int>(text.size()));
    record.push_back({text, p.x, p.y, color, centipoints});
}

}  // namespace

bool ChartSurface::Create(int at) {
    dc_.reset();
    bitmap_.reset();
    dpi_ = at > 0 ? at : dpi::kBaseDpi;
    width_ = dpi::Scale(kChartWidthPx, dpi_);
    height_ = dpi::Scale(kChartHeightPx, dpi_);
    win::WindowDC screen(nullptr);
    dc_.reset(CreateCompatibleDC(screen.get()));
    if (!dc_) return false;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width_;
    bi.bmiHeader.biHeight = -height_;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap_) return false;
    // Selected for the DC's whole life: deleting the DC first releases the selection.
    SelectObject(dc_.get(), bitmap_.get());
    SetBkMode(dc_.get(), TRANSPARENT);  // texts and the gaps of the dotted pen keep the background
    const RECT all{0, 0, width_, height_};
    FillRect(dc_.get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    return true;
}

std::array<std::string, 4> DrawGraph(ChartSurface& chart, const ChartInputs& in, const LocaleNames& names) {
    HDC dc = chart.dc();
    chart.texts_.clear();
    g_canvas = {chart.width_, chart.height_, chart.dpi_};

    // Background: erases the previous chart.
    {
        win::AutoBrush background(CreateSolidBrush(ColorOf(in.colors, kSlotBackground)));
        const RECT all{0, 0, chart.width_, chart.height_};
        FillRect(dc, &all, background.get());
    }

    const std::int32_t n = DaysLived(in.birth, in.current);

    // Curves: 2 pixels, one 34-point polyline per shown cycle, each in a line style of its own
    // (solid, dashed, dotted) besides its colour, so they are told apart without colour (high
    // contrast, colour blindness, a grey print). A wide dashed pen must be geometric.
    const bool shown[3] = {in.emotional, in.physical, in.intellectual};
    constexpr DWORD kCurveStyles[3] = {PS_SOLID, PS_DASH, PS_DOT};
    chart.curveStyles_.clear();
    for (std::size_t c = 0; c < kCycles.size(); ++c) {
        if (!shown[c]) continue;
        const BiorhythmCycle& cycle = kCycles[c];
        const LOGBRUSH ink{BS_SOLID, ColorOf(in.colors, cycle.colorSlot), 0};
        win::AutoPen pen(ExtCreatePen(PS_GEOMETRIC | kCurveStyles[c] | PS_ENDCAP_FLAT | PS_JOIN_ROUND,
                                      static_cast<DWORD>(PenWidth(2)), &ink, 0, nullptr));
        EXTLOGPEN made{};
        if (GetObjectA(pen.get(), sizeof made, &made) > 0) chart.curveStyles_.push_back(made.elpPenStyle & PS_STYLE_MASK);
        win::ScopedSelect usePen(dc, pen.get());
        POINT points[kCurvePoints];
        const auto curve = CurvePoints(n, cycle);
        for (int j = 0; j < kCurvePoints; ++j) points[j] = Pixel(curve[j].x, curve[j].y);
        Polyline(dc, points, kCurvePoints);
    }

    // Axes: solid, 1 pixel.
    {
        win::AutoPen pen(CreatePen(PS_SOLID, PenWidth(1), ColorOf(in.colors, kSlotAxes)));
        win::ScopedSelect usePen(dc, pen.get());
        Line(dc, kAxisX, kAxisTop, kAxisX, kAxisBottom);
        Line(dc, kAxisX, kCentreLineY, kAxisRight, kCentreLineY);
    }

    // The dotted marker of the chosen date, with a gap for the day number under the rulers.
    {
        win::AutoPen pen(CreatePen(PS_DOT, 1, ColorOf(in.colors, kSlotAxes)));
        win::ScopedSelect usePen(dc, pen.get());
        if (in.rulers) {
            Line(dc, kChosenDateX, 0, kChosenDateX, kMarkerGapTop);
            Line(dc, kChosenDateX, kMarkerGapBottom, kChosenDateX, kScaleHeight);
        } else {
            Line(dc, kChosenDateX, 0, kChosenDateX, kScaleHeight);
        }
    }

    // Rulers: a dotted tick and the day of the month for each of the 33 days around the date.
    if (in.rulers) {
        chart.fontCentipoints_ = kRulerFontCentipoints;
        win::AutoFont font = ChartFont(dc, kRulerFontCentipoints);
        win::ScopedSelect useFont(dc, font.get());
        win::AutoPen pen(CreatePen(PS_DOT, 1, ColorOf(in.colors, kSlotRuler)));
        win::ScopedSelect usePen(dc, pen.get());
        const auto days = RulerDays(in.current);
        for (int i = kRulerFirstX; i <= kRulerLastX; ++i) {
            const std::string text = std::to_string(days[i - kRulerFirstX]);
            Line(dc, static_cast<float>(i), kCentreLineY, static_cast<float>(i), kRulerTickTop);
            const float width = UnitsOfWidth(TextSize(dc, text).cx, g_canvas.width);
            Text(dc, chart.texts_, text, i - width / 2, kCentreLineY, ColorOf(in.colors, kSlotRuler),
                 kRulerFontCentipoints);
        }
        chart.fontCentipoints_ = kAfterRulerFontCentipoints;
    }

    // The chosen date, always white, at the bottom edge one unit from the right.
    {
        win::AutoFont font = ChartFont(dc, chart.fontCentipoints_);
        win::ScopedSelect useFont(dc, font.get());
        const std::string caption = DateCaption(in.current, names);
        const SIZE size = TextSize(dc, caption);
        Text(dc, chart.texts_, caption, kScaleWidth - UnitsOfWidth(size.cx, g_canvas.width) - 1,
             kScaleHeight - UnitsOfHeight(size.cy, g_canvas.height),
             static_cast<COLORREF>(kWhite), chart.fontCentipoints_);
    }
    GdiFlush();
    return ValueLines(n);
}

void PaintChart(HDC dc, int x, int y, const ChartSurface& chart) {
    BitBlt(dc, x, y, chart.width(), chart.height(), chart.dc(), 0, 0, SRCCOPY);
}

LocaleNames PlatformLocaleNames() {
    auto info = [](LCTYPE type) {
        char buffer[80] = {};
        const int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer);
        return n > 0 ? std::string(buffer) : std::string();
    };
    LocaleNames names;
    // The platform counts weekdays from Monday (LOCALE_SDAYNAME1); the names start on Sunday.
    for (int d = 0; d < 7; ++d) names.weekdays[d] = info(LOCALE_SDAYNAME1 + (d + 6) % 7);
    for (int m = 0; m < 12; ++m) names.monthsShort[m] = info(LOCALE_SABBREVMONTHNAME1 + m);
    return names;
}

}  // namespace bio
