// The "start with the system" option: the value "Tickora" under the Run key. The machine-wide
// key is tried first; most users may not write it, so the current user's Run key takes the
// value when that write is refused.
#pragma once
#include <windows.h>

#include <string>

namespace skins {

// Where the Run value went.
enum class RunValuePlace { None, Machine, User };

// The two roots the Run key is looked up under; tests give their own.
struct RunRoots {
    HKEY machine = HKEY_LOCAL_MACHINE;
    HKEY user = HKEY_CURRENT_USER;
};

// On: writes the program path (quoted when it has a blank) under the machine-wide Run key, or
// under the current user's when that fails; a value under the other root is removed so the
// program is not started twice. Off: removes the value from both roots.
RunValuePlace SetStartWithSystem(bool on, const std::string& programPath, const RunRoots& roots = {});

}  // namespace skins
