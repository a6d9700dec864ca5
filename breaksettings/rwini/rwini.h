// The INI module that all three programs carry: one profile file ("stop.ini" beside the
// programs), read and written only through the platform's profile functions.
// It keeps the path and the text of its last failure; no caller shows that text.
#pragma once
#include <cstdint>
#include <string>

namespace rwini {

inline constexpr const char* kIniFileName = "/stop.ini";
inline constexpr const char* kSection = "StartBreak";
inline constexpr const char* kTimesShow = "timesshow";
inline constexpr const char* kCmdHide = "cmdhide";
inline constexpr const char* kBirthDateWrite = "birthdate";
inline constexpr const char* kBirthDateRead = "Birthdate";

inline constexpr const char* kErrNoFile = "Can't find .ini file.";
inline constexpr const char* kErrWrite = "Write Error";
inline constexpr const char* kErrRead = "Read Error";

// Stores the path with leading and trailing spaces removed.
void SetIniFile(const std::string& path);
const std::string& IniFilePath();
// True (and the error text "Can't find .ini file.") when no path is stored; it does not
// look at the disk.
bool IniFileMissing();
bool WriteIniString(const std::string& section, const std::string& key, const std::string& value);
// The leading decimal digits of the value; 0 for a missing key (error "Read Error").
std::int32_t ReadIniInt(const std::string& section, const std::string& key);
// At most size - 1 characters; empty when the path, the file or the key is missing.
std::string ReadIniString(const std::string& section, const std::string& key, std::size_t size);
const std::string& IniErrorText();

// The directory of the running program followed by "/stop.ini".
std::string DefaultIniPath();

}  // namespace rwini
