// The biorhythm chart: DrawGraph redraws everything into a retained 418 x 223 image, which
// the chart box paints from, so the chart survives being covered, minimised and restored.
#pragma once
#include <windows.h>

#include "apps/vitaro/BiorhythmModel.h"
#include "apps/vitaro/ChartLayout.h"
#include "common/Handles.h"

#include <array>
#include <string>
#include <vector>

namespace bio {

struct ChartInputs {
    CivilDate birth;
    CivilDate current;
    bool emotional = true;
    bool physical = true;
    bool intellectual = true;
    bool rulers = true;
    GraphColors colors = kStartColors;
};

// A text the last DrawGraph wrote: where its top-left corner went (pixels of the image),
// its colour and its font size.
struct DrawnText {
    std::string text;
    int x;
    int y;
    COLORREF color;
    int centipoints;
};

class ChartSurface {
public:
    // Makes the image, 418 x 223 at 96 DPI and scaled to `dpi`; false when the platform
    // refuses. Called again it makes the image anew (a move to a monitor of another DPI).
    bool Create(int dpi = 96);
    HDC dc() const { return dc_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }
    int dpi() const { return dpi_; }
    // The chart font's size in hundredths of a point: 9.75 until the rulers were drawn once,
    // 10 after that (it is a property of the chart box, as the rulers leave it).
    int fontCentipoints() const { return fontCentipoints_; }
    const std::vector<DrawnText>& texts() const { return texts_; }
    // The line styles (PS_SOLID, PS_DASH, PS_DOT) of the curves the last DrawGraph drew, read
    // back from the pens themselves, in drawing order.
    const std::vector<DWORD>& curveStyles() const { return curveStyles_; }

private:
    friend std::array<std::string, 4> DrawGraph(ChartSurface& chart, const ChartInputs& in, const LocaleNames& names);
    win::AutoBitmap bitmap_;
    win::AutoMemDC dc_;  // holds bitmap_ selected for its whole life
    int width_ = kChartWidthPx;
    int height_ = kChartHeightPx;
    int dpi_ = 96;
    int fontCentipoints_ = kStartFontCentipoints;
    std::vector<DrawnText> texts_;
    std::vector<DWORD> curveStyles_;
};

// Redraws the whole chart for the inputs and returns the four value lines (Emotional,
// Physical, Intellectual, Average), which are written whether or not the curves are shown.
std::array<std::string, 4> DrawGraph(ChartSurface& chart, const ChartInputs& in, const LocaleNames& names);

// Copies the retained image to dc with its top-left corner at (x, y).
void PaintChart(HDC dc, int x, int y, const ChartSurface& chart);

// The weekday and month names of the user's locale.
LocaleNames PlatformLocaleNames();

}  // namespace bio
