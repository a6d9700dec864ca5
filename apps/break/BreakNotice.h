// What Break does before its window covers the screens. Only one break runs on a desktop at a
// time. While the person presents or plays full screen it waits with no window, asking again
// every 15 seconds, and gives up after 30 minutes; after an absence of at least the break's
// length it ends without showing anything. Otherwise a small top-most notice near the
// notification area counts down to the break without ever taking the focus; "Start now" starts
// it at once, "Postpone 5 minutes" hides the notice and starts over later, a few times at most
// and never for an enforced break. The notice's window stays, hidden, while the break runs.
#pragma once
#include <windows.h>

#include "apps/break/BreakWindow.h"
#include "common/Handles.h"

namespace break_program {

inline constexpr const char* kNoticeClass = "BreakNotice";
inline constexpr const char* kNoticeTitle = "Break";
inline constexpr const char* kStartNowCaption = "Start now";
inline constexpr const char* kPostponeCaption = "Postpone 5 minutes";

inline constexpr int kIdNoticeText = 111;
inline constexpr int kIdStartNow = 112;
inline constexpr int kIdPostpone = 113;

inline constexpr UINT_PTR kWaitTimerId = 3;    // the next question while busy, the end of a postponement
inline constexpr UINT_PTR kNoticeTimerId = 4;  // every 1000 ms while the notice counts down

// Claims the one break of this desktop for as long as the handle lives; an empty handle when
// another break already holds it.
win::AutoHandle ClaimOnlyBreak();

// Creates the notice's window, hidden, and takes the first step: wait, skip (the window is then
// gone, and the thread's message loop ends when config.quitOnClose), notice or break. Null when
// the window could not be made.
HWND StartBreak(HINSTANCE instance, const BreakConfig& config, int show);

// The break window the notice opened, or null.
HWND NoticeBreakWindow(HWND notice);

}  // namespace break_program
