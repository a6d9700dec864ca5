#include "common/DpiScale.h"

#include <cstdint>

namespace dpi {

namespace {

int Normal(int dpi) { return dpi > 0 ? dpi : kBaseDpi; }

// a * b / c rounded to nearest, halves away from zero (what MulDiv does); c > 0.
int MulDivRound(int a, int b, int c) {
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t half = c / 2;
    const std::int64_t q = product >= 0 ? (product + half) / c : -((-product + half) / c);
    return static_cast<int>(q);
}

}  // namespace

int Scale(int units, int dpi) { return MulDivRound(units, Normal(dpi), kBaseDpi); }

int Unscale(int pixels, int dpi) {
    const std::int64_t scaled = static_cast<std::int64_t>(pixels) * kBaseDpi;
    const int d = Normal(dpi);
    return static_cast<int>(scaled >= 0 ? (scaled + d - 1) / d : -((-scaled) / d));
}

int Rescale(int value, int fromDpi, int toDpi) { return MulDivRound(value, Normal(toDpi), Normal(fromDpi)); }

int PointsToFontHeight(int points, int dpi) { return -MulDivRound(points, Normal(dpi), 72); }

bool WholeFactor(int dpi) { return Normal(dpi) % kBaseDpi == 0; }

}  // namespace dpi
