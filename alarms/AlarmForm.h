// The alarm item form: the action with its text, sound, program and parameter fields, the
// date-rule options, and the date and time fields with their spinners, inside the frames
// "Alarm Way" and "Date and Time". The item editor and the break settings window show it,
// each with its own control identifiers and layout, and add their own buttons around it.
#pragma once
#include <windows.h>

#include <array>
#include <string>

#include "alarms/EditorRules.h"
#include "toolkit/ControlTable.h"

namespace alarms {

// The form's controls; a window gives each its identifier (-1 for one it never addresses).
enum FormField : int {
    kFormWayFrame,
    kFormAction,
    kFormText,
    kFormSound,
    kFormSoundPick,
    kFormProgram,
    kFormProgramPick,
    kFormParameter,
    kFormOption0,  // .. kFormOption0 + 4: "Only once" .. "Yearly"
    kFormDateFrame = kFormOption0 + 5,
    kFormMonth,
    kFormDay,
    kFormYear,
    kFormHour,
    kFormHourSpin,
    kFormMinute,
    kFormMinuteSpin,
    kFormSecond,
    kFormSecondSpin,
    kFormWeek,
    kFormFieldCount,
};
using FormIds = std::array<int, kFormFieldCount>;

// The two layouts: the editor's in pixels, one labelled column per date field; the break
// settings window's in twips, two rows of options and one heading line over the date fields.
enum class FormLayout { Editor, BreakSettings };

struct AlarmFormSpec {
    FormLayout layout = FormLayout::Editor;
    FormIds ids{};
    toolkit::Scale scale;   // the layout's units to pixels
    int textLimit = 0;      // characters of the text fields; 0 keeps the edit control's own
    int timeLimit = 0;      // characters of the hour, minute and second fields; 0 likewise
    int firstYear = 0, lastYear = -1;  // the year list's entries
};

// The weekday list's text before a day is chosen.
inline constexpr char kWeekPrompt[] = "Week ";

// Creates the form's controls in tab order, ties each spinner to its field (0..23, 0..59,
// 0..59) and fills the action, month, day, year and weekday lists. True when all exist.
bool CreateAlarmForm(HWND parent, HFONT font, const AlarmFormSpec& spec);

// A spinner's field and its last value.
struct FormSpinner {
    FormField field, spin;
    int last;
};
inline constexpr FormSpinner kFormSpinners[] = {
    {kFormHour, kFormHourSpin, 23}, {kFormMinute, kFormMinuteSpin, 59}, {kFormSecond, kFormSecondSpin, 59}};

// WM_VSCROLL from one of the form's spinners: its position goes into its field in decimal.
// False for any other control.
bool OnFormSpin(HWND parent, const FormIds& ids, HWND spin);

// The selected date-rule option (0..4; 0 when none is).
int SelectedFormOption(HWND parent, const FormIds& ids);
// The fields as the user left them; the second only when the form has a seconds field.
EditorEntry ReadAlarmForm(HWND parent, const FormIds& ids);
// The control of a field that a check refused; nullptr for one outside the form.
HWND FormFieldControl(HWND parent, const FormIds& ids, EntryField field);

}  // namespace alarms
