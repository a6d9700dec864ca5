#include "tests/e2e/driver/Driver.h"

#include "tests/e2e/driver/Png.h"

#include "alarms/AlarmItem.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

#ifndef ZENTARO_BIN_DIR
#define ZENTARO_BIN_DIR ""
#endif

namespace driver {

Process::Process(Process&& o) noexcept : pi_(std::exchange(o.pi_, PROCESS_INFORMATION{})) {}

Process& Process::operator=(Process&& o) noexcept {
    if (this != &o) {
        Kill();
        pi_ = std::exchange(o.pi_, PROCESS_INFORMATION{});
    }
    return *this;
}

Process::~Process() { Kill(); }

bool Process::Start(const std::string& path, const std::string& workDir, const std::string& arguments) {
    Kill();
    std::string dir = workDir;
    if (dir.empty()) {
        const auto slash = path.find_last_of("\\/");
        if (slash != std::string::npos) dir = path.substr(0, slash);
    }
    std::string cmd = "\"" + path + "\"";
    if (!arguments.empty()) cmd += " " + arguments;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    return CreateProcessA(path.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          dir.empty() ? nullptr : dir.c_str(), &si, &pi_) != FALSE;
}

bool Process::Running() const {
    return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT;
}

bool Process::WaitExit(DWORD timeoutMs) {
    return pi_.hProcess && WaitForSingleObject(pi_.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

DWORD Process::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (pi_.hProcess) GetExitCodeProcess(pi_.hProcess, &code);
    return code;
}

void Process::Kill() {
    if (pi_.hProcess) {
        if (Running()) {
            TerminateProcess(pi_.hProcess, 1);
            WaitForSingleObject(pi_.hProcess, 5000);
        }
        CloseHandle(pi_.hProcess);
    }
    if (pi_.hThread) CloseHandle(pi_.hThread);
    pi_ = {};
}

namespace {
struct FindState {
    const char* cls;
    const char* title;
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND wnd, LPARAM lp) {
    auto* st = reinterpret_cast<FindState*>(lp);
    if (st->pid) {
        DWORD pid = 0;
        GetWindowThreadProcessId(wnd, &pid);
        if (pid != st->pid) return TRUE;
    }
    if (st->cls) {
        char cls[256] = {};
        GetClassNameA(wnd, cls, sizeof cls);
        if (lstrcmpiA(cls, st->cls) != 0) return TRUE;
    }
    if (st->title && WindowText(wnd) != st->title) return TRUE;
    st->found.push_back(wnd);
    return TRUE;
}
}  // namespace

std::vector<HWND> FindTopWindows(const char* cls, const char* title, DWORD pid) {
    FindState st{cls, title, pid, {}};
    EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&st));
    return st.found;
}

HWND WaitForWindow(const char* cls, const char* title, DWORD timeoutMs, DWORD pid) {
    HWND found = nullptr;
    WaitFor([&] {
        auto all = FindTopWindows(cls, title, pid);
        found = all.empty() ? nullptr : all.front();
        return found != nullptr;
    }, timeoutMs);
    return found;
}

bool WaitForNoWindow(const char* cls, const char* title, DWORD timeoutMs) {
    return WaitFor([&] { return FindTopWindows(cls, title).empty(); }, timeoutMs);
}

std::string WindowText(HWND wnd) {
    char buf[1024] = {};
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutA(wnd, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, &got))
        return {};
    buf[sizeof buf - 1] = '\0';
    return buf;
}

HWND ChildById(HWND parent, int id) { return GetDlgItem(parent, id); }

namespace {
struct ChildState {
    HWND parent;
    const char* cls;
    std::vector<HWND> found;
};
BOOL CALLBACK CollectChild(HWND wnd, LPARAM lp) {
    auto* st = reinterpret_cast<ChildState*>(lp);
    if (st->cls) {
        char cls[256] = {};
        GetClassNameA(wnd, cls, sizeof cls);
        if (lstrcmpiA(cls, st->cls) != 0) return TRUE;
    }
    st->found.push_back(wnd);
    return TRUE;
}
}  // namespace

std::vector<HWND> Children(HWND parent, const char* cls) {
    ChildState st{parent, cls, {}};
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&st));
    return st.found;
}

