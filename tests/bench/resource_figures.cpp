// Resource figures of the real programs against the baseline clock, measured in one run:
// CPU time over a stretch of running with the pointer parked away from every window, the
// same with the pointer resting on the clock (several visits, the worst one counts), peak
// working set, and the time from start to the first painted window. Prints each figure and
// its ratio to the baseline's.
//   bench_resources.exe [seconds [visits]]   (default 60 s and 3 visits; ZENTARO_BENCH_SECONDS
//   overrides the seconds)
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
    double cpuMs = 0;                  // pointer parked
    std::vector<double> hoverSamples;  // pointer resting on the window, one per visit
    double hoveredCpuMs = -1;          // the worst visit; -1 when not measured
    int tipsSeen = 0;                  // visits in which a tool tip of the program showed
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

// A screen point on the window's visible shape, as near its centre as the shape allows; the
// centre when the window has no region.
POINT PointOnWindow(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    HRGN shape = CreateRectRgn(0, 0, 0, 0);  // deleted below
    const bool shaped = GetWindowRgn(wnd, shape) != ERROR;
    POINT found = centre;
    const int width = r.right - r.left, height = r.bottom - r.top;
    for (int step = 0; shaped && step < std::max(width, height) / 2; step += 2) {
        const POINT tries[] = {{centre.x, centre.y + step}, {centre.x, centre.y - step},
                               {centre.x + step, centre.y}, {centre.x - step, centre.y}};
        const auto on = std::find_if(std::begin(tries), std::end(tries), [&](POINT p) {
            return PtInRegion(shape, p.x - r.left, p.y - r.top) && WindowFromPoint(p) == wnd;
        });
        if (on != std::end(tries)) {
            found = *on;
            break;
        }
    }
    DeleteObject(shape);
    return found;
}

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
    bool firstPaint;  // started in the rounds of first paints
    bool hover;       // measured with the pointer resting on it too
    Figures figures;
};

// The time to the first paint is the median of several starts taken in rounds, each round
// starting every program once: one start varies by tens of milliseconds with the machine's
// load, and the rounds let a passing load fall on all programs alike. Each round starts with
// the next program, so that each follows every other equally often: a program's exit leaves
// work behind in Wine's own processes (the clock's tray icon going, for one), which would
// otherwise always fall on the start of the same next program.
constexpr int kPaintRounds = 9;

void MeasureFirstPaints(std::vector<Program>& programs) {
    const std::size_t count = programs.size();
    for (int round = 0; round < kPaintRounds; ++round)
        for (std::size_t i = 0; i < count; ++i) {
            Program& program = programs[(round + i) % count];
            if (!program.firstPaint) continue;
            driver::Process p;
            HWND wnd = nullptr;
            program.figures.paintSamples.push_back(StartUntilPainted(p, program.exe, program.cls, program.title, &wnd));
            Close(p, wnd);
        }
    for (Program& program : programs) {
        auto& samples = program.figures.paintSamples;
        if (samples.empty()) continue;
        std::sort(samples.begin(), samples.end());
        program.figures.firstPaintMs = samples.front() < 0 ? -1 : samples[samples.size() / 2];
    }
}

// Between two visits the pointer stays away long enough for any program to notice it left.
constexpr DWORD kAwayMs = 5000;

BOOL CALLBACK FindShownTip(HWND wnd, LPARAM process) {
    DWORD owner = 0;
    GetWindowThreadProcessId(wnd, &owner);
    char cls[32] = {};
    GetClassNameA(wnd, cls, sizeof cls);
    if (owner != static_cast<DWORD>(process) || lstrcmpiA(cls, "tooltips_class32") != 0 || !IsWindowVisible(wnd))
        return TRUE;
    SetLastError(ERROR_SUCCESS);
    return FALSE;
}

// A tool tip window of the process is shown: the visit really brought the tip up.
bool TipShown(DWORD process) { return !EnumWindows(FindShownTip, static_cast<LPARAM>(process)); }

