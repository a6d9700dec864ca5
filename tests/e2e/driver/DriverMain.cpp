// zdriver: the driver from the command line.
//   zdriver wait CLASS TITLE SECONDS          waits for the window; exit 0 when it appeared
//   zdriver shot CLASS TITLE FILE.png [PAD]   saves the screen around the window (PAD pixels)
//   zdriver screen FILE.png                   saves the whole screen
#include "tests/e2e/driver/Driver.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    const std::string cmd = argc > 1 ? argv[1] : "";
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
