// Typed access to the main program's settings under HKEY_CURRENT_USER\Software\Zentaro.
// Every reader applies the same rule: a value is used only when its text is non-empty and
// numeric (see NumericText.h); anything else means "use the default".
#pragma once
#include <windows.h>
#include <cstdint>
#include <optional>
#include <string>

namespace settings {

inline constexpr const char* kRootKey = "Software\\Zentaro";
inline constexpr const char* kOptionKey = "Software\\Zentaro\\Option";
inline constexpr const char* kLoadKey = "Software\\Zentaro\\Load";
inline constexpr const char* kSkinKey = "Software\\Zentaro\\Clock Skin";
inline constexpr const char* kBackgroundListKey = "Software\\Zentaro\\Clock Skin\\BlackFile";
inline constexpr const char* kGlyphListKey = "Software\\Zentaro\\Clock Skin\\TimeFile";
inline constexpr const char* kAlarmKey = "Software\\Zentaro\\Data";
inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValue = "Tickora";

// Option key values.
inline constexpr const char* kSkinPath = "SkinPath";
inline constexpr const char* kSelBackBmp = "SelBackBmp";
inline constexpr const char* kSelTimeBmp = "SelTimeBmp";
inline constexpr const char* kRndBackBmp = "RndBackBmp";
inline constexpr const char* kRndTimeBmp = "RndTimeBmp";
inline constexpr const char* kWindowpos = "Windowpos";
inline constexpr const char* kAutoRun = "AutoRun";
inline constexpr const char* kIconRun = "IconRun";
inline constexpr const char* kWakeForAlarms = "WakeForAlarms";
// Load key values.
inline constexpr const char* kBmpBack = "BmpBack";
inline constexpr const char* kBmpTime = "BmpTime";
inline constexpr const char* kClockLeft = "ClockLeft";
inline constexpr const char* kClockTop = "ClockTop";
inline constexpr const char* kAlpha = "Alpha";
inline constexpr const char* kHourRing = "HourRing";
inline constexpr const char* kWavFile = "WavFile";

inline constexpr int kDefaultAlpha = 188;

// Text of a value under HKEY_CURRENT_USER; empty when missing or not text.
std::string ReadText(const char* key, const char* name);
// The value as a number, or nothing when it is missing, empty or not numeric.
std::optional<std::int32_t> ReadNumber(const char* key, const char* name);
std::int32_t ReadNumberOr(const char* key, const char* name, std::int32_t fallback);
// A check-box option: on when it reads as a number greater than 0.
bool ReadFlag(const char* key, const char* name);

bool WriteText(const char* key, const char* name, const std::string& text);
bool WriteDword(const char* key, const char* name, std::int32_t value);

}  // namespace settings
