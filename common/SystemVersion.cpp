#include "common/SystemVersion.h"

namespace win {

bool IsLayeredCapable() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    // GetVersionExA is deprecated in newer headers but still reports the platform family.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const BOOL ok = GetVersionExA(&info);
#pragma GCC diagnostic pop
    return ok && info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion > 4;
}

}  // namespace win
