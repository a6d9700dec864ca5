// The scheduler's decision, apart from the platform: which items of the in-memory copy fire
// at a tick, and the bookkeeping that makes every due item fire exactly once.
//
// An enabled item is due during the whole minute its rule names. It fires at the first tick
// that falls in that minute (whatever the second) and never again for that minute: not on a
// second tick, not after the copy is reloaded or edited (items keep their identity across
// reloads, see alarms/ItemIdentity.h), not from a nested tick that runs while an earlier
// item's action (a modal dialog) is open, not when the wall clock is set back over it (fired
// minutes are remembered while they are within kRepeatGuardMinutes of the clock).
//
// Ticks that resume after a gap (sleep, a frozen process, a late timer, the wall clock moved
// forward) catch up: each enabled item due in the gap is handled once (see alarms/CatchUp.h):
// run late in due order when it may and is at most kLateLimitMinutes late, else reported as
// missed. The gap is measured on a monotonic clock beside the wall clock, so a forward move of
// the wall clock is told apart from time that really passed.
//
// A snoozed reminder fires once, at the first tick in or after its minute.
//
// Pure code: the caller supplies the times and handlers that carry out the actions.
#pragma once
#include "alarms/AlarmItem.h"
#include "alarms/CatchUp.h"
#include "alarms/DueRule.h"
#include "alarms/ItemIdentity.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace alarms {

// How long a fired minute is remembered: setting the clock back by up to a day never repeats.
inline constexpr std::int64_t kRepeatGuardMinutes = 25 * 60;

// A reminder the user snoozed: its text and the minute it shows again.
struct SnoozedReminder {
    std::int64_t due = 0;
    std::string text;
    bool operator==(const SnoozedReminder&) const = default;
};

class DueTracker {
public:
    // Carries out a due item's action; index is its position (1-based) in the copy, 0 for a
    // snoozed reminder. The item is a copy of its own: the handler may reload the scheduler
    // (an editor's OK while a reminder is open) without invalidating it. The handler may run a
    // modal loop that calls Check() again.
    using Handler = std::function<void(const AlarmItem& item, int index)>;
    // Reports the items that a gap made miss their minute, each once, in due order.
    using MissedHandler = std::function<void(const std::vector<MissedItem>& missed)>;

    // Replaces the in-memory copy and the loaded count (the number of positions looked at;
    // negative counts as 0). Items keep their identities where they match the old copy.
    void Replace(AlarmItems items, int loadedCount);
    const AlarmItems& Items() const { return items_; }
    int LoadedCount() const { return loadedCount_; }

    void SetHandler(Handler handler) { handler_ = std::move(handler); }
    void SetMissedHandler(MissedHandler handler) { missedHandler_ = std::move(handler); }

    // One tick at local wall time now; monotonicMs is a clock in milliseconds that never jumps
    // (it counts sleep too). Catches up on a gap since the last tick, then hands every enabled
    // item due in now's minute that has not fired for it to the handler, in item order,
    // waiting for each; then the snoozed reminders that are due.
    void Check(const LocalMoment& now, std::int64_t monotonicMs);

    // Snoozed reminders: added by the user, dropped once fired.
    void Snooze(SnoozedReminder reminder) { snoozed_.push_back(std::move(reminder)); }
    const std::vector<SnoozedReminder>& Snoozed() const { return snoozed_; }
    void ReplaceSnoozed(std::vector<SnoozedReminder> snoozed) { snoozed_ = std::move(snoozed); }

    // The first minute after `after` at which an enabled loaded item or a snoozed reminder is due.
    std::optional<std::int64_t> NextDue(std::int64_t after) const;

private:
    struct LateItem {
        std::int64_t minute;
        int index;
        AlarmItem item;
    };

    void CatchUp(std::int64_t lastMinute, std::int64_t minute, std::int64_t wallLateLimitSec,
                 std::int64_t nowWallSec, std::int64_t realSec, bool zoneJump);
    void FireMinute(const LocalMoment& now, std::int64_t minute);
    void FireSnoozed(std::int64_t minute);
    void Forget(std::int64_t minute);

    AlarmItems items_;
    std::vector<ItemId> ids_;  // one per item of items_
    ItemId lastId_ = 0;
    int loadedCount_ = 0;
    std::uint64_t generation_ = 0;  // grows with every Replace()
    Handler handler_;
    MissedHandler missedHandler_;
    std::set<std::pair<std::int64_t, ItemId>> fired_;  // (minute, item) handled
    std::vector<SnoozedReminder> snoozed_;
    // The last tick: its minute, its wall time in seconds and the monotonic clock then.
    bool ticked_ = false;
    std::int64_t lastMinute_ = 0, lastWallSec_ = 0, lastMonotonicMs_ = 0;
};

}  // namespace alarms

namespace alarms {

// A snoozed reminder as stored: its minute in decimal, one blank, the text.
std::string FormatSnoozed(const SnoozedReminder& reminder);
// The reminder of a stored text; none when it does not start with a minute and a blank.
std::optional<SnoozedReminder> ParseSnoozed(const std::string& stored);

}  // namespace alarms
