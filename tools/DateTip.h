// The clock face's tool tip: the date of the program's start in the system's short date form,
// shown while the mouse rests over the main window. Its owner keeps it for the life of the
// main window.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "toolkit/Controls.h"

namespace tools {

inline constexpr int kDateTipAutoPopMs = 4000;
inline constexpr int kDateTipMaxWidth = 288;

// Creates the tool tip over `main`; destroying the result removes it.
std::unique_ptr<controls::Tooltip> CreateDateTip(HWND main);
// The local date in the system's short date form.
std::string ShortDateText(const SYSTEMTIME& date);

}  // namespace tools
