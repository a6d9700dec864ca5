#include "common/Dpi.h"

#include "common/Handles.h"
#include "common/SystemSeams.h"

namespace dpi {

int PlatformWindowDpi(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    // Windows 7 and 8 have no GetDpiForWindow; the module stays loaded for the process's life.
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (window && getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(window); dpi > 0) return static_cast<int>(dpi);
    }
    win::WindowDC screen(nullptr);
    const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : kBaseDpi;
}

int WindowDpi(HWND window) {
    const auto& seam = sys::Hooks().windowDpi;
    const int dpi = seam ? static_cast<int>(seam(window)) : PlatformWindowDpi(window);
    return dpi > 0 ? dpi : kBaseDpi;
}

}  // namespace dpi
