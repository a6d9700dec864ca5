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
// Its layout in pixels, all in this one place. The window is kReminderWidth x kReminderHeight
// while the text fits kReminderTextRoom; a longer text wraps at word boundaries within
// kReminderTextWidth and the window grows by the extra height (up to the monitor's work area,
// after which the text scrolls). The separator, the buttons and their frames move down with
// the text; the icon stays.
inline constexpr int kReminderWidth = 268, kReminderHeight = 128;
inline constexpr char kReminderTitle[] = "Text Hint";
inline constexpr int kReminderTextX = 55, kReminderTextY = 18;
inline constexpr int kReminderTextWidth = 199;  // to the separator's right end
inline constexpr int kReminderTextRoom = 40;    // three lines of the dialog's font
inline constexpr int kReminderIconX = 10, kReminderIconY = 10;
inline constexpr int kReminderSeparatorLeft = 8, kReminderSeparatorRight = 254, kReminderSeparatorY = 66;
inline constexpr int kReminderOkX = 99, kReminderOkY = 77, kReminderButtonWidth = 70, kReminderButtonHeight = 19;
inline constexpr int kReminderOkFrameLeft = 99, kReminderOkFrameRight = 171, kReminderOkFrameTop = 76,
                     kReminderOkFrameBottom = 97;
inline constexpr int kReminderSnoozeX = 177;
inline constexpr int kReminderSnoozeChoiceX = 8, kReminderSnoozeChoiceWidth = 89, kReminderSnoozeChoiceHeight = 100;
// The text is the text of a read-only multi-line edit control (screen readers and tests read
// it there). Snooze shows the text again after the minutes chosen beside it (5, 10 or 30).
inline constexpr int kReminderTextId = 2003;
inline constexpr int kReminderSnoozeId = 2001;
inline constexpr int kReminderSnoozeChoiceId = 2002;

// Runs the reminder dialog modally; returns when the user has closed it with OK, Snooze or the
// close box (Esc does not close it). Each dialog keeps its text; a reminder that opens while
// others are still open gives them its text too, so all of them show the latest reminder.
void ShowReminderText(HWND owner, const std::string& text);
// The text an open reminder dialog shows, or null for any other window.
const std::string* ReminderTextOf(HWND dlg);
INT_PTR CALLBACK ReminderDlgProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
// The pixels the dialog grows by for a text of textHeight pixels, when the window may be at
// most maxWindowHeight pixels high: 0 while the text fits kReminderTextRoom.
int ReminderGrowth(int textHeight, int maxWindowHeight);
// The dialog's client area around its controls: the icon, the separator and the frame around
// OK, these two `growth` pixels further down.
void PaintReminder(HDC dc, HICON icon, int growth);

// The program's icon (resource 1) in its own size; the caller owns it.
HICON LoadProgramIcon();

}  // namespace alarms
