#include "apps/zentaro/DetachedThread.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>


namespace zentaro {
namespace {

// The tracking lives in one object that is never destroyed, so that a thread still ending
// while the program's statics go never meets a destroyed mutex or list.
struct Tracker {
    std::mutex lock;
    std::vector<HANDLE> threads;  // owned: closed once the thread is joined or has ended
    std::atomic<int> running{0};
    std::atomic<bool> stop{false};

    // Closes the handles of threads that have ended. Called with `lock` held.
    void ForgetEnded() {
        std::erase_if(threads, [](HANDLE t) {
            if (WaitForSingleObject(t, 0) != WAIT_OBJECT_0) return false;
            CloseHandle(t);
            return true;
        });
    }
};

Tracker& Threads() {
    static Tracker* const tracker = new Tracker;  // deliberately never freed (see Tracker)
    return *tracker;
}

DWORD WINAPI RunRoutine(LPVOID routine) {
    const std::unique_ptr<std::function<void()>> owned(static_cast<std::function<void()>*>(routine));
    (*owned)();
    --Threads().running;
    return 0;
}

// Stops and joins the threads when the program's statics are destroyed, should no window have
// done it before (an exit that skipped WM_DESTROY).
struct JoinAtExit {
    ~JoinAtExit() { StopDetachedThreads(); }
} g_joinAtExit;

}  // namespace

void StartDetachedThread(std::function<void()> routine) {
    Tracker& t = Threads();
    auto owned = std::make_unique<std::function<void()>>(std::move(routine));
    std::lock_guard<std::mutex> guard(t.lock);
    t.ForgetEnded();
    ++t.running;
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, RunRoutine, owned.get(), 0, &id);
    if (thread) {
        owned.release();  // the thread frees it
        t.threads.push_back(thread);
    } else {
        --t.running;
    }
}

int DetachedThreadsRunning() { return Threads().running.load(); }

bool BackgroundStopRequested() { return Threads().stop.load(); }

bool StopDetachedThreads(unsigned long timeoutMs) {
    Tracker& t = Threads();
    std::lock_guard<std::mutex> guard(t.lock);
    t.stop = true;
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    bool allEnded = true;
    for (HANDLE thread : t.threads) {
        const ULONGLONG now = GetTickCount64();
        const DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
        if (WaitForSingleObject(thread, left) != WAIT_OBJECT_0) allEnded = false;
    }
    t.ForgetEnded();
    t.stop = false;
    return allEnded;
}

}  // namespace zentaro
