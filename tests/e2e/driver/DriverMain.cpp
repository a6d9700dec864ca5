// zdriver: the driver from the command line.
//   zdriver wait CLASS TITLE SECONDS          waits for the window; exit 0 when it appeared
//   zdriver shot CLASS TITLE FILE.png [PAD]   saves the screen around the window (PAD pixels)
//   zdriver screen FILE.png                   saves the whole screen
//   zdriver rect CLASS TITLE SECONDS          waits for the window and prints "x y width height"
//   zdriver post CLASS TITLE MSG WPARAM LPARAM posts a message to the window
//   zdriver close CLASS TITLE                 posts WM_CLOSE and waits until the window is gone
// CLASS or TITLE "-" matches any.
#include "tests/e2e/driver/Driver.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
const char* AnyIfDash(const char* s) { return std::string(s) == "-" ? nullptr : s; }
}  // namespace

int main(int argc, char** argv) {
    const std::string cmd = argc > 1 ? argv[1] : "";
    for (int i = 2; i < argc && i < 4; ++i) argv[i] = const_cast<char*>(AnyIfDash(argv[i]) ? argv[i] : nullptr);
    if (cmd == "rect" && argc == 5) {
        HWND w = driver::WaitForWindow(argv[2], argv[3], static_cast<DWORD>(atoi(argv[4])) * 1000);
        RECT r{};
        if (!w || !GetWindowRect(w, &r)) return 1;
        printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
        return 0;
    }
    if (cmd == "post" && argc == 7) {
        HWND w = driver::WaitForWindow(argv[2], argv[3], 10000);
        if (!w) return 1;
        return PostMessageA(w, static_cast<UINT>(strtoul(argv[4], nullptr, 0)), strtoull(argv[5], nullptr, 0),
                            strtoll(argv[6], nullptr, 0)) ? 0 : 1;
    }
    if (cmd == "close" && argc == 4) {
        HWND w = driver::WaitForWindow(argv[2], argv[3], 2000);
        if (w) PostMessageA(w, WM_CLOSE, 0, 0);
        return driver::WaitForNoWindow(argv[2], argv[3], 10000) ? 0 : 1;
    }
    if (cmd == "wait" && argc == 5) {
        HWND w = driver::WaitForWindow(argv[2], argv[3], static_cast<DWORD>(atoi(argv[4])) * 1000);
        return w ? 0 : 1;
    }
    if (cmd == "shot" && argc >= 5) {
        HWND w = driver::WaitForWindow(argv[2], argv[3], 10000);
        if (!w) return 1;
        RECT r{};
        GetWindowRect(w, &r);
        const int pad = argc > 5 ? atoi(argv[5]) : 0;
        InflateRect(&r, pad, pad);
        return driver::SaveScreenPng(r, argv[4]) ? 0 : 1;
    }
    if (cmd == "screen" && argc == 3) {
        RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        return driver::SaveScreenPng(r, argv[2]) ? 0 : 1;
    }
    fprintf(stderr, "usage: zdriver wait CLASS TITLE SECONDS | shot CLASS TITLE FILE.png [PAD] | screen FILE.png\n");
    return 2;
}
