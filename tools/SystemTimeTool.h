// The system time tool: shows the local date and time running live in a date field and a
// time field; once the user edits either, the fields hold the edit and Apply or OK set the
// computer's clock to it. A refused change is reported, and the fields return to the clock.
#pragma once
#include <windows.h>

namespace tools {

// Runs the modal "System time setting" dialog owned by `owner`; returns when it has closed.
void ShowSystemTimeTool(HWND owner);

// The frame around the two fields and one around each button.
void PaintSystemTimeTool(HDC dc);

// The local time that Apply sets: the time of day (and milliseconds) of the time field on the
// date of the date field.
SYSTEMTIME CombineDateAndTime(const SYSTEMTIME& dateField, const SYSTEMTIME& timeField);

// Identifiers, timing and texts of the dialog.
namespace system_time_tool {
inline constexpr int kDialogWidth = 387, kDialogHeight = 120;
inline constexpr char kTitle[] = "System time setting";
inline constexpr int kOkId = 1;
inline constexpr int kApplyId = 2;
inline constexpr int kCancelId = 3;
inline constexpr int kDateFieldId = 4;
inline constexpr int kTimeFieldId = 5;
inline constexpr UINT_PTR kClockTimerId = 6;
inline constexpr UINT kFirstTickMs = 800;
inline constexpr UINT kTickAfterApplyMs = 600;
inline constexpr char kRefusedText[] = "The system time could not be changed.";
}  // namespace system_time_tool

}  // namespace tools
