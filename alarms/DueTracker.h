// The scheduler's decision, apart from the platform: which items of the in-memory copy fire
// at a tick, and the bookkeeping that makes every due item fire exactly once per minute.
//
// An enabled item is due during the whole minute its rule names. It fires at the first tick
// that falls in that minute (whatever the second) and never again in that minute: not on a
// second tick in the same second, not after the copy is reloaded, not from a nested tick that
// runs while an earlier item's action (a modal dialog) is open. Only the minute of each tick
// is examined: minutes that no tick falls in (sleep, the clock set forward) fire nothing.
// Setting the clock back makes a minute due again, as on a wall clock.
//
// Pure code: the caller supplies the local time and a handler that carries out the action.
#pragma once
#include "alarms/DueRule.h"
#include "alarms/AlarmItem.h"

#include <cstdint>
#include <functional>
#include <set>
#include <tuple>
#include <vector>

namespace alarms {

class DueTracker {
public:
    // Carries out a due item's action; index is its position (1-based) in the copy. The item
    // is a copy of its own: the handler may reload the scheduler (an editor's OK while a
    // reminder is open) without invalidating it. The handler may run a modal loop that calls
    // Check() again.
    using Handler = std::function<void(const AlarmItem& item, int index)>;

    // Replaces the in-memory copy and the loaded count (the number of positions looked at;
    // negative counts as 0).
    void Replace(AlarmItems items, int loadedCount);
    const AlarmItems& Items() const { return items_; }
    int LoadedCount() const { return loadedCount_; }

    void SetHandler(Handler handler) { handler_ = std::move(handler); }

    // One tick at local time now: hands every enabled item due in now's minute that has not
    // fired in that minute to the handler, in item order, waiting for each.
    void Check(const LocalMoment& now);

private:
    // An item as the bookkeeping knows it across reloads: its "when" bytes (rule, weekday,
    // hour, minute, year, month, day) and how many items before it in the copy share them.
    // Items with the same "when" are due together, so the pair stays stable when other
    // items are added, deleted, moved into a gap, enabled or disabled.
    struct Claim {
        std::int64_t minute;
        std::uint64_t when;
        int ordinal;
        bool operator<(const Claim& o) const {
            return std::tie(minute, when, ordinal) < std::tie(o.minute, o.when, o.ordinal);
        }
    };

    void ForgetOtherMinutes(std::int64_t minute);

    AlarmItems items_;
    int loadedCount_ = 0;
    std::uint64_t generation_ = 0;  // grows with every Replace()
    Handler handler_;
    std::set<Claim> claims_;                 // items fired (or firing) per minute
    std::vector<std::int64_t> openPasses_;   // minutes of the passes still running (nesting)
};

// The "when" bytes of an item packed into one number (bytes 2 to 9 of the record).
std::uint64_t WhenKey(const AlarmItem& item);

}  // namespace alarms
