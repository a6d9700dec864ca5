// Timing rules of the clock's one-second tick that do not depend on the platform: when the
// next tick is due, and whether a tick sounds the hourly chime.
#pragma once
#include <cstdint>

namespace clocktick {

// The tick fires this long after each wall-clock second boundary, so the face changes when the
// second changes even when the timer runs a little early or late.
inline constexpr unsigned kTickPastSecondMs = 16;
inline constexpr unsigned kTickPeriodMs = 1000;

// Milliseconds from a tick at millisecond `millisecond` of the current second to the next tick.
unsigned DelayToNextTick(unsigned millisecond);

// A local time as the chime sees it.
struct ClockReading {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0;
};

// Sounds the chime once an hour: at the first tick that falls in minute 0 of an hour, however
// late in that minute it comes, and never twice for the same hour.
class HourlyChimeRule {
public:
    // True when this tick should start the chime.
    bool ShouldChime(const ClockReading& now);

private:
    std::int64_t lastHourChimed_ = -1;  // year/month/day/hour folded into one number
};

}  // namespace clocktick
