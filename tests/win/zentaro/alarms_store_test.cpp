// The alarm items in the registry (a private HKEY_CURRENT_USER per test process): the store
// operations and loading the scheduler's copy, including damaged and hostile stores.
#include "alarms/AlarmStore.h"
#include "alarms/Scheduler.h"
#include "common/Registry.h"
#include "common/Settings.h"
#include "common/Utf8Text.h"
#include "tests/win/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using alarms::AlarmItem;
const char* const kKey = "Software\\Zentaro\\Data";

AlarmItem MakeItem(int tag, const std::string& text = {}, const std::string& exe = {}) {
    AlarmItem item;
    item.itemState = 1;
    item.notifyMode = alarms::kNotifyText;
    item.timeMode = alarms::kTimeDaily;
    item.hour = static_cast<std::uint8_t>(tag);
    item.minute = static_cast<std::uint8_t>(tag + 1);
    item.SetYear(2005);
    item.month = 6;
    item.wDay = 15;
    item.notifyText = text;
    item.runExe = exe;
    return item;
}

class AlarmStoreTest : public ::testing::Test {
protected:
    void SetUp() override { testing_support::ClearUserRegistry(); }

    static void PutRaw(const std::string& name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
        RegCloseKey(key);
    }
    static void PutCount(DWORD count) { PutRaw("DataCount", REG_DWORD, &count, sizeof count); }
    static bool Exists(const std::string& name) {
        return registry::RegReadValue(HKEY_CURRENT_USER, kKey, name).kind != registry::RegValue::Kind::Nothing;
    }
    static std::vector<unsigned char> Bytes(const std::string& name) {
        return registry::RegReadValue(HKEY_CURRENT_USER, kKey, name).bytes;
    }
    static std::string Text(const std::string& name) { return settings::ReadText(kKey, name.c_str()); }
    static std::string Count() { return Text("DataCount"); }
};

