#include "alarms/Scheduler.h"

#include "alarms/AlarmStore.h"
#include "common/Registry.h"
#include "common/Settings.h"
#include "common/SystemSeams.h"
#include "common/Wake.h"

#include <string>

namespace alarms {

namespace {

constexpr char kSnoozedSubkey[] = "Snoozed";
constexpr char kOldSnoozeSubkey[] = "Snooze";
constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600LL;

// The one engine of the process and what the program keeps beside it, owned here for the
// program's life.
struct SchedulerState {
    AlarmEngine engine;
    bool oldSnoozes = false;               // the previous version's snoozes await removal
    std::uint64_t writtenVersion = ~0ull;  // the ledger version last written
    std::int64_t recordedMinute = kNoMinute;  // the last tick minute written to the registry
    AlarmHandler handler;
    MissedHandler missedHandler;
    // NextAlarmText() of a minute and engine revision.
    std::int64_t nextTextMinute = kNoMinute;
    std::uint64_t nextTextRevision = 0;
    std::string nextText;
    std::optional<std::int64_t> nextDueUtc;  // its UTC second
};

SchedulerState& The() {
    static SchedulerState state;
    return state;
}

std::optional<std::int64_t> StoredLastTick() {
    const std::string text = settings::ReadText(settings::kLoadKey, kLastTickName);
    if (text.empty() || text.size() > 12 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::stoll(text);
}

// What the previous run kept, in the form of this version or of the one before.
Ledger ReadLedger(const ClockReading& now) {
    Ledger kept;
    kept.lastTickMinute = StoredLastTick();
    const std::optional<std::string> handled = registry::RegReadWholeText(HKEY_CURRENT_USER, kLedgerKey, kHandledName);
    kept.hasMarks = handled.has_value();
    if (handled) kept.handled = ParseHandled(*handled);
    for (int n = 1;; ++n) {
        const auto text = registry::RegReadWholeText(HKEY_CURRENT_USER, kSnoozedKey, std::to_string(n));
        if (!text) break;
        if (auto reminder = ParseSnoozed(*text)) kept.snoozes.push_back(std::move(*reminder));
    }
    // The previous version's snoozes: "<local minute> <text>", in the zone offset of now.
    const std::int64_t offsetSec = MinuteSerial(now.local) * 60 + now.local.second - now.utcSec;
    for (int n = 1;; ++n) {
        const auto text = registry::RegReadWholeText(HKEY_CURRENT_USER, kOldSnoozeKey, std::to_string(n));
        if (!text || text->empty()) break;
        The().oldSnoozes = true;
        if (auto reminder = ParseSnoozed(*text)) {
            reminder->dueUtcSec = reminder->dueUtcSec * 60 - offsetSec;
            kept.snoozes.push_back(std::move(*reminder));
        }
    }
    return kept;
}

// Writes the ledger when the engine's has changed since the last write.
void KeepLedger() {
    SchedulerState& s = The();
    if (s.engine.LedgerVersion() == s.writtenVersion) return;
    s.writtenVersion = s.engine.LedgerVersion();
    const Ledger kept = s.engine.Kept();
    settings::WriteText(kLedgerKey, kHandledName, FormatHandled(kept.handled));
    registry::RegDeleteSubKey(HKEY_CURRENT_USER, kLedgerKey, kSnoozedSubkey);
    int n = 0;
    for (const SnoozedReminder& reminder : kept.snoozes)
        settings::WriteText(kSnoozedKey, std::to_string(++n).c_str(), FormatSnoozed(reminder));
    if (s.oldSnoozes) {
        registry::RegDeleteSubKey(HKEY_CURRENT_USER, settings::kRootKey, kOldSnoozeSubkey);
        s.oldSnoozes = false;
    }
}

void ReportMissed() {
    SchedulerState& s = The();
    const std::vector<MissedItem> missed = s.engine.TakeMissed();
    if (!missed.empty() && s.missedHandler) s.missedHandler(missed);
}

}  // namespace

ClockReading ReadClocks() {
    const SYSTEMTIME local = sys::LocalTime();
    ClockReading now;
    now.local = ToLocalMoment(local);
    SYSTEMTIME utc{};
    FILETIME file{};
    // By the zone's rules for that date; a failure (a date the conversion refuses) takes the
    // local time as UTC, which only shifts what is kept by the zone offset.
    if (!TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc)) utc = local;
    if (SystemTimeToFileTime(&utc, &file)) {
        const std::int64_t ticks = (static_cast<std::int64_t>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
        now.utcSec = ticks / 10000000 - kSecondsFrom1601To1970;
    }
    now.monotonicMs = static_cast<std::int64_t>(sys::TickCount());
    return now;
}

void LoadAlarmItems() {
    const int count = StoredItemCount();
    The().engine.Load(ReadAllAlarmItems(count), count);
}

void AlarmItemAppended(int n, const AlarmItem& item) {
    AlarmEngine& engine = The().engine;
    if (engine.Items().Count() == n - 1) engine.Add(item);
    else LoadAlarmItems();
    KeepLedger();
}

void AlarmItemWritten(int n, const AlarmItem& item) {
    AlarmEngine& engine = The().engine;
    if (engine.Items().Count() == StoredItemCount()) engine.Modify(n, item);
    else LoadAlarmItems();
    KeepLedger();
}

void AlarmItemDeleted(int k, int countBefore) {
    AlarmEngine& engine = The().engine;
    if (engine.Items().Count() == countBefore) engine.Remove(k);
    else LoadAlarmItems();
    KeepLedger();
}

void AlarmItemStateSet(int n, int state) {
    AlarmEngine& engine = The().engine;
    if (engine.Items().Count() == StoredItemCount()) engine.SetState(n, state);
    else LoadAlarmItems();
}

void StartScheduler() {
    SchedulerState& s = The();
    s.engine = AlarmEngine();
    s.recordedMinute = kNoMinute;
    LoadAlarmItems();
    const ClockReading now = ReadClocks();
    s.engine.Start(ReadLedger(now), now);
    s.writtenVersion = ~0ull;  // written once at start: the previous version's form is taken over
}

void CheckAlarms() {
    SchedulerState& s = The();
    const ClockReading now = ReadClocks();
    s.engine.Tick(now);
    const std::int64_t minute = MinuteSerial(now.local);
    if (minute != s.recordedMinute && minute != kNoMinute) {
        s.recordedMinute = minute;
        settings::WriteText(settings::kLoadKey, kLastTickName, std::to_string(minute));
    }
    // One action at a time, each judged at the moment it is about to run: an earlier one may
    // have held a dialog open meanwhile.
    while (const std::optional<DueAction> action = s.engine.NextAction(ReadClocks())) {
        KeepLedger();
        ReportMissed();
        if (s.handler) s.handler(action->item, action->index);
    }
    KeepLedger();
    ReportMissed();
}

const AlarmItems& ScheduledItems() { return The().engine.Items(); }

int LoadedItemCount() { return The().engine.LoadedCount(); }

void SetAlarmItemHandler(AlarmHandler handler) { The().handler = std::move(handler); }

void SetMissedAlarmsHandler(MissedHandler handler) { The().missedHandler = std::move(handler); }

void SnoozeReminder(const std::string& text, int minutes) {
    The().engine.Snooze(text, minutes, ReadClocks());
    KeepLedger();
}

std::vector<SnoozedReminder> SnoozedReminders() { return The().engine.Snoozed(); }

namespace {

// Works out the next due minute and its text again when the minute or the items have changed.
SchedulerState& WithNextDue() {
    SchedulerState& s = The();
    const std::int64_t minute = MinuteSerial(ToLocalMoment(sys::LocalTime()));
    if (minute != s.nextTextMinute || s.engine.Revision() != s.nextTextRevision) {
        const auto next = s.engine.NextDueAfterNow();
        // An item is due at a local minute, which the computer's zone rules place in UTC (also
        // across a change of summer time before it); a snoozed reminder at its own instant.
        s.nextDueUtc = !next ? std::nullopt
                       : next->snoozed ? std::optional<std::int64_t>(next->utcSec)
                                       : wake::UtcOfLocalMinute(next->localMinute);
        s.nextText = next ? NextAlarmLine(minute, next->localMinute) : std::string();
        s.nextTextMinute = minute;
        s.nextTextRevision = s.engine.Revision();
    }
    return s;
}

}  // namespace

std::string NextAlarmText() { return WithNextDue().nextText; }

std::optional<std::int64_t> NextDueUtc() { return WithNextDue().nextDueUtc; }

LocalMoment ToLocalMoment(const SYSTEMTIME& time) {
    LocalMoment now;
    now.date = CivilDate{time.wYear, time.wMonth, time.wDay};
    now.hour = time.wHour;
    now.minute = time.wMinute;
    now.second = time.wSecond;
    return now;
}

}  // namespace alarms
