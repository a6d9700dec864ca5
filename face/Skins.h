// The skin files of a directory: their recognition by pixel size, the numbered lists
// "BlackFile" and "TimeFile" under the Clock Skin key, and the random choice at start.
#pragma once
#include <windows.h>

#include <string>

#include "face/SkinRules.h"

namespace skins {

// Counts of the most recent scan (process-wide).
struct SkinCounts {
    int backgrounds = 0;
    int glyphStrips = 0;
};

// Lists directory + "\*.bmp" (normal, hidden and system files), loads each file as a bitmap to
// learn its size and sorts it by the size rules; a file that cannot be loaded is skipped.
// An empty directory makes the pattern "\*.bmp", the root of the current drive.
SkinLists ScanSkinDirectory(const std::string& directory);

// Writes the lists as values "1", "2", ... of "BlackFile" and "TimeFile"; values beyond the
// last number written are left as they were.
void WriteSkinLists(const SkinLists& lists);

// Scans "SkinPath" (Option key), rewrites both lists and sets the counts.
void EnumerateSkins();
SkinCounts LastSkinCounts();

// For "RndBackBmp" or "RndTimeBmp": when that option is on, scans the skin directory, picks
// one of the files found, each equally likely, and stores it as the image in use
// ("BmpBack"/"BmpTime", Load key) with its list position ("SelBackBmp"/"SelTimeBmp").
// Returns the number picked, or 0 when the option is off or the name is not one of the two.
int ApplyRandomSkinChoice(const char* optionName);
// The choice itself, from the list the last scan wrote with `count` entries: picks n from 1 to
// count, stores entry n as the image in use and n as its list position; returns n.
int StoreRandomChoice(const char* optionName, int count);

// Folder of the sample skins installed beside the programs.
inline constexpr const char* kSampleSkinFolder = "skins";

}  // namespace skins
