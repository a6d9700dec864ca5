#include "apps/zentaro/ChimeThreads.h"

std::atomic<int> ThreadLauncher::running_{0};

DWORD WINAPI ThreadLauncher::Trampoline(LPVOID routine) {
    const DWORD result = reinterpret_cast<Routine>(routine)();
    --running_;
    return result;
}

void ThreadLauncher::CreateNewThread(Routine routine) {
    ++running_;
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, Trampoline, reinterpret_cast<LPVOID>(routine), 0, &id);
    if (thread) CloseHandle(thread);
    else --running_;
}

int ThreadLauncher::Running() { return running_.load(); }
