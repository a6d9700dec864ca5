// Skin files of a real directory: recognition by size, the numbered registry lists, the
// random choice at start, and the start-with-the-system value.
#include "face/Skins.h"
#include "face/StartWithWindows.h"
#include "common/Handles.h"
#include "common/ProgramPath.h"
#include "common/Registry.h"
#include "common/Settings.h"
#include "tests/win/support/TestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using testing_support::MakeBmp;
using testing_support::TempDir;
using testing_support::WriteFileBytes;

void PutBitmap(const TempDir& dir, const std::string& name, int w, int h, COLORREF colour = RGB(40, 60, 90)) {
    ASSERT_TRUE(WriteFileBytes(dir.file(name), MakeBmp(w, h, [&](int, int) { return colour; }))) << name;
}

// Values "1", "2", ... of a list subkey, up to the first missing one.
std::vector<std::string> StoredList(const char* key) {
    std::vector<std::string> names;
    for (int n = 1;; ++n) {
        const registry::RegValue v = registry::RegReadValue(HKEY_CURRENT_USER, key, std::to_string(n));
        if (v.kind != registry::RegValue::Kind::Text) break;
        names.push_back(v.text);
    }
    return names;
}

// The .bmp files of a directory in the platform's listing order, kept only when in `wanted`.
std::vector<std::string> InListingOrder(const TempDir& dir, const std::set<std::string>& wanted) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data{};
    HANDLE h = FindFirstFileA((dir.path() + "\\*.bmp").c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        if (wanted.count(data.cFileName)) names.push_back(data.cFileName);
    } while (FindNextFileA(h, &data));
    FindClose(h);
    return names;
}

class SkinScanTest : public ::testing::Test {
protected:
    void SetUp() override { testing_support::ClearUserRegistry(); }
    void PointSkinPathAt(const TempDir& dir) {
        ASSERT_TRUE(settings::WriteText(settings::kOptionKey, settings::kSkinPath, dir.path()));
    }
};

