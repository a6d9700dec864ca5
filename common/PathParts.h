// Splitting a program path at its last backslash. Pure: no <windows.h>.
#pragma once
#include <string>
#include <string_view>

namespace paths {

// The text after the last backslash; the whole path when there is none.
std::string FileNameOfPath(std::string_view path);
// The text up to and including the last backslash; empty when there is none.
std::string DirectoryOfPath(std::string_view path);

}  // namespace paths
