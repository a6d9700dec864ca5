#include "face/SkinRules.h"

namespace skins {

SkinKind ClassifySkin(int width, int height) {
    if (width == kGlyphStripWidth && height == kGlyphStripHeight) return SkinKind::GlyphStrip;
    if (width >= kBackgroundMinWidth && width <= kBackgroundMaxWidth && height >= kBackgroundMinHeight &&
        height <= kBackgroundMaxHeight)
        return SkinKind::Background;
    return SkinKind::None;
}

SkinLists SortSkins(const std::vector<SkinFile>& files) {
    SkinLists lists;
    for (const SkinFile& f : files) {
        switch (ClassifySkin(f.width, f.height)) {
        case SkinKind::Background: lists.backgrounds.push_back(f.name); break;
        case SkinKind::GlyphStrip: lists.glyphStrips.push_back(f.name); break;
        case SkinKind::None: break;
        }
    }
    return lists;
}

std::string ListValueName(int n) { return std::to_string(n); }

SkinRandom MakeSkinRandom(std::uint64_t clockReading, std::uint64_t processId) {
    std::random_device device;
    std::seed_seq seed{static_cast<std::uint32_t>(device()),
                       static_cast<std::uint32_t>(device()),
                       static_cast<std::uint32_t>(clockReading),
                       static_cast<std::uint32_t>(clockReading >> 32),
                       static_cast<std::uint32_t>(processId),
                       static_cast<std::uint32_t>(processId >> 32)};
    return SkinRandom(seed);
}

int PickSkinNumber(SkinRandom& random, int count) {
    if (count <= 1) return 1;
    // The distribution rejects the generator's surplus values, so no number is favoured (a
    // plain remainder would favour the low ones).
    std::uniform_int_distribution<int> pick(1, count);
    return pick(random);
}

int HalfRoundedToEven(int value) {
    // value / 2 is exact or lies halfway between two integers; a half goes to the even one.
    const int floorHalf = value >= 0 ? value / 2 : -((-value + 1) / 2);
    const bool isHalf = (value % 2) != 0;
    if (!isHalf) return floorHalf;
    return (floorHalf % 2 == 0) ? floorHalf : floorHalf + 1;
}

Point PreviewOrigin(int width, int height) {
    return {HalfRoundedToEven(2 * kPreviewCentreX - width), HalfRoundedToEven(2 * kPreviewCentreY - height)};
}

std::string RunCommandFor(const std::string& programPath) {
    if (programPath.find(' ') == std::string::npos) return programPath;
    if (programPath.size() >= 2 && programPath.front() == '"' && programPath.back() == '"') return programPath;
    return "\"" + programPath + "\"";
}

}  // namespace skins
