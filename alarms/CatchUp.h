// What happens to alarm items whose due minute passed without a tick (the computer asleep,
// the program frozen or not running, the wall clock moved forward), and when an item is due
// next. Minutes are MinuteSerial() numbers of local wall time.
// Pure code: no platform headers.
#pragma once
#include "alarms/AlarmItem.h"
#include "alarms/DueRule.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace alarms {

// A sound, reminder or program item at most this late still runs, once, in due order.
inline constexpr std::int64_t kLateLimitMinutes = 10;
// A forward move of the wall clock up to this size (summer time, a change of zone) passes its
// minutes "now": their items run late. A larger move (the clock set forward by hand) lists them
// as missed instead.
inline constexpr std::int64_t kLongestZoneJumpMinutes = 3 * 60;
// How far back a gap in a running program is looked at; older due minutes are not listed.
inline constexpr std::int64_t kRunLookBackMinutes = 8 * 24 * 60;
// How far back the start of the program looks for items that fell due while it was not running.
inline constexpr std::int64_t kStartLookBackMinutes = 24 * 60;

// Whether an item may run late: never a restart or shutdown (it would end the user's work).
bool MayRunLate(const AlarmItem& item);

// The due minutes of an item within (after, before): the latest one, the one before it (when
// there are two or more) and how many there are.
struct Occurrences {
    std::int64_t latest = 0;
    std::int64_t previous = 0;
    int count = 0;
};
Occurrences OccurrencesBetween(const AlarmItem& item, std::int64_t after, std::int64_t before);

// The first due minute of the item after `after` (within about eight years), if any.
std::optional<std::int64_t> NextOccurrence(const AlarmItem& item, std::int64_t after);

// One row of the "Missed alarms" window: the item, its latest missed minute and how often it
// was missed.
struct MissedItem {
    AlarmItem item;
    std::int64_t latest = 0;
    int count = 0;
};

// The local moment at the start of a minute.
LocalMoment MomentOfMinute(std::int64_t minute);
// "Tue 07:30": weekday and 24-hour time of a minute.
std::string ShortDueText(std::int64_t minute);
// "Tue 12/8/2026 07:30": the same with the date, as the "Missed alarms" rows show it.
std::string LongDueText(std::int64_t minute);

// The rows of the "Missed alarms" window: due time and the item's alarm-list row, with the
// count when it was missed more than once; at most `limit` rows, then one that says how many
// more there are.
std::vector<std::string> MissedRows(const std::vector<MissedItem>& missed, std::size_t limit);

}  // namespace alarms