// CPU time over `seconds` of running after the first paint with the pointer parked, and the
// peak memory by then; then, for a program measured hovered, `visits` stretches of the same
// length with the pointer resting on its window, parked again for a moment between them.
void MeasureRunning(Program& program, int seconds, int visits) {
    driver::Process p;
    HWND wnd = nullptr;
    StartUntilPainted(p, program.exe, program.cls, program.title, &wnd);
    const int unixPid = FindUnixPid(program.exe);
    auto cpuOver = [&] {
        const double cpu0 = unixPid > 0 ? UnixCpuMs(unixPid) : 0;
        Sleep(static_cast<DWORD>(seconds) * 1000);
        return unixPid > 0 ? UnixCpuMs(unixPid) - cpu0 : 0;
    };
    program.figures.cpuMs = cpuOver();
    for (int visit = 0; program.hover && wnd && visit < visits; ++visit) {
        ParkPointer();
        Sleep(kAwayMs);
        const POINT on = PointOnWindow(wnd);
        SetCursorPos(on.x, on.y);
        const double cpu0 = unixPid > 0 ? UnixCpuMs(unixPid) : 0;
        program.figures.tipsSeen += driver::WaitFor([&] { return TipShown(p.id()); }, 3000);
        Sleep(static_cast<DWORD>(seconds) * 1000);
        program.figures.hoverSamples.push_back(unixPid > 0 ? UnixCpuMs(unixPid) - cpu0 : 0);
    }
    ParkPointer();
    const auto& hovers = program.figures.hoverSamples;
    if (!hovers.empty()) program.figures.hoveredCpuMs = *std::max_element(hovers.begin(), hovers.end());
    if (unixPid > 0) program.figures.peakMiB = UnixPeakMiB(unixPid);
    Close(p, wnd);
}

std::string Ratio(double a, double b) {
    char text[32];
    if (a < 0) snprintf(text, sizeof text, "(none)");
    else if (b > 0) snprintf(text, sizeof text, "(x%.2f)", a / b);
    else snprintf(text, sizeof text, "(base 0)");
    return text;
}

void Report(const Program& program, const Figures& base) {
    const Figures& f = program.figures;
    printf("%-12s first paint %7.0f ms %-9s  CPU parked %7.1f ms %-9s  peak memory %6.1f MiB %s\n", program.name,
           f.firstPaintMs, Ratio(f.firstPaintMs, base.firstPaintMs).c_str(), f.cpuMs, Ratio(f.cpuMs, base.cpuMs).c_str(),
           f.peakMiB, Ratio(f.peakMiB, base.peakMiB).c_str());
    if (!f.paintSamples.empty()) {
        printf("%-12s first paints of %zu starts, sorted:", "", f.paintSamples.size());
        for (double ms : f.paintSamples) printf(" %.0f", ms);
        printf(" ms\n");
    }
    if (!f.hoverSamples.empty()) {
        printf("%-12s CPU hovered, worst of %zu visits %7.1f ms %s of its parked figure; every visit:", "",
               f.hoverSamples.size(), f.hoveredCpuMs, Ratio(f.hoveredCpuMs, f.cpuMs).c_str());
        for (double ms : f.hoverSamples) printf(" %.1f", ms);
        printf(" ms; the tip showed in %d of them\n", f.tipsSeen);
    }
}

void Target(const char* what, double a, double b, double limit) {
    const bool known = a >= 0 && b > 0;
    printf("  %-52s %s  target <= x%.1f: %s\n", what, Ratio(a, b).c_str(), limit,
           !known ? "not measured" : a <= limit * b ? "met" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
    int seconds = 60, visits = 3;
    if (const char* env = getenv("ZENTARO_BENCH_SECONDS")) seconds = atoi(env);
    if (argc > 1) seconds = atoi(argv[1]);
    if (argc > 2) visits = atoi(argv[2]);
    seconds = std::max(seconds, 1);
    visits = std::max(visits, 1);
    driver::ResetZentaroSettings();
    printf("resource figures over %d s of running each (%d visits of the pointer where hovered), against the "
           "baseline clock (same run)\n", seconds, visits);
    std::vector<Program> programs = {
        {"baseline", "baseline_clock.exe", "BaselineClock", "Baseline", true, false, {}},
        {"baseline tip", "baseline_tip_clock.exe", "BaselineTipClock", "Baseline tip", false, true, {}},
        {"zentaro", "zentaro.exe", "frmMain", "Zentaro", true, true, {}},
        {"vitaro", "vitaro.exe", nullptr, "Vitaro", true, false, {}},
    };
    MeasureFirstPaints(programs);
    for (Program& program : programs) MeasureRunning(program, seconds, visits);
    for (const Program& program : programs) Report(program, programs.front().figures);
    const Figures& tipBase = programs[1].figures;
    const Figures& zentaro = programs[2].figures;
    const Figures& vitaro = programs[3].figures;
    printf("targets (ratios within this run):\n");
    Target("zentaro CPU hovered (worst) / zentaro CPU parked", zentaro.hoveredCpuMs, zentaro.cpuMs, 1.3);
    Target("zentaro CPU parked / baseline tip CPU parked", zentaro.cpuMs, tipBase.cpuMs, 1.2);
    Target("vitaro first paint / baseline first paint", vitaro.firstPaintMs, programs[0].figures.firstPaintMs, 1.2);
    return 0;
}
