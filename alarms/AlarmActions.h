// What a due alarm item does: play its sound (or the built-in one), show its reminder text in
// a small modal dialog, start its program, or hand over to the shutdown countdown.
#pragma once
#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>

#include "alarms/AlarmItem.h"

namespace alarms {

// Carries out the item's action on the calling (user-interface) thread. The reminder and the
// countdown are modal dialogs owned by `owner`; the call returns when they have closed.
void FireAlarmItem(const AlarmItem& item, HWND owner);

// Points the scheduler's handler at FireAlarmItem and its missed handler at the "Missed
// alarms" window, with the window that owner() names at the
// time (the clock window) as the dialogs' owner; done once at start-up, before that window
// exists.
void InstallAlarmActions(std::function<HWND()> owner);

// The program's built-in WAVE image (resource "RING_SOUND" 10). It lives in the program's
// image, so it stays valid while an asynchronous playback reads it. Null when missing.
struct SoundImage {
    const void* data = nullptr;
    std::size_t size = 0;
};
SoundImage BuiltInSound();

// The path as given, without one pair of enclosing double quotes.
std::string UnquotedPath(const std::string& path);

// --- the reminder dialog ---
inline constexpr int kReminderWidth = 268, kReminderHeight = 128;
inline constexpr char kReminderTitle[] = "Text Hint";
inline constexpr int kReminderTextX = 55, kReminderTextY = 18;
// Snooze shows the text again after the minutes chosen beside it (5, 10 or 30).
inline constexpr int kReminderSnoozeId = 2001;
inline constexpr int kReminderSnoozeChoiceId = 2002;

// Runs the reminder dialog modally; returns when the user has closed it with OK, Snooze or the
// close box (Esc does not close it). Each dialog keeps its text; a reminder that opens while
// others are still open gives them its text too, so all of them show the latest reminder.
void ShowReminderText(HWND owner, const std::string& text);
// The text an open reminder dialog shows, or null for any other window.
const std::string* ReminderTextOf(HWND dlg);
INT_PTR CALLBACK ReminderDlgProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
// The dialog's client area: icon, the text in one line (cut at the edge), separator and the
// frame around OK.
void PaintReminder(HDC dc, const std::string& text, HFONT font, HICON icon);

// The program's icon (resource 1) in its own size; the caller owns it.
HICON LoadProgramIcon();

}  // namespace alarms