std::string BinDir() {
    char own[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableA("ZENTARO_BIN_DIR", own, sizeof own);
    std::string dir = n > 0 && n < sizeof own ? own : ZENTARO_BIN_DIR;
    for (char& c : dir)
        if (c == '/') c = '\\';
    return dir;
}
std::string ProgramPath(const std::string& exeName) { return BinDir() + "\\" + exeName; }

void ResetZentaroSettings() { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Zentaro"); }

std::optional<std::string> UserText(const char* key, const char* name) {
    char text[1024] = {};
    DWORD size = sizeof text - 1;
    if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::string(text);
}

std::optional<DWORD> UserDword(const char* key, const char* name) {
    DWORD value = 0, size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

void StoreDailyItem(int n, int minuteOfDay, unsigned char mode, const std::string& text) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Zentaro\\Data", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    const BYTE record[alarms::kRecordSize] = {1, mode, alarms::kTimeDaily, 0,
                                              static_cast<BYTE>(minuteOfDay / 60), static_cast<BYTE>(minuteOfDay % 60),
                                              alarms::kCenturyByte, 26, 1, 1, 0};
    RegSetValueExA(key, ("Data" + std::to_string(n)).c_str(), 0, REG_BINARY, record, sizeof record);
    RegSetValueExA(key, ("Text" + std::to_string(n)).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
    const DWORD count = static_cast<DWORD>(n);
    RegSetValueExA(key, "DataCount", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count), sizeof count);
    RegCloseKey(key);
}

HWND StartClock(Process& clock, DWORD faceTimeoutMs) {
    if (!clock.Start(ProgramPath("zentaro.exe"))) return nullptr;
    HWND face = WaitForWindow("frmMain", "Zentaro", faceTimeoutMs, clock.id());
    if (face && !WaitFor([&] { return IsWindowVisible(face) != FALSE; }, 10000)) return nullptr;
    return face;
}

int NextMinuteOfDay(int latestSecond) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    if (now.wSecond >= latestSecond) {
        Sleep((61 - now.wSecond) * 1000);
        GetLocalTime(&now);
    }
    return (now.wHour * 60 + now.wMinute + 1) % (24 * 60);
}

namespace {
// The file libfaketime reads the wall clock's shift from ("+N" seconds), as a Windows path.
std::string FakeTimeFile() {
    char unixPath[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableA("FAKETIME_TIMESTAMP_FILE", unixPath, sizeof unixPath);
    if (n == 0 || n >= sizeof unixPath) return {};
    std::string path = std::string("Z:") + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

long long UtcSecondsNow() {
    FILETIME ft{};
    GetSystemTimeAsFileTime(&ft);
    return static_cast<long long>((ULARGE_INTEGER{{ft.dwLowDateTime, ft.dwHighDateTime}}.QuadPart) / 10000000ULL);
}
}  // namespace

bool ShiftWallClock(long long seconds) {
    const std::string path = FakeTimeFile();
    if (path.empty()) return false;
    long long shift = 0;
    if (FILE* f = fopen(path.c_str(), "rb")) {
        if (fscanf(f, "%lld", &shift) != 1) shift = 0;
        fclose(f);
    }
    const long long before = UtcSecondsNow();
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool written = fprintf(f, "%+lld\n", shift + seconds) > 0;
    if (fclose(f) != 0 || !written) return false;
    // libfaketime reads the file again at the next clock read; wait until this process sees it.
    return WaitFor([&] { return llabs(UtcSecondsNow() - (before + seconds)) <= 2; }, 5000);
}

bool SetWallClockUtc(const SYSTEMTIME& utc) {
    FILETIME ft{};
    if (!SystemTimeToFileTime(&utc, &ft)) return false;
    const long long target =
        static_cast<long long>(ULARGE_INTEGER{{ft.dwLowDateTime, ft.dwHighDateTime}}.QuadPart / 10000000ULL);
    return ShiftWallClock(target - UtcSecondsNow());
}

int MinuteOfDayAhead(int ahead) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return (now.wHour * 60 + now.wMinute + ahead) % (24 * 60);
}

void ApproachMinute(int minuteOfDay, int secondsBefore) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const int day = 24 * 3600;
    const int wait = ((minuteOfDay * 60 - secondsBefore - (now.wHour * 3600 + now.wMinute * 60 + now.wSecond)) % day + day) % day;
    if (!ShiftWallClock(wait)) Sleep(static_cast<DWORD>(wait) * 1000);
}

SYSTEMTIME Utc(int year, int month, int day, int hour, int minute, int second) {
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    return t;
}

bool SaveScreenPng(const RECT& r, const std::string& path) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return false;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = false;
    if (dib && bits) {
        HGDIOBJ old = SelectObject(mem, dib);
        BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY | CAPTUREBLT);
        GdiFlush();
        std::vector<std::uint8_t> rgb(static_cast<std::size_t>(w) * h * 3);
        const auto* px = static_cast<const std::uint8_t*>(bits);
        for (std::size_t i = 0; i < static_cast<std::size_t>(w) * h; ++i) {
            rgb[i * 3] = px[i * 4 + 2];
            rgb[i * 3 + 1] = px[i * 4 + 1];
            rgb[i * 3 + 2] = px[i * 4];
        }
        SelectObject(mem, old);
        const std::string png = EncodePng(w, h, rgb);
        if (FILE* f = fopen(path.c_str(), "wb")) {
            ok = fwrite(png.data(), 1, png.size(), f) == png.size();
            ok = fclose(f) == 0 && ok;
        }
    }
    if (dib) DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return ok;
}

bool SaveWindowPng(HWND wnd, const std::string& path) {
    RECT r{};
    if (!GetWindowRect(wnd, &r)) return false;
    return SaveScreenPng(r, path);
}

std::string WakeTaskFile() {
    char user[257] = {}, windows[MAX_PATH] = {};
    DWORD size = sizeof user;
    GetUserNameA(user, &size);
    GetWindowsDirectoryA(windows, MAX_PATH);
    return std::string(windows) + "\\system32\\tasks\\Zentaro wake (" + user + ")";
}

}  // namespace driver