TEST_F(SkinScanTest, SortsFilesBySizeIntoNumberedLists) {
    TempDir dir;
    struct File { const char* name; int w; int h; const char* list; };
    const File files[] = {
        {"a.bmp", 120, 38, "back"},     {"b.bmp", 200, 200, "back"},     {"t.bmp", 180, 25, "time"},
        {"narrow.bmp", 109, 38, ""},    {"wide.bmp", 201, 38, ""},       {"low.bmp", 120, 25, ""},
        {"high.bmp", 120, 201, ""},     {"smallest.bmp", 110, 26, "back"},
    };
    std::set<std::string> backs, times;
    for (const File& f : files) {
        PutBitmap(dir, f.name, f.w, f.h);
        if (std::string(f.list) == "back") backs.insert(f.name);
        if (std::string(f.list) == "time") times.insert(f.name);
    }
    // Hidden and system files count like any other.
    PutBitmap(dir, "hidden.bmp", 150, 50);
    SetFileAttributesA(dir.file("hidden.bmp").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    backs.insert("hidden.bmp");
    // Not bitmaps: a text file with the extension, and a folder named like a bitmap.
    ASSERT_TRUE(WriteFileBytes(dir.file("notes.bmp"), "not a picture"));
    ASSERT_TRUE(CreateDirectoryA(dir.file("folder.bmp").c_str(), nullptr));
    // A background cut after its first 200 bytes holds no whole bitmap.
    ASSERT_TRUE(WriteFileBytes(dir.file("cut.bmp"),
                               MakeBmp(160, 60, [](int, int) { return RGB(1, 2, 3); }).substr(0, 200)));
    // Another extension is not looked at.
    PutBitmap(dir, "other.dib", 120, 38);
    PointSkinPathAt(dir);

    skins::EnumerateSkins();

    EXPECT_EQ(StoredList(settings::kBackgroundListKey), InListingOrder(dir, backs));
    EXPECT_EQ(StoredList(settings::kGlyphListKey), InListingOrder(dir, times));
    EXPECT_EQ(skins::LastSkinCounts().backgrounds, 4);
    EXPECT_EQ(skins::LastSkinCounts().glyphStrips, 1);
    SetFileAttributesA(dir.file("hidden.bmp").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(SkinScanTest, SmallerSecondScanLeavesHigherEntries) {
    TempDir dir;
    PutBitmap(dir, "a.bmp", 120, 38);
    PutBitmap(dir, "b.bmp", 200, 200);
    PutBitmap(dir, "c.bmp", 130, 40);
    PointSkinPathAt(dir);
    skins::EnumerateSkins();
    const std::vector<std::string> first = StoredList(settings::kBackgroundListKey);
    ASSERT_EQ(first.size(), 3u);

    // Remove the file listed first: the two left are renumbered from "1", "3" stays.
    ASSERT_TRUE(DeleteFileA(dir.file(first[0]).c_str()));
    skins::EnumerateSkins();
    EXPECT_EQ(skins::LastSkinCounts().backgrounds, 2);
    const std::vector<std::string> second = StoredList(settings::kBackgroundListKey);
    ASSERT_EQ(second.size(), 3u);
    EXPECT_EQ(second[2], first[2]);
    EXPECT_EQ(std::set<std::string>(second.begin(), second.begin() + 2), std::set<std::string>(first.begin() + 1, first.end()));
}

TEST_F(SkinScanTest, MissingDirectoryFindsNothingAndKeepsLists) {
    ASSERT_TRUE(settings::WriteText(settings::kBackgroundListKey, "1", "old.bmp"));
    ASSERT_TRUE(settings::WriteText(settings::kOptionKey, settings::kSkinPath, "C:\\no\\such\\folder"));
    skins::EnumerateSkins();
    EXPECT_EQ(skins::LastSkinCounts().backgrounds, 0);
    EXPECT_EQ(skins::LastSkinCounts().glyphStrips, 0);
    EXPECT_EQ(StoredList(settings::kBackgroundListKey), std::vector<std::string>{"old.bmp"});
}

TEST_F(SkinScanTest, RandomChoiceIsUniformAndStoresTheMatchingName) {
    TempDir dir;
    PutBitmap(dir, "one.bmp", 120, 38);
    PutBitmap(dir, "two.bmp", 150, 60);
    PutBitmap(dir, "three.bmp", 200, 200);
    PutBitmap(dir, "strip.bmp", 180, 25);
    PointSkinPathAt(dir);
    ASSERT_TRUE(settings::WriteDword(settings::kOptionKey, settings::kRndBackBmp, 1));

    // A few whole starts: scan, choice and store together.
    std::set<int> seen;
    for (int i = 0; i < 40; ++i) seen.insert(skins::ApplyRandomSkinChoice(settings::kRndBackBmp));
    EXPECT_EQ(seen, (std::set<int>{1, 2, 3}));
    ASSERT_EQ(skins::LastSkinCounts().backgrounds, 3);

    // Many choices from the lists that scan left (a scan loads every file; thousands of them
    // would only measure the disk).
    const int draws = 3000;
    std::map<int, int> counts;
    for (int i = 0; i < draws; ++i) {
        const int n = skins::StoreRandomChoice(settings::kRndBackBmp, skins::LastSkinCounts().backgrounds);
        ASSERT_GE(n, 1);
        ASSERT_LE(n, 3);
        ++counts[n];
        ASSERT_EQ(settings::ReadNumberOr(settings::kOptionKey, settings::kSelBackBmp, -1), n);
        ASSERT_EQ(settings::ReadText(settings::kLoadKey, settings::kBmpBack),
                  settings::ReadText(settings::kBackgroundListKey, std::to_string(n).c_str()));
    }
    // Pearson's chi-square with 2 degrees of freedom; 13.82 is the bound at p = 0.001.
    double chi = 0;
    for (int n = 1; n <= 3; ++n) {
        const double expected = draws / 3.0;
        chi += (counts[n] - expected) * (counts[n] - expected) / expected;
    }
    EXPECT_LT(chi, 13.82) << counts[1] << " " << counts[2] << " " << counts[3];
    // The glyph strip was not touched: its option is off.
    EXPECT_EQ(settings::ReadText(settings::kLoadKey, settings::kBmpTime), "");
}

TEST_F(SkinScanTest, RandomChoiceCases) {
    TempDir dir;
    PutBitmap(dir, "strip.bmp", 180, 25);
    PointSkinPathAt(dir);
    struct Case { const char* what; const char* option; bool on; const char* leftover; int n; const char* name; };
    const Case cases[] = {
        {"option off: nothing chosen", settings::kRndTimeBmp, false, "", 0, ""},
        {"one glyph strip", settings::kRndTimeBmp, true, "", 1, "strip.bmp"},
        {"no backgrounds: entry 1 left from earlier", settings::kRndBackBmp, true, "gone.bmp", 1, "gone.bmp"},
        {"no backgrounds and no list: empty name", settings::kRndBackBmp, true, nullptr, 1, ""},
        {"not a random option", settings::kWindowpos, true, "", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testing_support::ClearUserRegistry();
        PointSkinPathAt(dir);
        if (c.leftover && *c.leftover) settings::WriteText(settings::kBackgroundListKey, "1", c.leftover);
        settings::WriteDword(settings::kOptionKey, c.option, c.on ? 1 : 0);
        EXPECT_EQ(skins::ApplyRandomSkinChoice(c.option), c.n);
        if (c.n == 0) continue;
        const bool back = std::string(c.option) == settings::kRndBackBmp;
        EXPECT_EQ(settings::ReadText(settings::kLoadKey, back ? settings::kBmpBack : settings::kBmpTime), c.name);
        EXPECT_EQ(settings::ReadNumberOr(settings::kOptionKey, back ? settings::kSelBackBmp : settings::kSelTimeBmp, -1),
                  c.n);
    }
}

TEST_F(SkinScanTest, SampleSkinsBesideTheProgramsAreRecognised) {
    const std::string folder = paths::ProgramDirectory() + "\\" + skins::kSampleSkinFolder;
    const skins::SkinLists lists = skins::ScanSkinDirectory(folder);
    EXPECT_EQ(std::set<std::string>(lists.backgrounds.begin(), lists.backgrounds.end()),
              (std::set<std::string>{"capsule.bmp", "disc.bmp"}));
    EXPECT_EQ(lists.glyphStrips, std::vector<std::string>{"amber.bmp"});
}

// ---- start with the system ----

class StartWithSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::ClearUserRegistry();
        // The machine-wide root is stood in for by a key of the private user registry.
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "MachineStandIn", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &machine_, nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        RegCloseKey(machine_);
    }
    static std::string RunValue(HKEY root) {
        const registry::RegValue v = registry::RegReadValue(root, settings::kRunKey, settings::kRunValue);
        // A missing key reads as empty text, a missing value as nothing.
        return v.kind == registry::RegValue::Kind::Text && !v.text.empty() ? v.text : "<none>";
    }
    HKEY machine_ = nullptr;
    // A root under which every write is refused, as HKEY_LOCAL_MACHINE is for most users (the
    // registry here does not enforce access rights, so a handle that names no key stands in).
    HKEY refused_ = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x7ffe0000));
};

