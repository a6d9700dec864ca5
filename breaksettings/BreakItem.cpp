#include "breaksettings/BreakItem.h"

#include <algorithm>

namespace breaksettings {
namespace {

constexpr int kLastHour = 23;
constexpr int kLastMinute = 59;
constexpr int kByteMax = 255;

}  // namespace

std::string BreakProgramPath(const std::string& programDirectory) { return programDirectory + kBreakProgramName; }

std::uint8_t FieldByte(const std::string& text) {
    if (text.empty() || text.size() > 3) return 0;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return 0;
        value = value * 10 + (c - '0');
    }
    return value <= kByteMax ? static_cast<std::uint8_t>(value) : 0;
}

int WeekdayOf(const std::string& text, int todayWeekday) {
    for (int day = 0; day < 7; ++day) {
        if (text == alarms::WeekdayName(day)) return day;
    }
    return todayWeekday;
}

alarms::AlarmItem MakeBreakItem(const BreakForm& form) {
    alarms::AlarmItem item;
    item.itemState = 1;
    item.notifyMode = alarms::kNotifyProgram;
    item.timeMode = form.weekly ? alarms::kTimeWeekly : alarms::kTimeDaily;
    item.week = static_cast<std::uint8_t>(WeekdayOf(form.weekText, form.todayWeekday));
    item.hour = std::min<std::uint8_t>(FieldByte(form.hourText), kLastHour);
    item.minute = std::min<std::uint8_t>(FieldByte(form.minuteText), kLastMinute);
    item.year = alarms::kCenturyByte;
    const std::string& year = form.yearText;
    item.year1 = FieldByte(year.size() > 2 ? year.substr(year.size() - 2) : year);
    item.month = FieldByte(form.monthText);
    item.wDay = FieldByte(form.dayText);
    item.openRun = 0;
    item.runExe = BreakProgramPath(form.programDirectory);
    return item;
}

}  // namespace breaksettings
