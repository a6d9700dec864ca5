// The platform calls behind the wake seams of common/SystemSeams.h (see common/Wake.h).
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>

#include "common/WakeRules.h"

namespace sys {

// Sets the clock's one waitable timer with resume to `instant` (UTC seconds), or cancels it.
// ERROR_SUCCESS; ERROR_NOT_SUPPORTED when it is set but the computer cannot resume from it;
// otherwise the error that refused it.
DWORD RealWakeTimer(std::optional<std::int64_t> instant);
// Registers the user's wake task for `instant`, or removes it (a task that is not there is
// not an error).
HRESULT RealWakeTask(std::optional<std::int64_t> instant);
// The active power plan's "Allow wake timers" for mains and battery.
wake::PlanWakeSettings RealPlanWake();

}  // namespace sys
