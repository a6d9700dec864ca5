// Starts short-lived detached threads (the hourly chime's sound and beeps).
#pragma once
#include <windows.h>

#include <atomic>

class ThreadLauncher {
public:
    using Routine = DWORD (*)();

    // Starts a thread running routine and returns at once; the thread's handle is closed
    // straight away, so the thread runs on detached. A failure to start is not reported.
    void CreateNewThread(Routine routine);

    // Threads started by any launcher that have not yet returned.
    static int Running();

private:
    static DWORD WINAPI Trampoline(LPVOID routine);
    static std::atomic<int> running_;
};
