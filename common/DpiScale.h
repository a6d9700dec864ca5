// Display scale arithmetic without the platform: layouts are kept in 96-DPI units ("logical
// pixels") and become device pixels at a window's DPI, rounded as MulDiv rounds (halves away
// from zero).
#pragma once

namespace dpi {

inline constexpr int kBaseDpi = 96;  // 100 %: one unit is one pixel

// units * dpi / 96, rounded to the nearest integer, halves away from zero. A dpi of zero or
// less counts as 96.
int Scale(int units, int dpi);
// Pixels at dpi as 96-DPI units, rounded up: a text measured in pixels still fits the units.
int Unscale(int pixels, int dpi);
// value * toDpi / fromDpi with the same rounding: a size laid out at fromDpi, at toDpi.
int Rescale(int value, int fromDpi, int toDpi);
// A text height in points (1/72 inch) as a font height in pixels at dpi (negative: the
// character height, as CreateFont wants it).
int PointsToFontHeight(int points, int dpi);
// Whether dpi is a whole multiple of 96 (100 %, 200 %, 300 %): such a scale copies each
// pixel into a block, while the others smooth.
bool WholeFactor(int dpi);

}  // namespace dpi
