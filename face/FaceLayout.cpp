#include "face/FaceLayout.h"

#include "common/DpiScale.h"

#include <algorithm>

namespace face {

namespace {

// The cells of the time area, left to right: x offset and width.
struct CellSlot {
    int offsetX;
    int width;
};
constexpr std::array<CellSlot, kCellCount> kSlots{{
    {0, 16},   // hour tens
    {16, 16},  // hour units
    {32, 8},   // first colon
    {40, 16},  // minute tens
    {56, 16},  // minute units
    {72, 8},   // second colon
    {80, 15},  // second tens: one column narrower, so the units start at 95
    {95, 16},  // second units
}};

constexpr int kNoCharacter = -1;
constexpr int kColonCell = -2;

// Which character (counted from 0) each cell shows, for the two text lengths.
constexpr std::array<int, kCellCount> kLongTextChars{0, 1, kColonCell, 3, 4, kColonCell, 6, 7};
constexpr std::array<int, kCellCount> kShortTextChars{kNoCharacter, 0, kColonCell, 2, 3, kColonCell, 5, 6};

constexpr std::size_t kLongTextLength = 8;

// Background sizes the skin lists accept; the loader holds every face to them.
constexpr int kMinBackgroundWidth = 110, kMaxBackgroundWidth = 200;
constexpr int kMinBackgroundHeight = 26, kMaxBackgroundHeight = 200;
constexpr int kMinGlyphStripWidth = kBlankSourceX + kBlankWidth;
constexpr int kMaxGlyphStripSide = 2000;

}  // namespace

std::optional<TimeArea> FindTimeArea(const PixelGrid& background) {
    for (int x = background.width - 1; x >= 0; --x)
        for (int y = 0; y < background.height; ++y)
            if (background.at(x, y) == kTimeMarkerColour) return TimeArea{x - kMarkerToLeftEdge, y};
    return std::nullopt;
}

std::vector<Run> ShapeRuns(const PixelGrid& background) {
    std::vector<Run> runs;
    if (background.width <= 0 || background.height <= 0) return runs;
    const std::uint32_t transparent = background.at(0, 0);
    for (int y = 0; y < background.height; ++y) {
        const std::uint32_t* row = &background.pixels[static_cast<std::size_t>(y) * background.width];
        int x = 0;
        while (x < background.width) {
            while (x < background.width && row[x] == transparent) ++x;
            if (x == background.width) break;
            const int start = x;
            while (x < background.width && row[x] != transparent) ++x;
            runs.push_back({start, x, y});
        }
    }
    return runs;
}

std::optional<CellPlan> PlanTimeCells(std::string_view text) {
    const auto& chars = text.size() >= kLongTextLength ? kLongTextChars : kShortTextChars;
    CellPlan plan{};
    for (std::size_t i = 0; i < kCellCount; ++i) {
        const CellSlot slot = kSlots[i];
        const int which = chars[i];
        if (which == kColonCell) {
            plan[i] = {slot.offsetX, kColonWidth, kColonSourceX};
        } else if (which == kNoCharacter) {
            plan[i] = {slot.offsetX, kBlankWidth, kBlankSourceX};
        } else {
            const auto index = static_cast<std::size_t>(which);
            if (index >= text.size() || text[index] < '0' || text[index] > '9') return std::nullopt;
            plan[i] = {slot.offsetX, slot.width, kDigitPitch * (text[index] - '0')};
        }
    }
    return plan;
}

int ClockOpacity(std::optional<std::int32_t> stored) {
    if (!stored) return kDefaultOpacity;
    if (*stored < kMinOpacity) return kMinOpacity;
    if (*stored > kMaxOpacity) return kMaxOpacity;
    return *stored;
}

bool BackgroundSizeUsable(int width, int height) {
    return width >= kMinBackgroundWidth && width <= kMaxBackgroundWidth && height >= kMinBackgroundHeight &&
           height <= kMaxBackgroundHeight;
}

bool GlyphStripSizeUsable(int width, int height) {
    return width >= kMinGlyphStripWidth && height >= kGlyphHeight && width <= kMaxGlyphStripSide &&
           height <= kMaxGlyphStripSide;
}

namespace {

std::uint32_t Le(std::string_view b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    return v;
}

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::uint32_t kCoreHeaderBytes = 12;
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kLargestHeaderBytes = 124;
constexpr std::int64_t kLargestSide = 1 << 16;
enum : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3 };

}  // namespace

bool BitmapFileComplete(std::string_view head, std::uint64_t fileSize) {
    if (head.size() < kFileHeaderBytes + kCoreHeaderBytes || head[0] != 'B' || head[1] != 'M') return false;
    const std::uint64_t pixelsAt = Le(head, 10, 4);
    const std::uint32_t headerBytes = Le(head, 14, 4);
    std::int64_t width = 0, height = 0;
    std::uint32_t bits = 0, compression = kRgb, statedSize = 0;
    if (headerBytes == kCoreHeaderBytes) {
        width = Le(head, 18, 2);
        height = Le(head, 20, 2);
        bits = Le(head, 24, 2);
    } else if (headerBytes >= kInfoHeaderBytes && headerBytes <= kLargestHeaderBytes &&
               head.size() >= kFileHeaderBytes + kInfoHeaderBytes) {
        width = static_cast<std::int32_t>(Le(head, 18, 4));
        height = static_cast<std::int32_t>(Le(head, 22, 4));
        bits = Le(head, 28, 2);
        compression = Le(head, 30, 4);
        statedSize = Le(head, 34, 4);
    } else {
        return false;
    }
    if (height < 0) height = -height;
    if (width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide) return false;
    if (pixelsAt < kFileHeaderBytes + headerBytes || pixelsAt > fileSize) return false;
    const std::uint64_t available = fileSize - pixelsAt;
    switch (compression) {
    case kRgb:
    case kBitFields: {
        if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
        if (compression == kBitFields && bits != 16 && bits != 32) return false;
        const std::uint64_t stride = ((static_cast<std::uint64_t>(width) * bits + 31) / 32) * 4;
        return stride * static_cast<std::uint64_t>(height) <= available;
    }
    case kRle8:
    case kRle4:
        return statedSize > 0 && statedSize <= available;
    default:
        return false;  // embedded JPEG or PNG and anything else
    }
}

bool IsBareFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    return name.find_first_of("\\/:") == std::string_view::npos;
}

std::vector<Run> ScaleRuns(const std::vector<Run>& runs, int dpi) {
    if (dpi::Scale(1000, dpi) == 1000) return runs;
    std::vector<Run> out;
    for (std::size_t start = 0; start < runs.size();) {
        std::size_t end = start;
        while (end < runs.size() && runs[end].y == runs[start].y) ++end;
        const int y = runs[start].y;
        for (int row = dpi::Scale(y, dpi); row < dpi::Scale(y + 1, dpi); ++row)
            for (std::size_t i = start; i < end; ++i)
                out.push_back({dpi::Scale(runs[i].left, dpi), dpi::Scale(runs[i].right, dpi), row});
        start = end;
    }
    return out;
}

}  // namespace face
