#include "shell/clsThread.h"

std::atomic<int> clsThread::running_{0};

DWORD WINAPI clsThread::Trampoline(LPVOID routine) {
    const DWORD result = reinterpret_cast<Routine>(routine)();
    --running_;
    return result;
}

void clsThread::CreateNewThread(Routine routine) {
    ++running_;
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, Trampoline, reinterpret_cast<LPVOID>(routine), 0, &id);
    if (thread) CloseHandle(thread);
    else --running_;
}

int clsThread::Running() { return running_.load(); }
