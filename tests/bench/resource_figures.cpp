// Resource figures of the real programs against the baseline clock, measured in one run:
// CPU time over a stretch of running, peak working set, and the time from start to the
// first painted window. Prints each figure and its ratio to the baseline's.
//   bench_resources.exe [seconds]   (default 60; ZENTARO_BENCH_SECONDS overrides)
#include "tests/e2e/driver/Driver.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Figures {
    double firstPaintMs = -1;
    std::vector<double> paintSamples;  // every start, sorted
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

// CPU time of every thread of the process in milliseconds, from the scheduler's nanosecond
// counts (/proc/<pid>/task/<tid>/schedstat); utime and stime in /proc/<pid>/stat count in
// ticks of 10 ms, too coarse for a program that is idle most of the time.
double UnixCpuMs(int pid) {
    const std::string tasks = "Z:\\proc\\" + std::to_string(pid) + "\\task\\";
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((tasks + "*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return 0;
    double ns = 0;
    do {
        if (atoi(fd.cFileName) <= 0) continue;
        ns += atof(ReadUnixFile(tasks + fd.cFileName + "\\schedstat").c_str());
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return ns / 1e6;
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

// The pointer rests in a screen corner while a program runs, away from every window: resting
// on the clock it would start the tool tip's hover tracking (a 100 ms timer of the common
// controls), which is the cost of a user's hover, not of the clock running.
void ParkPointer() { SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1); }

// One start of a program, up to its first painted window; -1 when it never painted.
double StartUntilPainted(driver::Process& p, const std::string& exe, const char* cls, const char* title, HWND* wnd) {
    ParkPointer();
    const ULONGLONG start = GetTickCount64();
    *wnd = nullptr;
    if (!p.Start(driver::ProgramPath(exe))) {
        fprintf(stderr, "cannot start %s\n", exe.c_str());
        return -1;
    }
    *wnd = driver::WaitForWindow(cls, title, 30000, p.id());
    if (*wnd && driver::WaitFor([&] { return Painted(*wnd); }, 30000))
        return static_cast<double>(GetTickCount64() - start);
    return -1;
}

void Close(driver::Process& p, HWND wnd) {
    if (wnd) PostMessageA(wnd, WM_CLOSE, 0, 0);
    if (!p.WaitExit(5000)) p.Kill();
}

// One program of the comparison and its figures.
struct Program {
    const char* name;
    std::string exe;
    const char* cls;
    const char* title;
    Figures figures;
};

// The time to the first paint is the median of several starts taken in rounds, each round
// starting every program once: one start varies by tens of milliseconds with the machine's
// load, and the rounds let a passing load fall on all programs alike.
constexpr int kPaintRounds = 9;

void MeasureFirstPaints(std::vector<Program>& programs) {
    for (int round = 0; round < kPaintRounds; ++round)
        for (Program& program : programs) {
            driver::Process p;
            HWND wnd = nullptr;
            program.figures.paintSamples.push_back(StartUntilPainted(p, program.exe, program.cls, program.title, &wnd));
            Close(p, wnd);
        }
    for (Program& program : programs) {
        auto& samples = program.figures.paintSamples;
        std::sort(samples.begin(), samples.end());
        program.figures.firstPaintMs = samples.front() < 0 ? -1 : samples[samples.size() / 2];
    }
}

// CPU time over `seconds` of running after the first paint, and the peak memory by then.
void MeasureRunning(Program& program, int seconds) {
    driver::Process p;
    HWND wnd = nullptr;
    StartUntilPainted(p, program.exe, program.cls, program.title, &wnd);
    const int unixPid = FindUnixPid(program.exe);
    const double cpu0 = unixPid > 0 ? UnixCpuMs(unixPid) : 0;
    Sleep(static_cast<DWORD>(seconds) * 1000);
    if (unixPid > 0) {
        program.figures.cpuMs = UnixCpuMs(unixPid) - cpu0;
        program.figures.peakMiB = UnixPeakMiB(unixPid);
    }
    Close(p, wnd);
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
    printf("%-10s first paints of %zu starts, sorted:", "", f.paintSamples.size());
    for (double ms : f.paintSamples) printf(" %.0f", ms);
    printf(" ms\n");
}

}  // namespace

int main(int argc, char** argv) {
    int seconds = 60;
    if (const char* env = getenv("ZENTARO_BENCH_SECONDS")) seconds = atoi(env);
    if (argc > 1) seconds = atoi(argv[1]);
    if (seconds < 1) seconds = 1;
    driver::ResetZentaroSettings();
    printf("resource figures over %d s of running each, against the baseline clock (same run)\n", seconds);
    std::vector<Program> programs = {
        {"baseline", "baseline_clock.exe", "BaselineClock", "Baseline", {}},
        {"zentaro", "zentaro.exe", "frmMain", "Zentaro", {}},
        {"vitaro", "vitaro.exe", nullptr, "Vitaro", {}},
    };
    MeasureFirstPaints(programs);
    for (Program& program : programs) MeasureRunning(program, seconds);
    for (const Program& program : programs) Report(program.name, program.figures, programs.front().figures);
    return 0;
}
