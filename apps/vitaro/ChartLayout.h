// The geometry and texts of the biorhythm chart: a 418 x 223 pixel box drawn in a user
// scale of 35 units across and 30 down (origin top-left, y downward), the 34-point curves,
// the ruler's day numbers, the date caption and the colour table.
#pragma once
#include "apps/vitaro/BiorhythmModel.h"

#include <array>
#include <cstdint>
#include <string>

namespace bio {

inline constexpr int kChartWidthPx = 418;
inline constexpr int kChartHeightPx = 223;
inline constexpr float kScaleWidth = 35.0f;
inline constexpr float kScaleHeight = 30.0f;

inline constexpr int kCurvePoints = 34;      // x = 1 .. 34, the chosen date at x = 18
inline constexpr int kCurveDaysBefore = 17;  // days drawn left of the chosen date
inline constexpr float kCentreLineY = 15.0f;
inline constexpr float kChosenDateX = 18.0f;

// Axes: the vertical one from (1, 2) to (1, 28), the horizontal one from (1, 15) to (34, 15).
inline constexpr float kAxisX = 1.0f, kAxisTop = 2.0f, kAxisBottom = 28.0f, kAxisRight = 34.0f;
// The dotted marker of the chosen date runs the full height, with a gap from 15 to 17 for
// the ruler's day number when the rulers are on.
inline constexpr float kMarkerGapTop = 15.0f, kMarkerGapBottom = 17.0f;
// Ruler ticks at x = 2 .. 34 from y = 15 up to y = 14; the number sits below at y = 15.
inline constexpr int kRulerFirstX = 2, kRulerLastX = 34;
inline constexpr int kRulerCount = kRulerLastX - kRulerFirstX + 1;
inline constexpr float kRulerTickTop = 14.0f;

// Font sizes of the chart, in hundredths of a point: Arial 9.75 at start, 6 for the day
// numbers, 10 after the rulers were drawn once.
inline constexpr int kStartFontCentipoints = 975;
inline constexpr int kRulerFontCentipoints = 600;
inline constexpr int kAfterRulerFontCentipoints = 1000;
inline constexpr const char* kChartFontFace = "Arial";

// Nearest pixel of a user coordinate, on a chart of widthPx x heightPx (the chart scaled to its
// window's DPI; 418 x 223 at 96 DPI).
int PixelX(float units, int widthPx = kChartWidthPx);
int PixelY(float units, int heightPx = kChartHeightPx);
// Pixel sizes measured with the chart's font, in user units.
float UnitsOfWidth(int pixels, int widthPx = kChartWidthPx);
float UnitsOfHeight(int pixels, int heightPx = kChartHeightPx);

struct PointF {
    float x;
    float y;
};

// The polyline of one cycle for day count n: x = 1 + j is day n - 17 + j, y = 15 - A *
// CycleValue, so positive values lie above the centre line.
std::array<PointF, kCurvePoints> CurvePoints(std::int32_t n, const BiorhythmCycle& cycle);

// The ruler's day numbers for x = 2 .. 34: the days of the month of chosen - 16 .. chosen + 16.
std::array<int, kRulerCount> RulerDays(const CivilDate& chosen);

// The platform locale's names for the caption.
struct LocaleNames {
    std::array<std::string, 7> weekdays;     // full names, Sunday first
    std::array<std::string, 12> monthsShort; // abbreviated, January first
};
// "dddd, mmm d yyyy": "Sunday, Dec 6 2026".
std::string DateCaption(const CivilDate& date, const LocaleNames& names);

// Colours are red + 256 * green + 65536 * blue.
using ColorValue = std::uint32_t;
struct Rgb {
    int red, green, blue;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};
Rgb SplitColor(ColorValue color);
ColorValue MakeColor(int red, int green, int blue);

inline constexpr ColorValue kWhite = 16777215;
inline constexpr int kColorSlots = 6;
enum ColorSlot { kSlotBackground = 1, kSlotAxes, kSlotRuler, kSlotEmotional, kSlotPhysical, kSlotIntellectual };
inline constexpr std::array<const char*, kColorSlots> kColorSlotNames{
    "Background", "Axes", "Ruler", "Emotional Cycle", "Physical Cycle", "Intellectual Cycle"};
// Slot 1 first; set at every start and never stored.
using GraphColors = std::array<ColorValue, kColorSlots>;
inline constexpr GraphColors kStartColors{187 + 65536 * 82, kWhite, kWhite, 65535, 65280, 255};

}  // namespace bio
