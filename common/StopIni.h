// "stop.ini", the file the three programs share beside them: the break settings window writes
// the break's length and enforce flag, Break reads them, vitaro keeps its birth date there.
// These names are stored in users' files: they stay as they are.
#pragma once
#include <algorithm>
#include <cstdint>

namespace stopini {

inline constexpr const char* kFileName = "/stop.ini";
inline constexpr const char* kSection = "StartBreak";
inline constexpr const char* kTimesShow = "timesshow";
inline constexpr const char* kCmdHide = "cmdhide";
inline constexpr const char* kBirthDateWrite = "birthdate";
inline constexpr const char* kBirthDateRead = "Birthdate";

// The longest break: both programs hold the length as a signed 16-bit count.
inline constexpr int kMaxBreakSeconds = 32767;

// The break length from the stored value: nothing below 0 and nothing above kMaxBreakSeconds.
inline int ClampBreakLength(std::int32_t storedSeconds) {
    return static_cast<int>(std::clamp<std::int32_t>(storedSeconds, 0, kMaxBreakSeconds));
}

}  // namespace stopini
