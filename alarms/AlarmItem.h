// One alarm item: an 11-byte record saying when and what, plus four texts; its registry
// encoding (value names and record bytes), the display texts of the alarm list, and the
// in-memory copy of all items that the scheduler works on (AlarmItems).
// Pure code: no platform headers.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace alarms {

// What an item does when it falls due (byte 1 of the record).
enum NotifyMode : std::uint8_t {
    kNotifySound = 0,      // play the item's sound file, or the built-in sound
    kNotifyText = 1,       // show the reminder text in a modal dialog
    kNotifyProgram = 2,    // start the item's program with its parameters
    kNotifyRestart = 3,    // restart the computer after the countdown
    kNotifyShutdown = 4,   // shut the computer down after the countdown
};

// On which dates an item is due (byte 2 of the record).
enum TimeMode : std::uint8_t {
    kTimeOnce = 1,      // on one date (year, month, day)
    kTimeDaily = 2,     // every day
    kTimeWeekly = 3,    // every week on one weekday
    kTimeMonthly = 4,   // every month on one day
    kTimeYearly = 5,    // every year on one month and day
};

inline constexpr std::size_t kRecordSize = 11;
// Every writer stores this century byte; the year is century * 100 + the two-digit year.
inline constexpr std::uint8_t kCenturyByte = 20;

using RecordBytes = std::array<std::uint8_t, kRecordSize>;

// One alarm item. The byte fields are the record bytes 0 to 10 in order; each may hold any
// value 0..255 when it comes from the registry, and every reader must cope with that.
struct AlarmItem {
    std::uint8_t itemState = 0;    // 0 disabled; above 0 enabled
    std::uint8_t notifyMode = 0;   // NotifyMode
    std::uint8_t timeMode = 0;     // TimeMode
    std::uint8_t week = 0;         // weekly items: 0 Sunday .. 6 Saturday
    std::uint8_t hour = 0;         // 0..23
    std::uint8_t minute = 0;       // 0..59
    std::uint8_t year = kCenturyByte;  // century part of the year
    std::uint8_t year1 = 0;        // year within the century, 0..99
    std::uint8_t month = 1;        // 1..12
    std::uint8_t wDay = 1;         // day of the month, 1..31
    std::uint8_t openRun = 0;      // reserved: always written as 0, never read

    std::string notifyText;   // reminder text; for restart/shutdown the countdown's hint line
    std::string runExe;       // program path of a run-program item
    std::string wavFile;      // sound file of a sound item; empty = the built-in sound
    std::string parameters;   // command-line parameters of the program

    bool Enabled() const { return itemState > 0; }
    // The four-digit year as the system writes it: "20" and 5 give "2005", 20 and 10 "2010".
    std::string YearText() const;
    // YearText() as a number (at most six digits, so it always fits).
    int YearNumber() const;
    // Sets year and year1 from a four-digit year: 2005 gives 20 and 5.
    void SetYear(int fourDigitYear);

    bool operator==(const AlarmItem&) const = default;
};

RecordBytes EncodeRecord(const AlarmItem& item);
// Fills the byte fields from a stored record; only the first kRecordSize bytes are used.
// False (item untouched) when fewer than kRecordSize bytes are given.
bool DecodeRecord(const std::uint8_t* bytes, std::size_t size, AlarmItem& item);

// Registry layout under HKEY_CURRENT_USER.
inline constexpr const char* kDataCountName = "DataCount";
inline constexpr const char* kDataPrefix = "Data";
inline constexpr const char* kTextPrefix = "Text";
inline constexpr const char* kRunExePrefix = "RunExe";
inline constexpr const char* kWavFilePrefix = "WavFile";
inline constexpr const char* kParametersPrefix = "Parameters";
// The store counts items in 16 bits: no store holds more.
inline constexpr int kMaxItemCount = 32767;

// The value name of item n: prefix followed by n in decimal without padding ("Data10").
std::string ValueName(const char* prefix, int n);

// The four texts of an item with the prefixes of their values, in the order they are written.
struct TextField {
    const char* prefix;
    std::string AlarmItem::*member;
};
inline constexpr std::array<TextField, 4> kTextFields{{
    {kTextPrefix, &AlarmItem::notifyText},
    {kRunExePrefix, &AlarmItem::runExe},
    {kWavFilePrefix, &AlarmItem::wavFile},
    {kParametersPrefix, &AlarmItem::parameters},
}};

// The alarm list's texts. Unknown codes give empty text.
std::string InterpretNotifyMode(int notifyValue);
// "6/15/2005", "Daily", "WeeklyMonday", "Monthly15day", "Yearly6month15day"; yValue1 is the
// two-digit year as text and gets a leading "0" when it is one character long.
std::string InterpretTimeMode(int timeValue, int weekValue, int yValue, const std::string& yValue1, int monthValue,
                              int dayValue);
// "Sunday" (0) .. "Saturday" (6); any other value gives empty text.
std::string WeekdayName(int week);

// The scheduler's in-memory copy of the items: positions are 1-based, in item-number order.
// Append returns an error code (0 = success); the fields of an item are read through At().
class AlarmItems {
public:
    static constexpr int kNoSuchPosition = 9;  // the error of a position that does not exist

    int Count() const { return static_cast<int>(items_.size()); }
    // Appends the item, or inserts it before position lngBefore (1..Count()+1).
    int Append(const AlarmItem& item, std::optional<int> lngBefore = std::nullopt);
    // The item at a position; null when the position does not exist. Inline: the tick looks at
    // every item every second.
    const AlarmItem* At(int index) const {
        return index < 1 || index > Count() ? nullptr : &items_[static_cast<std::size_t>(index - 1)];
    }
    // Overwrites the item at a position / removes it, the later ones moving up; other positions
    // are ignored.
    void Replace(int index, const AlarmItem& item);
    void Remove(int index);

private:
    std::vector<AlarmItem> items_;
};

}  // namespace alarms
