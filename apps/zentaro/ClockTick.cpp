#include "apps/zentaro/ClockTick.h"

namespace clocktick {

unsigned DelayToNextTick(unsigned millisecond) {
    if (millisecond >= kTickPeriodMs) millisecond = kTickPeriodMs - 1;
    return kTickPeriodMs - millisecond + kTickPastSecondMs;
}

bool HourlyChimeRule::ShouldChime(const ClockReading& now) {
    if (now.minute != 0) return false;
    const std::int64_t hourKey =
        ((static_cast<std::int64_t>(now.year) * 100 + now.month) * 100 + now.day) * 100 + now.hour;
    if (hourKey == lastHourChimed_) return false;
    lastHourChimed_ = hourKey;
    return true;
}

}  // namespace clocktick
