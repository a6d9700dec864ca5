#include "alarms/EditorRules.h"

#include "alarms/DueRule.h"
#include "common/NumericText.h"

namespace alarms {

namespace {

constexpr int kLastMonth = 12, kLastHour = 23, kLastMinute = 59, kLastSecond = 59;
constexpr int kLongestMonth = 31;
constexpr int kLeapYear = 2000;  // a yearly item may fall on 29 February

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool IsBlank(const std::string& text) { return Trimmed(text).empty(); }

// Years and months come from checked fields (2000..2099, 1..12), so both serials exist.
int DaysInMonth(int year, int month) {
    const auto next = DaySerial(year, month + 1, 1), first = DaySerial(year, month, 1);
    return next && first ? static_cast<int>(*next - *first) : kLongestMonth;
}

FieldCheck Refuse(EntryField field, std::string message) { return {field, std::move(message)}; }

std::string RangeText(const char* name, int first, int last) {
    return std::string(name) + ": " + std::to_string(first) + " to " + std::to_string(last);
}

}  // namespace

std::optional<int> FieldNumber(const std::string& text, int first, int last) {
    const auto value = settings::ParseNumericText(text);
    if (!value || *value < first || *value > last) return std::nullopt;
    return *value;
}

FieldCheck CheckTimeOfDay(const EditorEntry& entry) {
    if (!FieldNumber(entry.hour, 0, kLastHour)) return Refuse(EntryField::Hour, RangeText("Hour", 0, kLastHour));
    if (!FieldNumber(entry.minute, 0, kLastMinute))
        return Refuse(EntryField::Minute, RangeText("Minute", 0, kLastMinute));
    if (entry.second && !FieldNumber(*entry.second, 0, kLastSecond))
        return Refuse(EntryField::Second, RangeText("Second", 0, kLastSecond));
    return {};
}

FieldCheck CheckEntry(const EditorEntry& entry) {
    if (entry.action < 0 || entry.action > kNotifyShutdown) return Refuse(EntryField::Action, "Choose an action");
    const ActionFields action = FieldsOfAction(entry.action);
    if (action.text && IsBlank(entry.text)) return Refuse(EntryField::Text, "Type the hint text");
    if (action.sound && IsBlank(entry.sound))
        return Refuse(EntryField::Sound, "Choose a sound file, or pick Text Hint");
    if (action.program && IsBlank(entry.program)) return Refuse(EntryField::Program, "Choose a program to run");

    const DateFields date = FieldsOfDateRule(entry.dateOption);
    const auto month = FieldNumber(entry.month, 1, kLastMonth);
    if (date.month && !month) return Refuse(EntryField::Month, RangeText("Month", 1, kLastMonth));
    const auto year = FieldNumber(entry.year, kFirstItemYear, kLastItemYear);
    if (date.year && !year) return Refuse(EntryField::Year, RangeText("Year", kFirstItemYear, kLastItemYear));
    if (date.day) {
        // A once-only item's day must exist in its year; a yearly one's in some year.
        const int lastDay = !date.month ? kLongestMonth
                            : entry.dateOption + 1 == kTimeYearly ? DaysInMonth(kLeapYear, *month)
                                                                  : DaysInMonth(*year, *month);
        if (!FieldNumber(entry.day, 1, lastDay)) return Refuse(EntryField::Day, RangeText("Day", 1, lastDay));
    }
    return CheckTimeOfDay(entry);
}

ActionFields FieldsOfAction(int action) {
    switch (action) {
    case kNotifySound: return {false, true, false, false};
    case kNotifyText: return {true, false, false, false};
    case kNotifyProgram: return {false, false, true, true};
    default: return {false, false, false, false};
    }
}

DateFields FieldsOfDateRule(int option) {
    switch (option + 1) {
    case kTimeOnce: return {true, true, true, false};
    case kTimeWeekly: return {false, false, false, true};
    case kTimeMonthly: return {false, true, false, false};
    case kTimeYearly: return {true, true, true, false};
    default: return {false, false, false, false};
    }
}

bool IsComplete(const EditorEntry& entry) {
    return !entry.text.empty() || !entry.program.empty() || !entry.sound.empty() || !entry.parameter.empty() ||
           entry.action == kNotifyRestart || entry.action == kNotifyShutdown;
}

std::uint8_t FieldByte(const std::string& text) {
    const auto value = settings::ParseNumericText(text);
    return value && *value >= 0 && *value <= 255 ? static_cast<std::uint8_t>(*value) : 0;
}

int WeekdayOfName(const std::string& name) {
    for (int day = 0; day < 7; ++day)
        if (WeekdayName(day) == name) return day;
    return -1;
}

AlarmItem BuildItem(const EditorEntry& entry, int todayWeekday) {
    AlarmItem item;
    item.itemState = 1;
    item.notifyMode = static_cast<std::uint8_t>(entry.action >= 0 && entry.action <= kNotifyShutdown ? entry.action : 0);
    item.timeMode = static_cast<std::uint8_t>(entry.dateOption + 1);
    const int week = WeekdayOfName(entry.week);
    item.week = static_cast<std::uint8_t>(week >= 0 ? week : todayWeekday);
    item.hour = FieldByte(entry.hour);
    item.minute = FieldByte(entry.minute);
    item.year = kCenturyByte;
    const std::string year = Trimmed(entry.year);
    item.year1 = FieldByte(year.size() > 2 ? year.substr(year.size() - 2) : year);
    item.month = FieldByte(entry.month);
    item.wDay = FieldByte(entry.day);
    item.openRun = 0;
    item.notifyText = entry.text;
    item.runExe = entry.program;
    item.wavFile = entry.sound;
    item.parameters = entry.parameter;
    return item;
}

}  // namespace alarms
