// Resource figures of the real programs against the baseline clock, measured in one run:
// CPU time over a stretch of running, peak working set, and the time from start to the
// first painted window. Prints each figure and its ratio to the baseline's.
//   bench_resources.exe [seconds]   (default 60; ZENTARO_BENCH_SECONDS overrides)
#include "tests/e2e/driver/Driver.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct Figures {
    double firstPaintMs = -1;
    double cpuMs = 0;
    double peakMiB = 0;
};

// Wine does not report another process's CPU times, so the figures come from the Linux
// process that runs the program, read through Wine's Z: drive (/proc/<pid>/stat and status).
std::string ReadUnixFile(const std::string& path) {
    std::string out;
    if (FILE* f = fopen(path.c_str(), "rb")) {
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
        fclose(f);
    }
    return out;
}

// The Linux pid whose command line names exe (the newest, if several).
int FindUnixPid(const std::string& exe) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA("Z:\\proc\\*", &fd);
    int best = -1;
    if (h == INVALID_HANDLE_VALUE) return best;
    do {
        const int pid = atoi(fd.cFileName);
        if (pid <= 0) continue;
        std::string cmd = ReadUnixFile("Z:\\proc\\" + std::to_string(pid) + "\\cmdline");
        for (char& c : cmd)
            if (c == '\0') c = ' ';
        if (cmd.find(exe) != std::string::npos && pid > best) best = pid;
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return best;
}

// utime + stime in milliseconds (the kernel counts in ticks of 10 ms).
double UnixCpuMs(int pid) {
    const std::string stat = ReadUnixFile("Z:\\proc\\" + std::to_string(pid) + "\\stat");
    const auto close = stat.rfind(')');
    if (close == std::string::npos) return 0;
    // Fields after the command name: state is field 3; utime and stime are fields 14 and 15.
    const char* p = stat.c_str() + close + 2;
    long long field[16] = {};
    for (int i = 3; i <= 15 && *p; ++i) {
        field[i] = atoll(p);
        while (*p && *p != ' ') ++p;
        while (*p == ' ') ++p;
    }
    return static_cast<double>(field[14] + field[15]) * 10.0;
}

// Peak resident set size (VmHWM) in MiB.
double UnixPeakMiB(int pid) {
    const std::string status = ReadUnixFile("Z:\\proc\\" + std::to_string(pid) + "\\status");
    const auto at = status.find("VmHWM:");
    return at == std::string::npos ? 0 : atof(status.c_str() + at + 6) / 1024.0;
}

// A window counts as painted when a pixel near its centre is no longer the blank screen's.
bool Painted(HWND wnd) {
    RECT r{};
    if (!IsWindowVisible(wnd) || !GetWindowRect(wnd, &r)) return false;
    HDC screen = GetDC(nullptr);
    int lit = 0;
    for (int i = 1; i < 8; ++i) {
        const COLORREF c = GetPixel(screen, r.left + (r.right - r.left) * i / 8, (r.top + r.bottom) / 2);
        lit += c != RGB(0, 0, 0) && c != CLR_INVALID;
    }
    ReleaseDC(nullptr, screen);
    return lit >= 4;
}

Figures Measure(const std::string& exe, const char* cls, const char* title, int seconds) {
    Figures f;
    driver::Process p;
    const ULONGLONG start = GetTickCount64();
    if (!p.Start(driver::ProgramPath(exe))) {
        fprintf(stderr, "cannot start %s\n", exe.c_str());
        return f;
    }
    HWND wnd = driver::WaitForWindow(cls, title, 30000, p.id());
    if (wnd && driver::WaitFor([&] { return Painted(wnd); }, 30000))
        f.firstPaintMs = static_cast<double>(GetTickCount64() - start);
    const int unixPid = FindUnixPid(exe);
    const double cpu0 = unixPid > 0 ? UnixCpuMs(unixPid) : 0;
    Sleep(static_cast<DWORD>(seconds) * 1000);
    if (unixPid > 0) {
        f.cpuMs = UnixCpuMs(unixPid) - cpu0;
        f.peakMiB = UnixPeakMiB(unixPid);
    }
    if (wnd) PostMessageA(wnd, WM_CLOSE, 0, 0);
    p.WaitExit(5000);
    return f;
}

void Report(const char* name, const Figures& f, const Figures& base) {
    auto ratio = [](double a, double b) {
        char text[32];
        if (a < 0) snprintf(text, sizeof text, "(none)");
        else if (b > 0) snprintf(text, sizeof text, "(x%.2f)", a / b);
        else snprintf(text, sizeof text, "(base 0)");
        return std::string(text);
    };
    printf("%-10s first paint %7.0f ms %-9s  CPU %7.1f ms %-9s  peak memory %6.1f MiB %s\n", name, f.firstPaintMs,
           ratio(f.firstPaintMs, base.firstPaintMs).c_str(), f.cpuMs, ratio(f.cpuMs, base.cpuMs).c_str(), f.peakMiB,
           ratio(f.peakMiB, base.peakMiB).c_str());
}

}  // namespace

int main(int argc, char** argv) {
    int seconds = 60;
    if (const char* env = getenv("ZENTARO_BENCH_SECONDS")) seconds = atoi(env);
    if (argc > 1) seconds = atoi(argv[1]);
    if (seconds < 1) seconds = 1;
    driver::ResetZentaroSettings();
    printf("resource figures over %d s of running each, against the baseline clock (same run)\n", seconds);
    const Figures base = Measure("baseline_clock.exe", "BaselineClock", "Baseline", seconds);
    const Figures clock = Measure("zentaro.exe", "frmMain", "Zentaro", seconds);
    const Figures vitaro = Measure("vitaro.exe", nullptr, "Vitaro", seconds);
    Report("baseline", base, base);
    Report("zentaro", clock, base);
    Report("vitaro", vitaro, base);
    return 0;
}
