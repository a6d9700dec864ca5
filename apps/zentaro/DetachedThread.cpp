#include "apps/zentaro/DetachedThread.h"

#include <windows.h>

#include <atomic>
#include <memory>

namespace zentaro {
namespace {

std::atomic<int> g_running{0};

DWORD WINAPI RunRoutine(LPVOID routine) {
    const std::unique_ptr<std::function<void()>> owned(static_cast<std::function<void()>*>(routine));
    (*owned)();
    --g_running;
    return 0;
}

}  // namespace

void StartDetachedThread(std::function<void()> routine) {
    auto owned = std::make_unique<std::function<void()>>(std::move(routine));
    ++g_running;
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, RunRoutine, owned.get(), 0, &id);
    if (thread) {
        owned.release();  // the thread frees it
        CloseHandle(thread);
    } else {
        --g_running;
    }
}

int DetachedThreadsRunning() { return g_running.load(); }

}  // namespace zentaro
