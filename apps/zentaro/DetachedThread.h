// The short background threads of the clock (the hourly chime's sound and beeps): started
// without waiting for them, but tracked, so that they can be told to stop and are joined before
// the window and the program's statics they use go away.
#pragma once
#include <functional>

namespace zentaro {

// Starts a thread running `routine` and returns at once. The routine owns copies of what it
// needs and checks BackgroundStopRequested() between its steps. A failure to start is not
// reported.
void StartDetachedThread(std::function<void()> routine);

// Threads started by StartDetachedThread that have not yet returned.
int DetachedThreadsRunning();

// True once StopDetachedThreads has asked the running threads to end.
bool BackgroundStopRequested();

// Asks every running thread to stop and waits for them, at most timeoutMs in all. True when
// all have ended; new threads may start afterwards.
inline constexpr unsigned long kStopThreadsTimeoutMs = 5000;
bool StopDetachedThreads(unsigned long timeoutMs = kStopThreadsTimeoutMs);

}  // namespace zentaro
