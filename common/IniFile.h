// The INI module that all three programs carry: one profile file (common/StopIni.h names it and
// its keys), read and written only through the platform's profile functions.
// It keeps the path and the text of its last failure; no caller shows that text.
#pragma once
#include <cstdint>
#include <string>

namespace ini {

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

// "stop.ini" in the directory of the running program.
std::string DefaultIniPath();

}  // namespace ini
