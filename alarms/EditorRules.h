// The rules of the alarm item editor that do not depend on its window: which fields each
// action and each date rule uses, when an entry is complete, and how the field texts become
// an item. Pure code: no platform headers.
#pragma once
#include "alarms/AlarmItem.h"

#include <optional>
#include <string>

namespace alarms {

// The action list's entries; an entry's position is its action code.
inline constexpr const char* kActionEntries[] = {"Play a sound", "Text Hint", "Run a program", "Re-start Computer",
                                                 "Shut down"};
// The date-rule options; option k means date rule k + 1.
inline constexpr const char* kDateRuleOptions[] = {"Only once", "Daily", "Weekly", "Monthly", "Yearly"};

// Which text fields an action uses; the others are disabled and emptied.
struct ActionFields {
    bool text, sound, program, parameter;
};
ActionFields FieldsOfAction(int action);

// Which date fields a date-rule option (0..4) uses; the others are disabled.
struct DateFields {
    bool month, day, year, week;
};
DateFields FieldsOfDateRule(int option);

// The editor's fields as the user left them.
struct EditorEntry {
    int action = kNotifyText;  // selected entry of the action list; -1 none
    int dateOption = 0;        // selected date-rule option
    std::string text, sound, program, parameter;
    std::string month, day, year, hour, minute, week;
    std::optional<std::string> second;  // none when the form has no seconds field
};

// A field of the form that a check can refuse; Length is the break settings window's break length.
enum class EntryField { None, Action, Text, Sound, Program, Month, Day, Year, Hour, Minute, Second, Length };

// The first field that cannot be stored as typed, and the one line that says what it accepts.
struct FieldCheck {
    EntryField field = EntryField::None;
    std::string message;
    bool Valid() const { return field == EntryField::None; }
};

// The years an item can hold: the record keeps the century as 20.
inline constexpr int kFirstItemYear = 2000, kLastItemYear = 2099;

// Checks, in the form's order, every field the chosen action and date rule use: the action's
// text, sound or program is filled in; month 1..12, year 2000..2099, a day of that month (of
// any year for a yearly item, 1..31 for a monthly one), hour 0..23, minute and second 0..59.
// Blanks around a number are ignored.
FieldCheck CheckEntry(const EditorEntry& entry);
// The time of day alone: hour, minute and, when the form has one, second.
FieldCheck CheckTimeOfDay(const EditorEntry& entry);

// A number field's whole number when it lies in first..last (blanks around it ignored).
std::optional<int> FieldNumber(const std::string& text, int first, int last);

// At least one text field is filled in, or the action is a restart or a shutdown.
bool IsComplete(const EditorEntry& entry);

// The item the entry describes: enabled, century 20, the last two characters of the year
// without its surrounding blanks,
// each number field as typed when it is a whole number 0..255 (else 0), the weekday by name
// (any other text gives todayWeekday). Seconds are never stored.
AlarmItem BuildItem(const EditorEntry& entry, int todayWeekday);

// A number field's byte: the whole number 0..255 it holds, else 0.
std::uint8_t FieldByte(const std::string& text);
// The weekday of a name "Sunday".."Saturday" (0..6), or -1.
int WeekdayOfName(const std::string& name);

}  // namespace alarms
