#include "apps/vitaro/ChartLayout.h"

#include <cmath>
#include <cstdio>

namespace bio {

int PixelX(float units, int widthPx) { return static_cast<int>(std::lround(units * widthPx / kScaleWidth)); }
int PixelY(float units, int heightPx) { return static_cast<int>(std::lround(units * heightPx / kScaleHeight)); }
float UnitsOfWidth(int pixels, int widthPx) { return pixels * kScaleWidth / widthPx; }
float UnitsOfHeight(int pixels, int heightPx) { return pixels * kScaleHeight / heightPx; }

std::array<PointF, kCurvePoints> CurvePoints(std::int32_t n, const BiorhythmCycle& cycle) {
    std::array<PointF, kCurvePoints> points{};
    for (int j = 0; j < kCurvePoints; ++j) {
        const double value = CycleValue(n - kCurveDaysBefore + j, cycle.period);
        points[j] = {static_cast<float>(1 + j), static_cast<float>(kCentreLineY - cycle.amplitude * value)};
    }
    return points;
}

std::array<int, kRulerCount> RulerDays(const CivilDate& chosen) {
    std::array<int, kRulerCount> days{};
    const std::int64_t first = DayNumber(chosen) - 16;
    for (int i = 0; i < kRulerCount; ++i) days[i] = DateOfDayNumber(first + i).day;
    return days;
}

std::string DateCaption(const CivilDate& date, const LocaleNames& names) {
    char year[16];
    std::snprintf(year, sizeof year, "%04d", date.year);
    return names.weekdays[Weekday(date)] + ", " + names.monthsShort[date.month - 1] + " " +
           std::to_string(date.day) + " " + year;
}

Rgb SplitColor(ColorValue color) {
    return {static_cast<int>(color % 256), static_cast<int>((color / 256) % 256), static_cast<int>(color / 65536)};
}

ColorValue MakeColor(int red, int green, int blue) {
    return static_cast<ColorValue>(red) + 256u * static_cast<ColorValue>(green) + 65536u * static_cast<ColorValue>(blue);
}

}  // namespace bio
