// The alarm item record, its value names and the alarm list's texts.
#include "alarms/AlarmItem.h"

#include <gtest/gtest.h>

namespace {

using alarms::AlarmItem;

TEST(AlarmRecord, BytesRoundTripInTheirStoredOrder) {
    const alarms::RecordBytes stored = {1, 2, 3, 4, 5, 6, 20, 5, 9, 10, 0};
    AlarmItem item;
    ASSERT_TRUE(alarms::DecodeRecord(stored.data(), stored.size(), item));
    EXPECT_EQ(item.itemState, 1);
    EXPECT_EQ(item.notifyMode, 2);
    EXPECT_EQ(item.timeMode, 3);
    EXPECT_EQ(item.week, 4);
    EXPECT_EQ(item.hour, 5);
    EXPECT_EQ(item.minute, 6);
    EXPECT_EQ(item.YearText(), "2005");
    EXPECT_EQ(item.month, 9);
    EXPECT_EQ(item.wDay, 10);
    EXPECT_EQ(alarms::EncodeRecord(item), stored);
}

TEST(AlarmRecord, DecodingNeedsElevenBytesAndUsesOnlyThem) {
    const std::uint8_t longer[13] = {1, 0, 2, 0, 7, 30, 20, 26, 12, 6, 0, 99, 99};
    AlarmItem item;
    ASSERT_TRUE(alarms::DecodeRecord(longer, sizeof longer, item));
    EXPECT_EQ(item.openRun, 0);
    EXPECT_EQ(item.minute, 30);

    AlarmItem untouched;
    untouched.hour = 12;
    EXPECT_FALSE(alarms::DecodeRecord(longer, 10, untouched));
    EXPECT_FALSE(alarms::DecodeRecord(nullptr, 11, untouched));
    EXPECT_EQ(untouched.hour, 12);
}

TEST(AlarmRecord, YearTextAndSplit) {
    struct Case {
        const char* what;
        std::uint8_t century, yy;
        const char* text;
    } cases[] = {
        {"one-digit year gets a leading zero", 20, 5, "2005"},
        {"two-digit year", 20, 10, "2010"},
        {"year 0 of the century", 20, 0, "2000"},
        {"out-of-range two-digit part is written as it is", 20, 150, "20150"},
        {"largest bytes", 255, 255, "255255"},
        {"zero century", 0, 7, "007"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AlarmItem item;
        item.year = c.century;
        item.year1 = c.yy;
        EXPECT_EQ(item.YearText(), c.text);
        EXPECT_EQ(item.YearNumber(), std::stoi(c.text));
    }
    AlarmItem item;
    item.SetYear(2005);
    EXPECT_EQ(item.year, 20);
    EXPECT_EQ(item.year1, 5);
    item.SetYear(2010);
    EXPECT_EQ(item.YearText(), "2010");
}

TEST(AlarmRecord, ValueNamesAreNotPadded) {
    EXPECT_EQ(alarms::ValueName(alarms::kDataPrefix, 1), "Data1");
    EXPECT_EQ(alarms::ValueName(alarms::kDataPrefix, 10), "Data10");
    EXPECT_EQ(alarms::ValueName(alarms::kParametersPrefix, 12), "Parameters12");
    EXPECT_EQ(alarms::ValueName(alarms::kWavFilePrefix, 32767), "WavFile32767");
}

TEST(AlarmRecord, ListTexts) {
    struct Case {
        const char* what;
        int timeMode, week, century;
        const char* yy;
        int month, day;
        const char* text;
    } cases[] = {
        {"once, one-digit year", 1, 0, 20, "5", 6, 15, "6/15/2005"},
        {"once, two-digit year", 1, 0, 20, "10", 12, 1, "12/1/2010"},
        {"daily ignores the rest", 2, 9, 0, "", 0, 0, "Daily"},
        {"weekly Monday", 3, 1, 20, "5", 6, 15, "WeeklyMonday"},
        {"weekly Saturday", 3, 6, 20, "5", 6, 15, "WeeklySaturday"},
        {"weekly, unknown weekday", 3, 7, 20, "5", 6, 15, "Weekly"},
        {"monthly", 4, 0, 20, "5", 6, 15, "Monthly15day"},
        {"yearly", 5, 0, 20, "5", 6, 15, "Yearly6month15day"},
        {"rule 0", 0, 0, 20, "5", 6, 15, ""},
        {"rule 6", 6, 0, 20, "5", 6, 15, ""},
        {"rule 255", 255, 0, 20, "5", 6, 15, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(alarms::InterpretTimeMode(c.timeMode, c.week, c.century, c.yy, c.month, c.day), c.text);
    }
    const char* notify[] = {"Play a sound", "Text Hint", "Run the special program", "Re-start computer", "Shut down"};
    for (int code = 0; code < 5; ++code) EXPECT_EQ(alarms::InterpretNotifyMode(code), notify[code]);
    EXPECT_EQ(alarms::InterpretNotifyMode(5), "");
    EXPECT_EQ(alarms::InterpretNotifyMode(-1), "");
    EXPECT_EQ(alarms::WeekdayName(0), "Sunday");
    EXPECT_EQ(alarms::WeekdayName(-1), "");
}

TEST(AlarmRecord, InMemoryCopyIsOneBasedWithInsertionBefore) {
    alarms::AlarmItems copy;
    AlarmItem a, b, c;
    a.hour = 1;
    b.hour = 2;
    c.hour = 3;
    c.notifyText = std::string(5000, 'x');
    EXPECT_EQ(copy.Append(a), 0);
    EXPECT_EQ(copy.Append(c), 0);
    EXPECT_EQ(copy.Append(b, 2), 0);  // before position 2
    ASSERT_EQ(copy.Count(), 3);
    for (int index = 1; index <= 3; ++index) {
        ASSERT_NE(copy.At(index), nullptr);
        EXPECT_EQ(copy.At(index)->hour, index);
    }
    EXPECT_EQ(copy.At(3)->notifyText.size(), 5000u);

    EXPECT_EQ(copy.At(0), nullptr);
    EXPECT_EQ(copy.At(4), nullptr);
    EXPECT_EQ(copy.Append(a, 0), alarms::AlarmItems::kNoSuchPosition);
    EXPECT_EQ(copy.Append(a, 5), alarms::AlarmItems::kNoSuchPosition);
    EXPECT_EQ(copy.Append(a, 4), 0);  // before "one past the end" appends
    EXPECT_EQ(copy.Count(), 4);
}

}  // namespace
