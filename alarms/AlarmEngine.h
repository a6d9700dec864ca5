// The alarm engine: the one owner of what the alarm items are, what has been handled, what is
// pending and what is snoozed. It is fed events (the program's start with what was kept, the
// items as loaded, each edit the moment it is stored, ticks, snoozes) and hands back what to do:
// the actions to run now, the missed items, what to keep and when the next alarm is due.
//
// Occurrences. An item is due once in each local minute its rule names (DueRule.h); that pair
// (item, local minute) is an occurrence. Each occurrence is handled at most once: run, or
// listed as missed. Per item the engine keeps the last occurrence handled (its mark): only a
// later one is handled again, so a clock set back, a reload, a restart inside the minute or a
// nested tick never repeats an alarm. The marks are kept across runs (the ledger).
//
// Lateness is judged when an action is about to run, on the monotonic clock: a sound, reminder,
// program or snoozed reminder runs at most kLateLimitMinutes after its minute began, a restart
// or shutdown only within its own minute; otherwise it is listed as missed. When the clocks
// disagree (the wall clock was set, the zone offset changed) the engine takes the earliest
// moment the minute can have begun, so it never runs something later than promised.
//
// Actions that open a modal dialog: the caller runs them one by one (NextAction) and the
// dialog's message loop keeps ticking; a nested tick asks for the next action in turn, so the
// items behind an open reminder run in time, against the items as they are at that moment.
//
// Pure code: no platform headers.
#pragma once
#include "alarms/AlarmItem.h"
#include "alarms/CatchUp.h"
#include "alarms/DueRule.h"
#include "alarms/ItemIdentity.h"

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace alarms {

// A mark further ahead of the clock than this (the clock was set back a long way) no longer
// holds back the occurrences before it that never ran.
inline constexpr std::int64_t kRepeatGuardMinutes = 25 * 60;
// The wall clock and the monotonic clock may drift apart this much between ticks unnoticed.
inline constexpr std::int64_t kClockSlackSec = 2;

// One reading of the clocks at a tick.
struct ClockReading {
    LocalMoment local;             // the local wall time
    std::int64_t utcSec = 0;       // the same moment in seconds since 1970-01-01 00:00 UTC
    std::int64_t monotonicMs = 0;  // never jumps; counts sleep
};

// A reminder the user snoozed: its text and the UTC second it shows again.
struct SnoozedReminder {
    std::int64_t dueUtcSec = 0;
    std::string text;
    bool operator==(const SnoozedReminder&) const = default;
};

using HandledMinutes = std::map<std::string, std::vector<std::int64_t>>;

// What is kept between runs of the program.
struct Ledger {
    // Per item (ItemKeys()), the last few occurrences handled, oldest first, as local minutes
    // (MinuteSerial); the last one is its mark. The earlier ones keep a clock set back far and
    // forward again from repeating them.
    HandledMinutes handled;
    // False for a store written before the ledger existed: then every item counts as handled
    // up to the last tick of that run.
    bool hasMarks = true;
    // The local minute of the last tick of the previous run, if any.
    std::optional<std::int64_t> lastTickMinute;
    std::vector<SnoozedReminder> snoozes;
};

// The ledger's marks as stored: one line per item, "<key> <minute> <minute>..."; and back (bad
// lines are skipped).
std::string FormatHandled(const HandledMinutes& handled);
HandledMinutes ParseHandled(const std::string& stored);
// A snoozed reminder as stored: its UTC second in decimal, one blank, the whole text.
std::string FormatSnoozed(const SnoozedReminder& reminder);
std::optional<SnoozedReminder> ParseSnoozed(const std::string& stored);

// An action to run now.
struct DueAction {
    AlarmItem item;              // the item as it is now; for a snoozed reminder a reminder item
    int index = 0;               // its position (1-based) now; 0 for a snoozed reminder
    std::int64_t occurrence = 0; // the local minute it is due in
};

// When the next alarm is due: its local minute and the same moment in UTC seconds. An item's
// UTC second is converted with the zone offset of the last tick (a summer-time change before it
// moves it by the change); a snoozed reminder's is its own instant, and its local minute the
// converted one.
struct NextDue {
    std::int64_t localMinute = 0;
    std::int64_t utcSec = 0;
    bool snoozed = false;
};

class AlarmEngine {
public:
    // --- the items, as stored ---
    // Replaces the items (a load of the whole store); items keep their identities and marks
    // where they match the old ones (ItemIdentity.h). loadedCount limits the positions looked
    // at (a failed load gives 0).
    void Load(AlarmItems items, int loadedCount);
    // The edits, each as the store has just applied it.
    void Add(const AlarmItem& item);
    void Modify(int n, const AlarmItem& item);
    void Remove(int k);  // the last item moves into the gap, as in the store
    void SetState(int n, int state);
    const AlarmItems& Items() const { return items_; }
    int LoadedCount() const { return loadedCount_; }

    // --- the program's start: what the previous run kept, after the items are loaded and
    // before the first tick ---
    void Start(const Ledger& kept, const ClockReading& now);

    // --- time ---
    // Notes what fell due up to now: the current minute's occurrences, those a gap passed over
    // (run late or listed), and the snoozed reminders now due. The first tick after Start lists
    // what fell due while the program was not running.
    void Tick(const ClockReading& now);
    // The next action that may still run at `now`, in due order; those now too late are listed
    // as missed, those whose item was deleted, disabled or changed to another time are dropped.
    // Call again after each action has returned (it may have run nested ticks meanwhile).
    std::optional<DueAction> NextAction(const ClockReading& now);
    // The occurrences listed as missed since the last call, in due order.
    std::vector<MissedItem> TakeMissed();

    // --- snoozes ---
    // Shows the text again `minutes` minutes of real time after now (kept across restarts as a
    // UTC instant).
    void Snooze(const std::string& text, int minutes, const ClockReading& now);
    // The snoozed reminders not yet due, with their UTC instant as of the last reading.
    std::vector<SnoozedReminder> Snoozed() const;

    // --- what to keep ---
    // Grows whenever Kept() would give something else: a mark set, an item edited, a snooze
    // added or due. Not with every tick.
    std::uint64_t LedgerVersion() const { return ledgerVersion_; }
    // Grows with every change that may move the next due moment (the ledger's, and states).
    std::uint64_t Revision() const { return ledgerVersion_ + stateChanges_; }
    Ledger Kept() const;

    // The first moment after the current minute at which an enabled item or a snoozed reminder
    // is due; none before the first tick or when nothing is.
    std::optional<NextDue> NextDueAfterNow() const;

private:
    struct Entry {
        ItemId id = 0;
        std::int64_t mark = kNoMinute;       // every occurrence up to it is handled
        std::vector<std::int64_t> recent;    // the last few handled (some may lie beyond the mark)
        std::uint64_t generation = 0;        // grows with every change of the item
    };
    struct Pending {
        bool snoozed = false;
        ItemId id = 0;                  // the item, or the snooze
        std::int64_t occurrence = 0;    // local minute
        std::int64_t startMs = 0;       // the earliest monotonic moment its minute can have begun
        std::string text;               // a snoozed reminder's text
        int position = 0;               // the item's position when queued: where to look first
        bool strict = false;            // a restart or shutdown: only in its own minute
        std::uint64_t generation = 0;   // the item's when queued
    };
    struct Waiting {
        ItemId id = 0;
        std::int64_t dueMs = 0;  // on the monotonic clock
        std::string text;
    };

    int PositionOf(ItemId id, int hint = 0) const;
    void Handle(Entry& entry, std::int64_t occurrence);
    void ForgetFarMarks(std::int64_t minute);
    // The last occurrence handled as seen from a minute: the mark, or a later one handled
    // before the clock was set back over it.
    static std::int64_t MarkAt(const Entry& entry, std::int64_t minute);
    void ListMissed(const AlarmItem& item, std::int64_t latest, int count);
    void Queue(std::vector<Pending>& queued, int position, std::int64_t occurrence, std::int64_t startMs);
    void StartUp(std::int64_t minute);
    void NoteReading(const ClockReading& now);
    std::vector<std::string> ItemKeys() const;

    AlarmItems items_;
    std::vector<Entry> entries_;  // one per item of items_
    ItemId lastId_ = 0;
    int loadedCount_ = 0;
    std::deque<Pending> pending_;
    std::vector<Waiting> snoozes_;
    std::vector<MissedItem> missed_;
    std::uint64_t ledgerVersion_ = 0, stateChanges_ = 0;
    std::optional<std::int64_t> awayFrom_;  // the previous run's last tick, until the first tick
    bool started_ = true;  // false from Start to the first tick
    // The last readings of the clocks (a tick's, or before the first tick the start's); the
    // last tick's minute.
    bool read_ = false, ticked_ = false;
    std::int64_t lastMinute_ = 0, lastLocalSec_ = 0, lastUtcSec_ = 0, lastMs_ = 0;
};

// "Next alarm: Thu 07:30" for a minute within the next six days of `nowMinute`'s day,
// "Next alarm: Thu 24 Dec 07:30" for a later one.
std::string NextAlarmLine(std::int64_t nowMinute, std::int64_t dueMinute);

}  // namespace alarms
