#include "alarms/AlarmItem.h"

namespace alarms {

namespace {

constexpr const char* kNotifyTexts[] = {
    "Play a sound", "Text Hint", "Run the special program", "Re-start computer", "Shut down",
};
constexpr const char* kWeekdayNames[] = {
    "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday",
};

std::string TwoDigits(const std::string& text) { return text.size() == 1 ? "0" + text : text; }

}  // namespace

std::string AlarmItem::YearText() const { return std::to_string(year) + TwoDigits(std::to_string(year1)); }

int AlarmItem::YearNumber() const { return std::stoi(YearText()); }

void AlarmItem::SetYear(int fourDigitYear) {
    if (fourDigitYear < 0) fourDigitYear = 0;
    year = static_cast<std::uint8_t>(fourDigitYear / 100 > 255 ? 255 : fourDigitYear / 100);
    year1 = static_cast<std::uint8_t>(fourDigitYear % 100);
}

RecordBytes EncodeRecord(const AlarmItem& item) {
    return {item.itemState, item.notifyMode, item.timeMode, item.week, item.hour, item.minute,
            item.year,      item.year1,      item.month,    item.wDay, item.openRun};
}

bool DecodeRecord(const std::uint8_t* bytes, std::size_t size, AlarmItem& item) {
    if (bytes == nullptr || size < kRecordSize) return false;
    item.itemState = bytes[0];
    item.notifyMode = bytes[1];
    item.timeMode = bytes[2];
    item.week = bytes[3];
    item.hour = bytes[4];
    item.minute = bytes[5];
    item.year = bytes[6];
    item.year1 = bytes[7];
    item.month = bytes[8];
    item.wDay = bytes[9];
    item.openRun = bytes[10];
    return true;
}

std::string ValueName(const char* prefix, int n) { return std::string(prefix) + std::to_string(n); }

std::string InterpretNotifyMode(int notifyValue) {
    if (notifyValue < 0 || notifyValue >= static_cast<int>(std::size(kNotifyTexts))) return {};
    return kNotifyTexts[notifyValue];
}

std::string WeekdayName(int week) {
    if (week < 0 || week >= static_cast<int>(std::size(kWeekdayNames))) return {};
    return kWeekdayNames[week];
}

std::string InterpretTimeMode(int timeValue, int weekValue, int yValue, const std::string& yValue1, int monthValue,
                              int dayValue) {
    const std::string month = std::to_string(monthValue), day = std::to_string(dayValue);
    switch (timeValue) {
    case kTimeOnce: return month + "/" + day + "/" + std::to_string(yValue) + TwoDigits(yValue1);
    case kTimeDaily: return "Daily";
    case kTimeWeekly: return "Weekly" + WeekdayName(weekValue);
    case kTimeMonthly: return "Monthly" + day + "day";
    case kTimeYearly: return "Yearly" + month + "month" + day + "day";
    default: return {};
    }
}

int AlarmItems::Append(const AlarmItem& item, std::optional<int> lngBefore) {
    if (!lngBefore) {
        items_.push_back(item);
        return 0;
    }
    if (*lngBefore < 1 || *lngBefore > Count() + 1) return kNoSuchPosition;
    items_.insert(items_.begin() + (*lngBefore - 1), item);
    return 0;
}

void AlarmItems::Replace(int index, const AlarmItem& item) {
    if (index >= 1 && index <= Count()) items_[static_cast<std::size_t>(index - 1)] = item;
}

void AlarmItems::Remove(int index) {
    if (index >= 1 && index <= Count()) items_.erase(items_.begin() + (index - 1));
}

}  // namespace alarms
