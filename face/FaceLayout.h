// Layout rules of the clock face that do not depend on the platform: where the time goes on a
// background, which pixels of a background make up the window's shape, which glyph of the
// strip goes into which cell of the time area, and where the face is centred on the desktop.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace face {

// Pixels of an image, row 0 at the top; each value is 0x00RRGGBB.
struct PixelGrid {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

inline constexpr std::uint32_t kTimeMarkerColour = 0x000000;  // pure black

// The time area: 111 columns wide, 25 rows high; its left edge is 109 columns left of the
// right-most marker column.
inline constexpr int kTimeAreaWidth = 110;  // right = left + 110 (inclusive column)
inline constexpr int kTimeAreaHeight = 25;
inline constexpr int kMarkerToLeftEdge = 109;

struct TimeArea {
    int left = 0;
    int top = 0;
    bool operator==(const TimeArea&) const = default;
};

// The right-most column holding a pure black pixel decides the time area: left = x - 109,
// top = that column's top-most black row. Nothing when the image holds no black pixel.
std::optional<TimeArea> FindTimeArea(const PixelGrid& background);

// One horizontal run of shape pixels: columns [left, right) of row y.
struct Run {
    int left = 0;
    int right = 0;
    int y = 0;
    bool operator==(const Run&) const = default;
};

// The runs of pixels whose colour differs from the top-left pixel's (the transparent colour),
// row by row, left to right. Empty for an empty image or one of a single colour.
std::vector<Run> ShapeRuns(const PixelGrid& background);

// The shape of a face shown at dpi (the skin's pixels are 96-DPI units): row y covers the rows
// [Scale(y), Scale(y + 1)), a run [left, right) the columns [Scale(left), Scale(right)); still
// row by row, left to right. The runs as they are at 96 DPI.
std::vector<Run> ScaleRuns(const std::vector<Run>& runs, int dpi);

// Glyph strip geometry: digits d at 15 * d, the colon and the blank for a one-digit hour.
inline constexpr int kGlyphHeight = 25;
inline constexpr int kDigitPitch = 15;
inline constexpr int kColonSourceX = 151;
inline constexpr int kColonWidth = 8;
inline constexpr int kBlankSourceX = 158;
inline constexpr int kBlankWidth = 16;

// One block copy from the glyph strip (sourceX, 0) to the time area (left + offsetX, top).
struct CellCopy {
    int offsetX = 0;
    int width = 0;
    int sourceX = 0;
    bool operator==(const CellCopy&) const = default;
};

inline constexpr std::size_t kCellCount = 8;
using CellPlan = std::array<CellCopy, kCellCount>;

// The eight copies that draw a time text of hours, minutes and seconds: "09:05:03" (8 or more
// characters, characters beyond the eighth ignored) or "9:05:03" (7 or fewer; the hour-tens
// cell gets the blank). Nothing when a digit position holds anything but a digit.
std::optional<CellPlan> PlanTimeCells(std::string_view text);

// Opacity of the clock window: 188 when nothing usable is stored, else the stored value
// brought into 100..255 so that the clock never fades out of sight.
inline constexpr int kDefaultOpacity = 188;
inline constexpr int kMinOpacity = 100;
inline constexpr int kMaxOpacity = 255;
int ClockOpacity(std::optional<std::int32_t> stored);

// Sizes a skin image must have to serve: a background holds the time area and stays a
// clock-sized window; a glyph strip holds every glyph.
bool BackgroundSizeUsable(int width, int height);
bool GlyphStripSizeUsable(int width, int height);

// Whether a bitmap file whose first bytes are `head` (at least the file and info headers) and
// whose size is fileSize holds all the pixel data its headers announce, in a layout the
// platform's loader reads: an uncompressed or bit-field image, or a run-length one whose stated
// size fits. The loader reads pixel data beyond the end of a cut file, so such a file is
// refused before it is loaded.
inline constexpr std::size_t kBitmapHeadBytes = 14 + 124;
bool BitmapFileComplete(std::string_view head, std::uint64_t fileSize);

// A stored image name is a bare file name in the skin directory: no directory part, no drive,
// not "." or "..". Anything else is treated as naming no file.
bool IsBareFileName(std::string_view name);

}  // namespace face
