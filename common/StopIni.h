// "stop.ini", the file the three programs share beside them: the break settings window writes
// the break's length, its enforce flag and how it treats the person, Break reads them, vitaro keeps its birth date there.
// These names are stored in users' files: they stay as they are.
#pragma once
#include <algorithm>
#include <cstdint>
#include <string_view>

#include "common/NumericText.h"

namespace stopini {

inline constexpr const char* kFileName = "/stop.ini";
inline constexpr const char* kSection = "StartBreak";
inline constexpr const char* kTimesShow = "timesshow";
inline constexpr const char* kCmdHide = "cmdhide";
inline constexpr const char* kBirthDateWrite = "birthdate";
inline constexpr const char* kBirthDateRead = "Birthdate";
// How Break treats the person: wait while they present or play full screen, warn before the
// break, skip it after an absence, and sound its end.
inline constexpr const char* kWaitBusy = "waitbusy";    // 1 or 0
inline constexpr const char* kNotice = "notice";        // seconds of warning, 0 for none
inline constexpr const char* kPostpones = "postpones";  // how often one break may be put off
inline constexpr const char* kSkipAway = "skipaway";    // 1 or 0
inline constexpr const char* kEndSound = "endsound";    // a sound file; empty: the chime; "0": none

// The longest break: both programs hold the length as a signed 16-bit count.
inline constexpr int kMaxBreakSeconds = 32767;

// The break length from the stored value: nothing below 0 and nothing above kMaxBreakSeconds.
inline int ClampBreakLength(std::int32_t storedSeconds) {
    return static_cast<int>(std::clamp<std::int32_t>(storedSeconds, 0, kMaxBreakSeconds));
}

// The switches "waitbusy" and "skipaway" are on unless stored as 0.
inline constexpr bool kWaitBusyDefault = true;
inline constexpr bool kSkipAwayDefault = true;

// A number key from its stored text: `absent` when the text is no number, else the number
// within [low, high].
inline int RangedKey(std::string_view text, int low, int high, int absent) {
    const auto number = settings::ParseNumericText(text);
    return number ? std::clamp<std::int32_t>(*number, low, high) : absent;
}
// A switch from its stored text: `absent` when the text is no number, else on for any number
// but 0.
inline bool SwitchKey(std::string_view text, bool absent) {
    const auto number = settings::ParseNumericText(text);
    return number ? *number != 0 : absent;
}

}  // namespace stopini
