#include "face/Skins.h"

#include <cstring>
#include <optional>

#include "common/Handles.h"
#include "face/BitmapFile.h"
#include "common/Settings.h"
#include "common/SystemSeams.h"

namespace skins {
namespace {

SkinCounts g_counts;

// Pixel size of a bitmap file, or nothing when it holds no whole bitmap.
std::optional<SkinFile> MeasureBitmap(const std::string& path, const char* name) {
    const win::AutoBitmap bitmap = face::LoadBitmapFile(path);
    if (!bitmap) return std::nullopt;
    const SIZE size = face::BitmapSize(bitmap.get());
    if (size.cx <= 0 || size.cy <= 0) return std::nullopt;
    return SkinFile{name, static_cast<int>(size.cx), static_cast<int>(size.cy)};
}

class FindScope {
public:
    FindScope(const std::string& pattern, WIN32_FIND_DATAA* data) : h_(FindFirstFileA(pattern.c_str(), data)) {}
    FindScope(const FindScope&) = delete;
    FindScope& operator=(const FindScope&) = delete;
    ~FindScope() { if (h_ != INVALID_HANDLE_VALUE) FindClose(h_); }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    bool next(WIN32_FIND_DATAA* data) { return FindNextFileA(h_, data) != FALSE; }
private:
    HANDLE h_;
};

void WriteList(const char* key, const std::vector<std::string>& names) {
    for (std::size_t i = 0; i < names.size(); ++i)
        settings::WriteText(key, ListValueName(static_cast<int>(i) + 1).c_str(), names[i]);
}

SkinRandom& ProcessRandom() {
    static SkinRandom random = [] {
        LARGE_INTEGER counter{};
        QueryPerformanceCounter(&counter);
        const std::uint64_t clock = static_cast<std::uint64_t>(counter.QuadPart) ^ (sys::TickCount() << 20);
        return MakeSkinRandom(clock, GetCurrentProcessId());
    }();
    return random;
}

}  // namespace

SkinLists ScanSkinDirectory(const std::string& directory) {
    std::vector<SkinFile> files;
    WIN32_FIND_DATAA data{};
    // FindFirstFile returns hidden and system files as well as normal ones.
    FindScope find(directory + "\\*.bmp", &data);
    if (find.valid()) {
        do {
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            if (auto file = MeasureBitmap(directory + "\\" + data.cFileName, data.cFileName)) files.push_back(*file);
        } while (find.next(&data));
    }
    return SortSkins(files);
}

void WriteSkinLists(const SkinLists& lists) {
    WriteList(settings::kBackgroundListKey, lists.backgrounds);
    WriteList(settings::kGlyphListKey, lists.glyphStrips);
}

void EnumerateSkins() {
    g_counts = {};
    const SkinLists lists = ScanSkinDirectory(settings::ReadText(settings::kOptionKey, settings::kSkinPath));
    WriteSkinLists(lists);
    g_counts.backgrounds = static_cast<int>(lists.backgrounds.size());
    g_counts.glyphStrips = static_cast<int>(lists.glyphStrips.size());
}

SkinCounts LastSkinCounts() { return g_counts; }

int ApplyRandomSkinChoice(const char* optionName) {
    if (optionName == nullptr) return 0;
    const bool background = std::strcmp(optionName, settings::kRndBackBmp) == 0;
    const bool glyphs = std::strcmp(optionName, settings::kRndTimeBmp) == 0;
    if (!background && !glyphs) return 0;
    if (!settings::ReadFlag(settings::kOptionKey, optionName)) return 0;

    EnumerateSkins();
    return StoreRandomChoice(optionName, background ? g_counts.backgrounds : g_counts.glyphStrips);
}

int StoreRandomChoice(const char* optionName, int count) {
    const bool background = std::strcmp(optionName, settings::kRndBackBmp) == 0;
    const int n = PickSkinNumber(ProcessRandom(), count);
    const std::string name =
        settings::ReadText(background ? settings::kBackgroundListKey : settings::kGlyphListKey, ListValueName(n).c_str());
    settings::WriteText(settings::kLoadKey, background ? settings::kBmpBack : settings::kBmpTime, name);
    settings::WriteDword(settings::kOptionKey, background ? settings::kSelBackBmp : settings::kSelTimeBmp, n);
    return n;
}

}  // namespace skins
