// The registry operations and the typed settings layer, against the real registry (a private
// HKEY_CURRENT_USER per test process).
#include "common/Registry.h"
#include "common/Settings.h"
#include "tests/win/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char* const kKey = "Software\\Zentaro\\Load";

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override { testing_support::ClearUserRegistry(); }

    // Stores raw bytes with any type, bypassing the operations under test.
    static void PutRaw(const char* name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
        RegCloseKey(key);
    }
    // The byte length as stored (RegQueryValueExA reports it without adding a terminator).
    static DWORD StoredSize(const char* name, DWORD* type) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0xFFFFFFFF;
        DWORD size = 0;
        const LONG rc = RegQueryValueExA(key, name, nullptr, type, nullptr, &size);
        RegCloseKey(key);
        return rc == ERROR_SUCCESS ? size : 0xFFFFFFFF;
    }
};

TEST_F(SettingsStoreTest, FreshProfileGivesEveryDefault) {
    using namespace settings;
    for (const char* name : {kSkinPath, kSelBackBmp, kSelTimeBmp, kRndBackBmp, kRndTimeBmp, kWindowpos, kAutoRun,
                             kIconRun}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ReadText(kOptionKey, name), "");
        EXPECT_FALSE(ReadNumber(kOptionKey, name).has_value());
        EXPECT_FALSE(ReadFlag(kOptionKey, name));
    }
    for (const char* name : {kBmpBack, kBmpTime, kClockLeft, kClockTop, kAlpha, kHourRing, kWavFile}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ReadText(kLoadKey, name), "");
        EXPECT_FALSE(ReadNumber(kLoadKey, name).has_value());
    }
    EXPECT_EQ(ReadNumberOr(kLoadKey, kAlpha, kDefaultAlpha), 188);
    // A missing key reads as empty text; a missing value under an existing key as nothing.
    EXPECT_EQ(registry::RegReadValue(HKEY_CURRENT_USER, kLoadKey, kAlpha).kind, registry::RegValue::Kind::Text);
    ASSERT_TRUE(WriteText(kLoadKey, kBmpBack, "Default"));
    EXPECT_EQ(registry::RegReadValue(HKEY_CURRENT_USER, kLoadKey, kAlpha).kind, registry::RegValue::Kind::Nothing);
}

TEST_F(SettingsStoreTest, TextIsWrittenWithItsOwnLengthAndReadsBackExactly) {
    std::string value = "ring.wav";
    ASSERT_TRUE(registry::RegWriteValue(HKEY_CURRENT_USER, kKey, "WavFile", REG_SZ, value));
    // The write hands over the text's own length, 8. The platform (NT and Wine alike) also
    // counts a zero that directly follows the data in memory, so the value is stored terminated.
    DWORD type = 0;
    EXPECT_EQ(StoredSize("WavFile", &type), 9u);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(registry::RegReadValue(HKEY_CURRENT_USER, kKey, "WavFile").text, "ring.wav");

    std::string empty;
    ASSERT_TRUE(registry::RegWriteValue(HKEY_CURRENT_USER, kKey, "Empty", REG_SZ, empty));
    EXPECT_LE(StoredSize("Empty", &type), 1u);
    EXPECT_EQ(registry::RegReadValue(HKEY_CURRENT_USER, kKey, "Empty").kind, registry::RegValue::Kind::Text);
}