TEST_F(StartWithSystemTest, MachineWideWhenAllowed) {
    const skins::RunRoots roots{machine_, HKEY_CURRENT_USER};
    settings::WriteText(settings::kRunKey, settings::kRunValue, "stale");
    EXPECT_EQ(skins::SetStartWithSystem(true, "C:\\Zentaro\\zentaro.exe", roots), skins::RunValuePlace::Machine);
    EXPECT_EQ(RunValue(machine_), "C:\\Zentaro\\zentaro.exe");
    EXPECT_EQ(RunValue(HKEY_CURRENT_USER), "<none>");  // not started twice
}

TEST_F(StartWithSystemTest, CurrentUserWhenMachineWideIsRefused) {
    const skins::RunRoots roots{refused_, HKEY_CURRENT_USER};
    EXPECT_EQ(skins::SetStartWithSystem(true, "C:\\Program Files\\Zentaro\\zentaro.exe", roots),
              skins::RunValuePlace::User);
    EXPECT_EQ(RunValue(HKEY_CURRENT_USER), "\"C:\\Program Files\\Zentaro\\zentaro.exe\"");

    EXPECT_EQ(skins::SetStartWithSystem(false, "", roots), skins::RunValuePlace::None);
    EXPECT_EQ(RunValue(HKEY_CURRENT_USER), "<none>");
}

TEST_F(StartWithSystemTest, SwitchingOffRemovesBothAndIsSilentWithoutValues) {
    const skins::RunRoots roots{machine_, HKEY_CURRENT_USER};
    settings::WriteText(settings::kRunKey, settings::kRunValue, "x");
    std::string v = "y";
    ASSERT_TRUE(registry::RegWriteValue(machine_, settings::kRunKey, settings::kRunValue, REG_SZ, v));
    skins::SetStartWithSystem(false, "", roots);
    EXPECT_EQ(RunValue(machine_), "<none>");
    EXPECT_EQ(RunValue(HKEY_CURRENT_USER), "<none>");
    skins::SetStartWithSystem(false, "", roots);  // nothing there: no change, no report
    EXPECT_EQ(RunValue(machine_), "<none>");
}

}  // namespace
