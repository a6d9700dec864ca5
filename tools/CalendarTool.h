// The calendar tool: relates a date to its distance in days from today, both ways. A date
// picked in the date field or the month calendar shows its distance; a number typed or spun
// in the number field moves both date controls to today plus that many days. Nothing is kept
// after the dialog closes.
#pragma once
#include <windows.h>

namespace tools {

// Runs the modal "Calendar" dialog owned by `owner`; returns when it has closed.
void ShowCalendarTool(HWND owner);

// The frames around the date controls and around the OK button.
void PaintCalendarTool(HDC dc);

// Identifiers and layout of the dialog's controls.
namespace calendar_tool {
inline constexpr int kDialogWidth = 426, kDialogHeight = 335;
inline constexpr char kTitle[] = "Calendar";
inline constexpr int kDateFieldId = 1;
inline constexpr int kNumberFieldId = 2;
inline constexpr int kSpinnerId = 3;
inline constexpr int kOkId = 4;
inline constexpr int kMonthCalendarId = 5;
inline constexpr int kNumberFieldMaxChars = 6;
}  // namespace calendar_tool

}  // namespace tools
