#include "common/WakeSystem.h"

#include <oleauto.h>
#include <taskschd.h>

#include <string>

#include "common/Handles.h"

namespace sys {

namespace {

constexpr std::int64_t kFileTimePerSecond = 10'000'000;
constexpr std::int64_t kSecondsFrom1601To1970 = 11'644'473'600;

// Named here rather than taken from an import library: only these three are needed.
constexpr GUID kTaskSchedulerClass{0x0f87369f, 0xa4e5, 0x4cfc, {0xbd, 0x3e, 0x73, 0xe6, 0x15, 0x45, 0x72, 0xdd}};
constexpr GUID kTaskServiceInterface{0x2faba4c7, 0x4da9, 0x4013, {0x96, 0x97, 0x20, 0xcc, 0x3f, 0xd4, 0x0f, 0x85}};
constexpr GUID kSleepSubgroup{0x238c9fa8, 0x0aad, 0x41ed, {0x83, 0xf4, 0x97, 0xbe, 0x24, 0x2c, 0x8f, 0x20}};
constexpr GUID kAllowWakeTimers{0xbd3b718a, 0x0680, 0x4d9d, {0x8a, 0xb2, 0xe1, 0xd2, 0xb4, 0xac, 0x80, 0x6d}};

// Releases a COM interface pointer at the end of its scope.
template <typename T>
struct ComPtr {
    T* p = nullptr;
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() {
        if (p) p->Release();
    }
    T** out() { return &p; }
    T* operator->() const { return p; }
};

// A BSTR owned for its scope.
struct Bstr {
    BSTR text;
    explicit Bstr(const std::wstring& s) : text(SysAllocStringLen(s.data(), static_cast<UINT>(s.size()))) {}
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(text); }
};

// COM for the calling thread, for the scope of one call; a thread already in another
// apartment keeps it.
struct ComScope {
    HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ComScope() = default;
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope() {
        if (SUCCEEDED(hr)) CoUninitialize();
    }
};

std::wstring UserName() {
    wchar_t name[257] = {};
    DWORD size = static_cast<DWORD>(std::size(name));
    if (!GetUserNameW(name, &size)) return L"user";
    name[std::size(name) - 1] = L'\0';
    return name;
}

std::wstring ProgramPathWide() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) return path.substr(0, n);
        path.resize(path.size() * 2);
    }
}

HRESULT WithRootFolder(HRESULT (*act)(ITaskFolder* folder, const Bstr& name, std::optional<std::int64_t> instant),
                       std::optional<std::int64_t> instant) {
    ComScope com;
    ComPtr<ITaskService> service;
    HRESULT hr = CoCreateInstance(kTaskSchedulerClass, nullptr, CLSCTX_INPROC_SERVER, kTaskServiceInterface,
                                  reinterpret_cast<void**>(service.out()));
    if (FAILED(hr)) return hr;
    VARIANT none;
    VariantInit(&none);
    hr = service->Connect(none, none, none, none);
    if (FAILED(hr)) return hr;
    ComPtr<ITaskFolder> folder;
    Bstr root(L"\\");
    hr = service->GetFolder(root.text, folder.out());
    if (FAILED(hr)) return hr;
    const Bstr name(wake::TaskName(UserName()));
    return act(folder.p, name, instant);
}

HRESULT RegisterWakeTask(ITaskFolder* folder, const Bstr& name, std::optional<std::int64_t> instant) {
    const Bstr xml(wake::TaskDefinition(*instant, ProgramPathWide()));
    VARIANT none;
    VariantInit(&none);
    ComPtr<IRegisteredTask> registered;
    return folder->RegisterTask(name.text, xml.text, TASK_CREATE_OR_UPDATE, none, none, TASK_LOGON_INTERACTIVE_TOKEN,
                                none, registered.out());
}

HRESULT DeleteWakeTask(ITaskFolder* folder, const Bstr& name, std::optional<std::int64_t>) {
    const HRESULT hr = folder->DeleteTask(name.text, 0);
    return hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) ? S_OK : hr;
}

}  // namespace

DWORD RealWakeTimer(std::optional<std::int64_t> instant) {
    // Held for the process's life: the wake ends with the clock.
    static win::AutoHandle timer(CreateWaitableTimerW(nullptr, TRUE, nullptr));
    if (!timer) return GetLastError();
    if (!instant) return CancelWaitableTimer(timer.get()) ? ERROR_SUCCESS : GetLastError();
    LARGE_INTEGER due{};
    due.QuadPart = (*instant + kSecondsFrom1601To1970) * kFileTimePerSecond;  // positive: absolute, UTC
    SetLastError(ERROR_SUCCESS);
    if (!SetWaitableTimer(timer.get(), &due, 0, nullptr, nullptr, TRUE)) return GetLastError();
    // Set, but the computer cannot be woken by it.
    return GetLastError() == ERROR_NOT_SUPPORTED ? ERROR_NOT_SUPPORTED : ERROR_SUCCESS;
}

HRESULT RealWakeTask(std::optional<std::int64_t> instant) {
    return WithRootFolder(instant ? RegisterWakeTask : DeleteWakeTask, instant);
}

wake::PlanWakeSettings RealPlanWake() {
    // powrprof is loaded on first use: most clocks never ask. Kept for the process's life.
    static HMODULE module = LoadLibraryW(L"powrprof.dll");
    if (!module) return {};
    using ActiveScheme = DWORD(WINAPI*)(HKEY, GUID**);
    using ReadIndex = DWORD(WINAPI*)(HKEY, const GUID*, const GUID*, const GUID*, DWORD*);
    const auto active = reinterpret_cast<ActiveScheme>(reinterpret_cast<void*>(GetProcAddress(module, "PowerGetActiveScheme")));
    const auto readMains = reinterpret_cast<ReadIndex>(reinterpret_cast<void*>(GetProcAddress(module, "PowerReadACValueIndex")));
    const auto readBattery = reinterpret_cast<ReadIndex>(reinterpret_cast<void*>(GetProcAddress(module, "PowerReadDCValueIndex")));
    GUID* scheme = nullptr;
    if (!active || !readMains || !readBattery || active(nullptr, &scheme) != ERROR_SUCCESS || !scheme) return {};
    wake::PlanWakeSettings plan;
    DWORD value = 0;
    if (readMains(nullptr, scheme, &kSleepSubgroup, &kAllowWakeTimers, &value) == ERROR_SUCCESS) plan.mains = value;
    if (readBattery(nullptr, scheme, &kSleepSubgroup, &kAllowWakeTimers, &value) == ERROR_SUCCESS) plan.battery = value;
    LocalFree(scheme);
    return plan;
}

}  // namespace sys
