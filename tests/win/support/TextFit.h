// Checks that a window shows each of its controls' texts whole: every label, button, check
// box, radio button and group box caption fits its control, measured with the control's own
// font; every item of a drop-down list fits the closed box beside its drop button; month
// calendars and date pickers get at least the size they ask for; and no caption runs under a
// sibling control. Texts the window paints itself are not seen here.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

// One line per text that does not show whole, naming the control and its caption; empty when
// every text fits.
std::vector<std::string> ClippedTexts(HWND window);

// The same lines joined by new lines, for EXPECT_EQ("", ClippedTextReport(window)).
std::string ClippedTextReport(HWND window);

}  // namespace testing_support
