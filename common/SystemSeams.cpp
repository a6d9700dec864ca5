#include "common/SystemSeams.h"

#include "common/Dpi.h"
#include "common/WakeSystem.h"

#include <mmsystem.h>
#include <shellapi.h>
#include <oleacc.h>

#include <vector>

// winmm exports mciExecute; MinGW's headers do not declare it.
extern "C" BOOL WINAPI mciExecute(LPCSTR command);

namespace sys {
namespace {

// hhctrl.ocx is loaded on first use: most runs never open help.
HWND RealHtmlHelp(HWND caller, const char* file, UINT command, DWORD_PTR data) {
    using HtmlHelpFn = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
    static HMODULE module = LoadLibraryA("hhctrl.ocx");  // kept for the process's life
    if (!module) return nullptr;
    auto fn = reinterpret_cast<HtmlHelpFn>(reinterpret_cast<void*>(GetProcAddress(module, "HtmlHelpA")));
    return fn ? fn(caller, file, command, data) : nullptr;
}

// SHQueryUserNotificationState is looked up at run time: a system without it, or a call that
// fails, gives 0, which no caller takes for busy.
int RealNotificationState() {
    using QueryFn = HRESULT(WINAPI*)(int*);  // the state is a QUERY_USER_NOTIFICATION_STATE
    static const QueryFn query = [] {
        HMODULE shell = LoadLibraryA("shell32.dll");  // kept for the process's life
        return shell ? reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
                           GetProcAddress(shell, "SHQueryUserNotificationState")))
                     : nullptr;
    }();
    int state = 0;
    return query && SUCCEEDED(query(&state)) ? state : 0;
}

ULONGLONG RealLastInputAge() {
    LASTINPUTINFO last{};
    last.cbSize = sizeof(last);
    if (!GetLastInputInfo(&last)) return 0;
    // Both are 32-bit tick counts: the unsigned difference stays right across their wrap.
    return static_cast<DWORD>(GetTickCount() - last.dwTime);
}

BOOL RealEnableShutdownPrivilege() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return FALSE;
    TOKEN_PRIVILEGES tp{};
    BOOL ok = LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &tp.Privileges[0].Luid);
    if (ok) {
        tp.PrivilegeCount = 1;
        tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        ok = AdjustTokenPrivileges(token, FALSE, &tp, 0, nullptr, nullptr) && GetLastError() == ERROR_SUCCESS;
    }
    CloseHandle(token);
    return ok;
}

bool RealHighContrast() {
    HIGHCONTRASTA setting{};
    setting.cbSize = sizeof setting;
    return SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0) &&
           (setting.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// Releases a COM interface it holds.
template <class Interface>
class ComRef {
public:
    ComRef() = default;
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() { if (p_) p_->Release(); }
    Interface** out() { return &p_; }
    Interface* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
private:
    Interface* p_ = nullptr;
};

// The annotation service's identifiers as oleacc.h declares them, defined here so that the
// programs need not link oleacc: the service is reached through COM, and a system without it
// only makes CoCreateInstance fail.
constexpr CLSID kAccPropServicesClass{0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr IID kAccPropServicesInterface{0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID kNameProperty{0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};
constexpr GUID kValueProperty{0x123fe443, 0x211a, 0x4615, {0x95, 0x27, 0xc4, 0x5a, 0x7e, 0x93, 0x71, 0x7a}};
constexpr GUID kDescriptionProperty{0x4d48dfe4, 0xbd3f, 0x491f, {0xa6, 0x48, 0x49, 0x2d, 0x6f, 0x20, 0xc5, 0x88}};

// Dynamic Annotation through oleacc's IAccPropServices. COM stays initialised on the calling
// thread for the program's life once asked for (an annotation outlives the call that set it);
// the service object is made for each call, which happens at most once a minute.
bool RealAnnotate(HWND window, AccessibleText which, const std::string& text) {
    static thread_local const bool comReady = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    if (!comReady) return false;
    ComRef<IAccPropServices> services;
    if (FAILED(CoCreateInstance(kAccPropServicesClass, nullptr, CLSCTX_INPROC_SERVER, kAccPropServicesInterface,
                                reinterpret_cast<void**>(services.out()))) ||
        !services)
        return false;
    const MSAAPROPID property = which == AccessibleText::name    ? kNameProperty
                                : which == AccessibleText::value ? kValueProperty
                                                                 : kDescriptionProperty;
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::vector<wchar_t> wide(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    if (length > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return SUCCEEDED(services->SetHwndPropStr(window, static_cast<DWORD>(OBJID_CLIENT),
                                              static_cast<DWORD>(CHILDID_SELF), property, wide.data()));
}

SeamTable MakeReal() {
    SeamTable t;
    t.getLocalTime = [](SYSTEMTIME& st) { GetLocalTime(&st); };
    t.setLocalTime = [](const SYSTEMTIME& st) { return SetLocalTime(&st); };
    t.tickCount = [] { return GetTickCount64(); };
    t.enableShutdownPrivilege = RealEnableShutdownPrivilege;
    t.exitWindows = [](UINT flags, DWORD reason) { return ExitWindowsEx(flags, reason); };
    t.shellExecute = [](HWND owner, const char* verb, const char* file, const char* params,
                        const char* dir, int show) {
        return ShellExecuteA(owner, verb, file, params, dir, show);
    };
    t.playSound = [](const void* sound, HMODULE module, DWORD flags) {
        return PlaySoundA(static_cast<LPCSTR>(sound), module, flags);
    };
    t.mciCommand = [](const char* command) { mciExecute(command); };
    t.beep = [](DWORD frequency, DWORD ms) { Beep(frequency, ms); };
    t.sleep = [](DWORD ms) { Sleep(ms); };
    t.waveOutDevices = [] { return waveOutGetNumDevs(); };
    t.midiOutDevices = [] { return midiOutGetNumDevs(); };
    t.htmlHelp = RealHtmlHelp;
    t.setScreenSaverRunning = [](BOOL running) {
        BOOL previous = FALSE;
        return SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, running, &previous, 0);
    };
    t.notifyIcon = [](DWORD message, NOTIFYICONDATAA* data) { return Shell_NotifyIconA(message, data); };
    t.exitProcess = [](UINT code) { ExitProcess(code); };
    t.windowDpi = [](HWND window) { return static_cast<UINT>(dpi::PlatformWindowDpi(window)); };
    t.wakeTimer = RealWakeTimer;
    t.wakeTask = RealWakeTask;
    t.planWake = RealPlanWake;
    t.executionState = [](EXECUTION_STATE state) { return SetThreadExecutionState(state); };
    t.notificationState = RealNotificationState;
    t.lastInputAge = RealLastInputAge;
    t.notifyIconKeyboard = [](DWORD message, NOTIFYICONDATAA* data) { return Shell_NotifyIconA(message, data); };
    t.highContrast = RealHighContrast;
    t.annotate = RealAnnotate;
    return t;
}

}  // namespace

const SeamTable& RealSeams() {
    static const SeamTable real = MakeReal();
    return real;
}

SeamTable& Hooks() {
    static SeamTable table = RealSeams();
    return table;
}

}  // namespace sys
