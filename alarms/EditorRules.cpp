#include "alarms/EditorRules.h"

#include "common/NumericText.h"

namespace alarms {

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
    item.year1 = FieldByte(entry.year.size() > 2 ? entry.year.substr(entry.year.size() - 2) : entry.year);
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
