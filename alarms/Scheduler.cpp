#include "alarms/Scheduler.h"

#include "alarms/AlarmStore.h"
#include "common/Registry.h"
#include "common/Settings.h"
#include "common/SystemSeams.h"

#include <string>

namespace alarms {

namespace {

constexpr char kNextAlarmPrefix[] = "Next alarm: ";
constexpr char kSnoozeSubkey[] = "Snooze";

// The one scheduler of the process and what it keeps beside it, owned here for the program's life.
struct SchedulerState {
    DueTracker tracker;
    bool started = false;
    std::int64_t recordedMinute = -1;  // the last tick minute written to the registry
    DueTracker::MissedHandler missedHandler;
    // NextAlarmText() of a minute and version (grows with every change of items or snoozes).
    std::uint64_t version = 0;
    std::int64_t nextTextMinute = -1;
    std::uint64_t nextTextVersion = 0;
    std::optional<std::int64_t> nextDue;
    std::string nextText;
};

SchedulerState& The() {
    static SchedulerState state;
    return state;
}

std::int64_t CurrentMinute() { return MinuteSerial(ToLocalMoment(sys::LocalTime())); }

std::optional<std::int64_t> StoredLastTick() {
    const std::string text = settings::ReadText(settings::kLoadKey, kLastTickName);
    if (text.empty() || text.size() > 12 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::stoll(text);
}

void LoadSnoozed() {
    std::vector<SnoozedReminder> snoozed;
    for (int n = 1;; ++n) {
        const registry::RegValue value = registry::RegReadValue(HKEY_CURRENT_USER, kSnoozeKey, std::to_string(n));
        if (value.kind != registry::RegValue::Kind::Text || value.text.empty()) break;
        if (auto reminder = ParseSnoozed(value.text)) snoozed.push_back(std::move(*reminder));
    }
    The().tracker.ReplaceSnoozed(std::move(snoozed));
}

void StoreSnoozed() {
    registry::RegDeleteSubKey(HKEY_CURRENT_USER, settings::kRootKey, kSnoozeSubkey);
    int n = 0;
    for (const SnoozedReminder& reminder : The().tracker.Snoozed())
        settings::WriteText(kSnoozeKey, std::to_string(++n).c_str(), FormatSnoozed(reminder));
}

}  // namespace

void LoadAlarmItems() {
    const int count = StoredItemCount();
    The().tracker.Replace(ReadAllAlarmItems(count), count);
    ++The().version;
}

void ReportMissedWhileAway() {
    SchedulerState& s = The();
    const auto missed = MissedWhileAway(s.tracker.Items(), s.tracker.LoadedCount(), StoredLastTick(), CurrentMinute());
    if (!missed.empty() && s.missedHandler) s.missedHandler(missed);
}

void CheckAlarms() {
    SchedulerState& s = The();
    if (!s.started) {
        s.started = true;
        ReportMissedWhileAway();
        LoadSnoozed();
        ++s.version;
    }
    const std::size_t snoozedBefore = s.tracker.Snoozed().size();
    const LocalMoment now = ToLocalMoment(sys::LocalTime());
    const std::int64_t minute = MinuteSerial(now);
    if (minute != s.recordedMinute) {
        s.recordedMinute = minute;
        settings::WriteText(settings::kLoadKey, kLastTickName, std::to_string(minute));
    }
    s.tracker.Check(now, static_cast<std::int64_t>(sys::TickCount()));
    if (s.tracker.Snoozed().size() != snoozedBefore) {
        StoreSnoozed();
        ++s.version;
    }
}

const AlarmItems& ScheduledItems() { return The().tracker.Items(); }

int LoadedItemCount() { return The().tracker.LoadedCount(); }

void SetAlarmItemHandler(DueTracker::Handler handler) { The().tracker.SetHandler(std::move(handler)); }

void SetMissedAlarmsHandler(DueTracker::MissedHandler handler) {
    The().missedHandler = handler;
    The().tracker.SetMissedHandler(std::move(handler));
}

void SnoozeReminder(const std::string& text, int minutes) {
    The().tracker.Snooze({CurrentMinute() + minutes, text});
    StoreSnoozed();
    ++The().version;
}

const std::vector<SnoozedReminder>& SnoozedReminders() { return The().tracker.Snoozed(); }

namespace {

// Works out the next due minute and its text again when the minute or the items have changed.
SchedulerState& WithNextDue() {
    SchedulerState& s = The();
    const std::int64_t minute = CurrentMinute();
    if (minute != s.nextTextMinute || s.version != s.nextTextVersion) {
        s.nextDue = s.tracker.NextDue(minute);
        s.nextText = s.nextDue ? kNextAlarmPrefix + ShortDueText(*s.nextDue) : std::string();
        s.nextTextMinute = minute;
        s.nextTextVersion = s.version;
    }
    return s;
}

}  // namespace

std::string NextAlarmText() { return WithNextDue().nextText; }

std::optional<std::int64_t> NextDueMinute() { return WithNextDue().nextDue; }

LocalMoment ToLocalMoment(const SYSTEMTIME& time) {
    LocalMoment now;
    now.date = CivilDate{time.wYear, time.wMonth, time.wDay};
    now.hour = time.wHour;
    now.minute = time.wMinute;
    now.second = time.wSecond;
    return now;
}

}  // namespace alarms
