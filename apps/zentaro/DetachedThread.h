// Short-lived detached threads (the hourly chime's sound and beeps), counted while they run.
#pragma once
#include <functional>

namespace zentaro {

// Starts a thread running `routine` and returns at once; the thread's handle is closed straight
// away, so the thread runs on detached. The routine owns copies of what it needs, since the
// window that started it may be gone before it ends. A failure to start is not reported.
void StartDetachedThread(std::function<void()> routine);

// Threads started by StartDetachedThread that have not yet returned.
int DetachedThreadsRunning();

}  // namespace zentaro