TEST_F(SettingsStoreTest, DwordWritesConvertAndHandTheIntegerBack) {
    struct { const char* in; const char* back; } cases[] = {{"255", "255"}, {" -7 ", "-7"}, {"abc", "0"}, {"12abc", "0"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        std::string value = c.in;
        ASSERT_TRUE(registry::RegWriteValue(HKEY_CURRENT_USER, kKey, "Alpha", REG_DWORD, value));
        EXPECT_EQ(value, c.back);
        DWORD type = 0;
        EXPECT_EQ(StoredSize("Alpha", &type), 4u);
        EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
        EXPECT_EQ(registry::RegReadValue(HKEY_CURRENT_USER, kKey, "Alpha").text, c.back);
    }
    std::string other = "x";
    EXPECT_TRUE(registry::RegWriteValue(HKEY_CURRENT_USER, kKey, "Other", REG_MULTI_SZ, other));
    EXPECT_EQ(registry::RegReadValue(HKEY_CURRENT_USER, kKey, "Other").kind, registry::RegValue::Kind::Nothing);
}

TEST_F(SettingsStoreTest, EveryStoredTypeReadsToADefinedResult) {
    const DWORD one = 1;
    const unsigned long long big = 5;
    const unsigned short two = 1;
    const unsigned char record[11] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    PutRaw("Dword", REG_DWORD, &one, 4);
    PutRaw("DwordShort", REG_DWORD, &two, 2);
    PutRaw("DwordLong", REG_DWORD, &big, 8);
    PutRaw("Qword", REG_QWORD, &big, 8);
    PutRaw("Multi", REG_MULTI_SZ, "a\0b\0", 5);
    PutRaw("Expand", REG_EXPAND_SZ, "%TEMP%", 7);
    PutRaw("Binary", REG_BINARY, record, sizeof record);
    const DWORD minus = 0xFFFFFFFF;
    PutRaw("Minus", REG_DWORD, &minus, 4);

    EXPECT_EQ(registry::RegReadValue(HKEY_CURRENT_USER, kKey, "Dword").text, "1");
    EXPECT_EQ(registry::RegReadValue(HKEY_CURRENT_USER, kKey, "Minus").text, "-1");
    for (const char* name : {"DwordShort", "DwordLong", "Qword", "Multi", "Expand", "Missing"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(registry::RegReadValue(HKEY_CURRENT_USER, kKey, name).kind, registry::RegValue::Kind::Nothing);
        EXPECT_EQ(registry::RegReadValue(HKEY_CURRENT_USER, kKey, name).TextOrEmpty(), "");
    }
    const registry::RegValue bin = registry::RegReadValue(HKEY_CURRENT_USER, kKey, "Binary");
    ASSERT_EQ(bin.kind, registry::RegValue::Kind::Bytes);
    EXPECT_EQ(bin.bytes, std::vector<unsigned char>(record, record + 11));
    // "HourRing" as REG_DWORD 1 is the number 1 to every reader.
    PutRaw("HourRing", REG_DWORD, &one, 4);
    EXPECT_EQ(settings::ReadNumber(settings::kLoadKey, settings::kHourRing), 1);
}

TEST_F(SettingsStoreTest, LongAndUnterminatedTextsAreCutAt1023Characters) {
    struct { const char* what; std::size_t length; bool terminated; } cases[] = {
        {"1023 with zero", 1023, true},
        {"1024 without zero", 1024, false},
        {"1024 with zero (needs more than the first buffer)", 1024, true},
        {"5000 without zero", 5000, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string text(c.length, 'x');
        text[0] = 'A';
        PutRaw("Long", REG_SZ, text.c_str(), static_cast<DWORD>(c.length + (c.terminated ? 1 : 0)));
        const registry::RegValue v = registry::RegReadValue(HKEY_CURRENT_USER, kKey, "Long");
        ASSERT_EQ(v.kind, registry::RegValue::Kind::Text);
        EXPECT_EQ(v.text, text.substr(0, 1023));
    }
    std::vector<unsigned char> large(4000, 7);
    PutRaw("LargeBinary", REG_BINARY, large.data(), static_cast<DWORD>(large.size()));
    EXPECT_EQ(registry::RegReadValue(HKEY_CURRENT_USER, kKey, "LargeBinary").bytes, large);
}

TEST_F(SettingsStoreTest, NonNumericValuesTakeTheDefault) {
    using namespace settings;
    struct { const char* stored; std::int32_t expected; } cases[] = {
        {"abc", 188}, {"", 188}, {"12abc", 188}, {"1e9", 188}, {"4294967296", 188}, {" 200 ", 200}, {"-5", -5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        ASSERT_TRUE(WriteText(kLoadKey, kAlpha, c.stored));
        EXPECT_EQ(ReadNumberOr(kLoadKey, kAlpha, kDefaultAlpha), c.expected);
    }
    ASSERT_TRUE(WriteDword(kOptionKey, kIconRun, 1));
    EXPECT_TRUE(ReadFlag(kOptionKey, kIconRun));
    ASSERT_TRUE(WriteDword(kOptionKey, kIconRun, 0));
    EXPECT_FALSE(ReadFlag(kOptionKey, kIconRun));
}

TEST_F(SettingsStoreTest, DeletesIgnoreWhatIsNotThere) {
    ASSERT_TRUE(settings::WriteText(settings::kBackgroundListKey, "1", "a.bmp"));
    registry::RegDeleteNamedValue(HKEY_CURRENT_USER, settings::kBackgroundListKey, "1");
    EXPECT_EQ(registry::RegReadValue(HKEY_CURRENT_USER, settings::kBackgroundListKey, "1").kind, registry::RegValue::Kind::Nothing);
    registry::RegDeleteNamedValue(HKEY_CURRENT_USER, settings::kBackgroundListKey, "1");  // again: nothing happens
    registry::RegDeleteNamedValue(HKEY_CURRENT_USER, "Software\\Zentaro\\Nowhere", "1");

    registry::RegDeleteSubKey(HKEY_CURRENT_USER, settings::kSkinKey, "BlackFile");
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, settings::kBackgroundListKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    registry::RegDeleteSubKey(HKEY_CURRENT_USER, settings::kSkinKey, "BlackFile");
    // Switching a Run value off when none exists changes nothing.
    registry::RegDeleteNamedValue(HKEY_CURRENT_USER, settings::kRunKey, settings::kRunValue);
}

}  // namespace
