// The alarm item that the break settings window appends: a daily or weekly run-program item
// that starts Break.exe from the main program's directory. Pure code: no platform headers.
#pragma once
#include "alarms/AlarmItem.h"
#include "alarms/EditorRules.h"

#include <cstdint>
#include <string>

namespace breaksettings {

inline constexpr const char* kBreakProgramName = "/Break.exe";

// The texts of the settings window's fields, as the user left them.
struct BreakForm {
    bool weekly = false;           // "Weekly" chosen; otherwise "Daily"
    std::string weekText;          // the weekday box: "Sunday" .. "Saturday", or its placeholder
    int todayWeekday = 0;          // 0 Sunday .. 6 Saturday, for a weekday box without a name
    std::string hourText;
    std::string minuteText;
    std::string secondText;
    std::string lengthText;        // the break's length in seconds
    std::string monthText;
    std::string dayText;
    std::string yearText;          // four digits
    std::string programDirectory;  // the main program's directory, without a trailing separator
};

// The program the break item starts: the directory followed by "/Break.exe".
std::string BreakProgramPath(const std::string& programDirectory);

inline constexpr int kFirstBreakLength = 1;

// The first field of the form that cannot be stored as typed: hour 0..23, minute and second
// 0..59, break length 1..32767 seconds (blanks around a number ignored).
alarms::FieldCheck CheckBreakForm(const BreakForm& form);

// The break length of a checked form, in seconds.
int BreakLength(const BreakForm& form);

// The weekday of a weekday name, or today's when the text names none.
int WeekdayOf(const std::string& text, int todayWeekday);

// The item of the form; a number field is read as alarms::FieldByte reads it. An hour or minute beyond the day's last (24 and up, 60 and up) is
// stored as the last one, so the break still falls due every day or week.
alarms::AlarmItem MakeBreakItem(const BreakForm& form);

}  // namespace breaksettings
