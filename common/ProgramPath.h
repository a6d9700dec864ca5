// Where the running program lives: the three programs are installed in one directory.
#pragma once
#include <string>

namespace paths {

// The directory of the running executable, without a trailing backslash.
std::string ProgramDirectory();
// The full path of the running executable.
std::string ProgramFullPath();

}  // namespace paths
