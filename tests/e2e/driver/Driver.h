// Drives the real programs from another process: starts them, finds their windows, reads
// and sends what a user would, and photographs the screen.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace driver {

// A started program; ended (if still running) when the object goes away.
class Process {
public:
    Process() = default;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    Process(Process&& o) noexcept;
    Process& operator=(Process&& o) noexcept;
    ~Process();

    // Starts path with the given working directory (empty: the program's own directory) and
    // command-line arguments.
    bool Start(const std::string& path, const std::string& workDir = {}, const std::string& arguments = {});
    DWORD id() const { return pi_.dwProcessId; }
    HANDLE handle() const { return pi_.hProcess; }
    bool Running() const;
    // Waits for the end; true when the process ended within timeoutMs.
    bool WaitExit(DWORD timeoutMs);
    DWORD ExitCode() const;
    void Kill();

private:
    PROCESS_INFORMATION pi_{};
};

// Top-level windows of the class and title (either may be null for "any"), optionally only
// those of one process.
std::vector<HWND> FindTopWindows(const char* cls, const char* title, DWORD pid = 0);
// Polls for a visible or hidden top-level window until timeoutMs; null when none appeared.
HWND WaitForWindow(const char* cls, const char* title, DWORD timeoutMs, DWORD pid = 0);
// Waits until no such window exists; true on success.
bool WaitForNoWindow(const char* cls, const char* title, DWORD timeoutMs);
// Polls until pred() holds or timeoutMs passes.
template <typename Pred>
bool WaitFor(Pred pred, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!pred()) {
        if (GetTickCount64() >= end) return pred();
        Sleep(25);
    }
    return true;
}

// The text of another process's window (WM_GETTEXT is marshalled between processes).
std::string WindowText(HWND wnd);
// The child of parent with the given control identifier, or the first of a class.
HWND ChildById(HWND parent, int id);
std::vector<HWND> Children(HWND parent, const char* cls = nullptr);

// The directory of the built programs (as installed) and a program in it: the test's own copy
// when it runs with one (ZENTARO_BIN_DIR, see scripts/wine-test.sh).
std::string BinDir();
std::string ProgramPath(const std::string& exeName);

// Deletes HKEY_CURRENT_USER\Software\Zentaro of the test prefix: a fresh profile.
void ResetZentaroSettings();
// A REG_SZ (up to 1,023 bytes) or REG_DWORD value below HKEY_CURRENT_USER; none when it is
// absent or of another type.
std::optional<std::string> UserText(const char* key, const char* name);
std::optional<DWORD> UserDword(const char* key, const char* name);
// Stores item n (and DataCount = n) as the program stores it: a daily item at minuteOfDay
// with the action `mode` and the text.
void StoreDailyItem(int n, int minuteOfDay, unsigned char mode, const std::string& text);
// Where the task scheduler keeps the definition of the user's wake task (common/Wake.h).
std::string WakeTaskFile();
// Starts zentaro.exe as `clock` and waits for its face to show; null when it did not start,
// no face appeared within faceTimeoutMs, or the face stayed hidden.
HWND StartClock(Process& clock, DWORD faceTimeoutMs = 20000);

// The next minute of the day (0..1439), after waiting for the next minute to begin when the
// current one is already at second `latestSecond` or later: a test then has the rest of a
// minute to store an item for that minute before it begins. (With a movable wall clock,
// MinuteOfDayAhead and ApproachMinute need no waiting.)
int NextMinuteOfDay(int latestSecond);

// The minute of the day `ahead` minutes after the current one (0..1439).
int MinuteOfDayAhead(int ahead);
// Brings the local time to `secondsBefore` seconds before minuteOfDay begins: the movable wall
// clock is moved forward; without one, this waits. Call it once the programs are up, so that a
// slow start never eats the lead.
void ApproachMinute(int minuteOfDay, int secondsBefore);

// The wall clock of every process of this test, when it runs under libfaketime (the test's
// --faketime in tests/e2e/CMakeLists.txt): moved by `seconds` (negative: back), or so that it
// reads the UTC time `utc` now, and running on from there. False when the test has no such
// clock. The monotonic clock stays real unless the test fakes it too.
bool ShiftWallClock(long long seconds);
bool SetWallClockUtc(const SYSTEMTIME& utc);
// SYSTEMTIME of a UTC date and time.
SYSTEMTIME Utc(int year, int month, int day, int hour, int minute, int second);

// Saves the screen rectangle r (screen coordinates) as a PNG file.
bool SaveScreenPng(const RECT& r, const std::string& path);
bool SaveWindowPng(HWND wnd, const std::string& path);

}  // namespace driver