TEST_F(AlarmStoreTest, AppendWritesCountRecordAndOnlyNonEmptyTexts) {
    for (int tag = 1; tag <= 10; ++tag) EXPECT_EQ(alarms::AppendAlarmItem(MakeItem(tag, tag == 10 ? "ten" : "")), tag);
    EXPECT_EQ(Count(), "10");
    DWORD type = 0, size = 0;
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExA(key, "Data10", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExA(key, "DataCount", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    RegCloseKey(key);
    EXPECT_EQ(Bytes("Data10"), (std::vector<unsigned char>{1, 1, 2, 0, 10, 11, 20, 5, 6, 15, 0}));
    EXPECT_EQ(Text("Text10"), "ten");
    for (const char* name : {"Text9", "RunExe10", "WavFile10", "Parameters10", "Data010", "Data11"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(Exists(name));
    }
    bool valid = false;
    EXPECT_EQ(alarms::ReadAlarmItem(10, &valid), MakeItem(10, "ten"));
    EXPECT_TRUE(valid);
    EXPECT_EQ(alarms::ReadAlarmItem(10).YearText(), "2005");
}

TEST_F(AlarmStoreTest, WriteOverwritesAndClearedTextsAreDeleted) {
    alarms::AppendAlarmItem(MakeItem(1, "hint", "C:\\Tools\\run.exe"));
    alarms::AppendAlarmItem(MakeItem(2, "other"));
    AlarmItem changed = MakeItem(7);
    changed.wavFile = "C:\\Sounds\\ring.wav";
    EXPECT_TRUE(alarms::WriteAlarmItem(1, changed));
    EXPECT_EQ(alarms::ReadAlarmItem(1), changed);
    EXPECT_FALSE(Exists("Text1"));
    EXPECT_FALSE(Exists("RunExe1"));
    EXPECT_EQ(Count(), "2");
    EXPECT_EQ(Text("Text2"), "other");
    // A number the store does not hold is not created.
    EXPECT_FALSE(alarms::WriteAlarmItem(3, changed));
    EXPECT_FALSE(alarms::WriteAlarmItem(0, changed));
    EXPECT_FALSE(Exists("Data3"));
    EXPECT_EQ(Count(), "2");
}

TEST_F(AlarmStoreTest, StateChangesByteZeroOnly) {
    alarms::AppendAlarmItem(MakeItem(3, "x"));
    const std::vector<unsigned char> before = Bytes("Data1");
    alarms::SetAlarmItemState(1, 0);
    std::vector<unsigned char> after = Bytes("Data1");
    ASSERT_EQ(after.size(), 11u);
    EXPECT_EQ(after[0], 0);
    after[0] = before[0];
    EXPECT_EQ(after, before);
    alarms::SetAlarmItemState(1, 1);
    EXPECT_EQ(Bytes("Data1"), before);
    // A missing record is not invented.
    alarms::SetAlarmItemState(2, 1);
    EXPECT_FALSE(Exists("Data2"));
}

TEST_F(AlarmStoreTest, Deleting) {
    struct Case {
        const char* what;
        int items, deleted;
        std::vector<int> remaining;  // tags of items 1..N afterwards
    } cases[] = {
        {"item 2 of 5: item 5 moves into 2", 5, 2, {1, 5, 3, 4}},
        {"the last of 5: nothing moves", 5, 5, {1, 2, 3, 4}},
        {"the first of 4", 4, 1, {4, 2, 3}},
        {"the only item", 1, 1, {}},
        {"number 0: nothing happens", 3, 0, {1, 2, 3}},
        {"beyond the count: nothing happens", 3, 4, {1, 2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testing_support::ClearUserRegistry();
        // Odd tags carry a reminder text, even ones a program: the moved item's texts must
        // replace the deleted item's entirely.
        for (int tag = 1; tag <= c.items; ++tag)
            alarms::AppendAlarmItem(tag % 2 ? MakeItem(tag, "t" + std::to_string(tag))
                                           : MakeItem(tag, "", "p" + std::to_string(tag)));
        alarms::DeleteAlarmItem(c.deleted);
        EXPECT_EQ(Count(), std::to_string(c.remaining.size()));
        for (std::size_t i = 0; i < c.remaining.size(); ++i) {
            const int n = static_cast<int>(i) + 1, tag = c.remaining[i];
            SCOPED_TRACE(n);
            const AlarmItem expected =
                tag % 2 ? MakeItem(tag, "t" + std::to_string(tag)) : MakeItem(tag, "", "p" + std::to_string(tag));
            EXPECT_EQ(alarms::ReadAlarmItem(n), expected);
            EXPECT_EQ(Exists("Text" + std::to_string(n)), tag % 2 == 1);
            EXPECT_EQ(Exists("RunExe" + std::to_string(n)), tag % 2 == 0);
        }
        const std::string gone = std::to_string(c.remaining.size() + 1);
        for (const char* prefix : {"Data", "Text", "RunExe", "WavFile", "Parameters"}) {
            EXPECT_FALSE(Exists(prefix + gone)) << prefix << gone;
        }
    }
}

TEST_F(AlarmStoreTest, HostileCounts) {
    struct Case {
        const char* what;
        DWORD type;
        std::string data;  // raw bytes
        int count;
    } cases[] = {
        {"missing", REG_NONE, "", 0},
        {"text abc", REG_SZ, std::string("abc", 4), 0},
        {"text 3", REG_SZ, std::string("3", 2), 3},
        {"-5", REG_DWORD, std::string("\xFB\xFF\xFF\xFF", 4), 0},
        {"0x7fffffff", REG_DWORD, std::string("\xFF\xFF\xFF\x7F", 4), 32767},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testing_support::ClearUserRegistry();
        if (c.type != REG_NONE) PutRaw("DataCount", c.type, c.data.data(), static_cast<DWORD>(c.data.size()));
        EXPECT_EQ(alarms::StoredItemCount(), c.count);
    }
    // A full store takes no more items.
    PutCount(32767);
    EXPECT_EQ(alarms::AppendAlarmItem(MakeItem(1)), 0);
    EXPECT_EQ(Count(), "32767");
    EXPECT_FALSE(Exists("Data32768"));
}

TEST_F(AlarmStoreTest, DamagedItemLoadsDisabledInItsPlace) {
    for (int tag = 1; tag <= 5; ++tag) alarms::AppendAlarmItem(MakeItem(tag, "t" + std::to_string(tag)));
    PutRaw("Data2", REG_SZ, "not a record", 13);
    const unsigned char shortRecord[10] = {1, 1, 2, 0, 7, 30, 20, 5, 6, 15};
    PutRaw("Data3", REG_BINARY, shortRecord, sizeof shortRecord);
    const unsigned char longRecord[14] = {1, 1, 2, 0, 4, 5, 20, 5, 6, 15, 0, 9, 9, 9};
    PutRaw("Data4", REG_BINARY, longRecord, sizeof longRecord);
    registry::RegDeleteNamedValue(HKEY_CURRENT_USER, kKey, "Data5");

    alarms::LoadAlarmItems();
    ASSERT_EQ(alarms::LoadedItemCount(), 5);
    const alarms::AlarmItems& copy = alarms::ScheduledItems();
    ASSERT_EQ(copy.Count(), 5);
    struct Row { const char* what; bool enabled; int hour; } rows[] = {
        {"intact", true, 1}, {"REG_SZ record", false, 0}, {"10-byte record", false, 0},
        {"14-byte record: first 11 used", true, 4}, {"missing record", false, 0},
    };
    for (int index = 1; index <= 5; ++index) {
        const Row& row = rows[index - 1];
        SCOPED_TRACE(row.what);
        EXPECT_EQ(copy.At(index)->Enabled(), row.enabled);
        EXPECT_EQ(copy.At(index)->hour, row.hour);
        EXPECT_EQ(copy.At(index)->notifyText, "t" + std::to_string(index));  // texts still belong to their row
    }
    bool valid = true;
    alarms::ReadAlarmItem(2, &valid);
    EXPECT_FALSE(valid);

    // Setting the state of the long record writes back exactly 11 bytes.
    alarms::SetAlarmItemState(4, 0);
    EXPECT_EQ(Bytes("Data4"), (std::vector<unsigned char>{0, 1, 2, 0, 4, 5, 20, 5, 6, 15, 0}));
}

TEST_F(AlarmStoreTest, LoadingHostileStoresEndsQuickly) {
    // A count far beyond the items: loading stops at the store's limit, all placeholders.
    PutCount(0x7fffffff);
    alarms::AppendAlarmItem(MakeItem(1));  // refused: the store is full
    alarms::LoadAlarmItems();
    EXPECT_EQ(alarms::LoadedItemCount(), 32767);
    EXPECT_EQ(alarms::ScheduledItems().Count(), 32767);
    EXPECT_FALSE(alarms::ScheduledItems().At(1)->Enabled());

    PutCount(0);
    alarms::LoadAlarmItems();
    EXPECT_EQ(alarms::LoadedItemCount(), 0);
}

TEST_F(AlarmStoreTest, LongTextsAreKeptToTheSettingsStoreLimit) {
    const std::string longText(5000, 'w');
    alarms::AppendAlarmItem(MakeItem(1, longText));
    const AlarmItem back = alarms::ReadAlarmItem(1);
    // Texts read through the settings store are cut at its limit, never overrun.
    EXPECT_EQ(back.notifyText, longText.substr(0, registry::kRegMaxText));
}

TEST_F(AlarmStoreTest, LongTextsInAnyScriptAreCutBetweenCharacters) {
    // Each character 2, 3 or 4 bytes in UTF-8: the limit counts characters, never bytes.
    for (const std::string unit : {"\xD0\x96", "\xE4\xBC\x9A", "\xF0\x9F\x98\x80"}) {
        SCOPED_TRACE(unit.size());
        std::string longText;
        for (int i = 0; i < 1100; ++i) longText += unit;
        testing_support::ClearUserRegistry();
        alarms::AppendAlarmItem(MakeItem(1, longText));
        const std::string back = alarms::ReadAlarmItem(1).notifyText;
        EXPECT_EQ(registry::kRegMaxText, text::CharacterCount(back));
        EXPECT_EQ(longText.substr(0, registry::kRegMaxText * unit.size()), back) << "whole characters";
        settings::WriteText(settings::kOptionKey, settings::kSkinPath, longText);
        const std::string setting = settings::ReadText(settings::kOptionKey, settings::kSkinPath);
        EXPECT_EQ(longText.substr(0, registry::kRegMaxText * unit.size()), setting) << "the settings store likewise";
    }
}

}  // namespace
