#include "breaksettings/BreakItem.h"

#include "common/StopIni.h"

#include <algorithm>

namespace breaksettings {
namespace {

constexpr int kLastHour = 23;
constexpr int kLastMinute = 59;

}  // namespace

std::string BreakProgramPath(const std::string& programDirectory) { return programDirectory + kBreakProgramName; }

alarms::FieldCheck CheckBreakForm(const BreakForm& form) {
    alarms::EditorEntry time;
    time.hour = form.hourText;
    time.minute = form.minuteText;
    time.second = form.secondText;
    alarms::FieldCheck check = alarms::CheckTimeOfDay(time);
    if (check.Valid() && !alarms::FieldNumber(form.lengthText, kFirstBreakLength, stopini::kMaxBreakSeconds))
        check = {alarms::EntryField::Length, "Break length: " + std::to_string(kFirstBreakLength) + " to " +
                                                 std::to_string(stopini::kMaxBreakSeconds) + " seconds"};
    return check;
}

int BreakLength(const BreakForm& form) {
    return alarms::FieldNumber(form.lengthText, kFirstBreakLength, stopini::kMaxBreakSeconds).value_or(0);
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
    item.hour = std::min<std::uint8_t>(alarms::FieldByte(form.hourText), kLastHour);
    item.minute = std::min<std::uint8_t>(alarms::FieldByte(form.minuteText), kLastMinute);
    item.year = alarms::kCenturyByte;
    const std::string& year = form.yearText;
    item.year1 = alarms::FieldByte(year.size() > 2 ? year.substr(year.size() - 2) : year);
    item.month = alarms::FieldByte(form.monthText);
    item.wDay = alarms::FieldByte(form.dayText);
    item.openRun = 0;
    item.runExe = BreakProgramPath(form.programDirectory);
    return item;
}

}  // namespace breaksettings
