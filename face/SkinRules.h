// Which bitmap files are skins, how a random skin is picked, and where the options dialog
// puts things. Pure logic: no platform headers.
#pragma once
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace skins {

// Size rules of the skin directory's files.
inline constexpr int kBackgroundMinWidth = 110;
inline constexpr int kBackgroundMaxWidth = 200;
inline constexpr int kBackgroundMinHeight = 26;
inline constexpr int kBackgroundMaxHeight = 200;
inline constexpr int kGlyphStripWidth = 180;
inline constexpr int kGlyphStripHeight = 25;

enum class SkinKind { None, Background, GlyphStrip };

// The kind a bitmap of this pixel size is; the two kinds cannot overlap.
SkinKind ClassifySkin(int width, int height);

// One file of a directory listing, with the size of the bitmap it holds.
struct SkinFile {
    std::string name;
    int width = 0;
    int height = 0;
};

// The skin lists as a scan writes them: bare file names in listing order; entry k of a list
// is stored under the registry value named k + 1.
struct SkinLists {
    std::vector<std::string> backgrounds;
    std::vector<std::string> glyphStrips;
};

SkinLists SortSkins(const std::vector<SkinFile>& files);

// The name of a list's registry value for the 1-based number n ("1", "2", ...).
std::string ListValueName(int n);

// The random generator of the skin choice: one per process, seeded from several sources of
// entropy (the platform's random device, a high-resolution clock reading, the process id) so
// two starts in the same second still choose independently.
using SkinRandom = std::mt19937_64;
SkinRandom MakeSkinRandom(std::uint64_t clockReading, std::uint64_t processId);

// A number from 1 to count, each equally likely; 1 when count is 0 or less (the list's first
// entry, which may be left from an earlier scan).
int PickSkinNumber(SkinRandom& random, int count);

// value / 2 rounded to the nearest integer, halves to the even one (the preview's placement).
int HalfRoundedToEven(int value);

// Options dialog geometry: the original 450 x 330, grown by the row of the wake option and
// the line under it.
inline constexpr int kOptionsDialogWidth = 450;
inline constexpr int kOptionsDialogHeight = 412;
// The preview centres a background on this point of the dialog's client area.
inline constexpr int kPreviewCentreX = 325;
inline constexpr int kPreviewCentreY = 165;

struct Point {
    int x = 0;
    int y = 0;
};

// Top-left corner at which the preview draws a background of this size.
Point PreviewOrigin(int width, int height);

// The text of the start-with-the-system value for a program path: quoted when it contains
// a blank, so the system does not split it at the blank.
std::string RunCommandFor(const std::string& programPath);

}  // namespace skins
