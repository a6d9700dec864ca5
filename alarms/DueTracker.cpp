#include "alarms/DueTracker.h"

#include <algorithm>
#include <limits>

namespace alarms {

namespace {

constexpr std::int64_t kSecondsPerMinute = 60;
// Timers run a little late; a wall clock ahead of the monotonic one by more than this moved.
constexpr std::int64_t kTimerSlackSec = 90;

}  // namespace

void DueTracker::Replace(AlarmItems items, int loadedCount) {
    ids_ = CarryIdentities(items_, ids_, items, lastId_);
    items_ = std::move(items);
    loadedCount_ = std::max(loadedCount, 0);
    ++generation_;
}

void DueTracker::Forget(std::int64_t minute) {
    // Marks further than the guard from now, before or after (the clock was set back a long
    // way), can no longer matter.
    fired_.erase(fired_.begin(), fired_.lower_bound({minute - kRepeatGuardMinutes, 0}));
    fired_.erase(fired_.lower_bound({minute + kRepeatGuardMinutes + 1, 0}), fired_.end());
}

void DueTracker::Check(const LocalMoment& now, std::int64_t monotonicMs) {
    const std::int64_t minute = MinuteSerial(now);
    const std::int64_t nowWallSec = minute * kSecondsPerMinute + now.second;
    const bool gap = ticked_ && minute > lastMinute_ + 1;
    const std::int64_t lastMinute = lastMinute_;
    const std::int64_t realSec = std::max<std::int64_t>(0, (monotonicMs - lastMonotonicMs_) / 1000);
    const std::int64_t wallSec = nowWallSec - lastWallSec_;
    // Noted before any action runs, so a nested tick from a modal dialog sees no gap.
    ticked_ = true;
    lastMinute_ = minute;
    lastWallSec_ = nowWallSec;
    lastMonotonicMs_ = monotonicMs;
    Forget(minute);
    if (gap) {
        const std::int64_t jumpSec = wallSec - realSec;
        const bool jumped = jumpSec > kTimerSlackSec;
        const bool zoneJump = jumped && jumpSec <= kLongestZoneJumpMinutes * kSecondsPerMinute + kTimerSlackSec;
        // Without a jump the wall clock tells how late each minute is; a jump passed its
        // minutes at once, within the real time since the last tick.
        const std::int64_t wallLateLimit = jumped ? realSec : std::numeric_limits<std::int64_t>::max();
        CatchUp(lastMinute, minute, wallLateLimit, nowWallSec, realSec, zoneJump);
    }
    FireMinute(now, minute);
    FireSnoozed(minute);
}

void DueTracker::CatchUp(std::int64_t lastMinute, std::int64_t minute, std::int64_t wallLateLimitSec,
                         std::int64_t nowWallSec, std::int64_t realSec, bool zoneJump) {
    constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();
    const std::int64_t after = std::max(lastMinute, minute - kRunLookBackMinutes - 1);
    std::vector<LateItem> late;
    std::vector<MissedItem> missed;
    const int count = std::min(loadedCount_, items_.Count());
    for (int index = 1; index <= count; ++index) {
        const AlarmItem& item = *items_.At(index);
        if (!item.Enabled()) continue;
        const Occurrences found = OccurrencesBetween(item, after, minute);
        if (found.count == 0) continue;
        const ItemId id = ids_[static_cast<std::size_t>(index - 1)];
        if (!fired_.insert({found.latest, id}).second) continue;  // handled before the clock went back
        const std::int64_t wallLate = nowWallSec - found.latest * kSecondsPerMinute;
        const std::int64_t lateSec = wallLate <= wallLateLimitSec ? wallLate : zoneJump ? realSec : kNever;
        if (MayRunLate(item) && lateSec <= kLateLimitMinutes * kSecondsPerMinute)
            late.push_back({found.latest, index, item});
        else
            missed.push_back({item, found.latest, found.count});
    }
    if (!missed.empty() && missedHandler_) {
        std::stable_sort(missed.begin(), missed.end(),
                         [](const MissedItem& a, const MissedItem& b) { return a.latest < b.latest; });
        missedHandler_(missed);
    }
    std::stable_sort(late.begin(), late.end(), [](const LateItem& a, const LateItem& b) { return a.minute < b.minute; });
    for (const LateItem& due : late)
        if (handler_) handler_(due.item, due.index);
}

void DueTracker::FireMinute(const LocalMoment& now, std::int64_t minute) {
    if (loadedCount_ <= 0) return;
    bool rescan = true;
    while (rescan) {
        rescan = false;
        const std::uint64_t generation = generation_;
        const int count = std::min(loadedCount_, items_.Count());
        for (int index = 1; index <= count; ++index) {
            const AlarmItem& candidate = *items_.At(index);
            if (!IsDueInMinute(candidate, now)) continue;
            if (!fired_.insert({minute, ids_[static_cast<std::size_t>(index - 1)]}).second) continue;
            if (!handler_) continue;
            const AlarmItem item = candidate;  // the copy may be replaced while the action runs
            handler_(item, index);
            if (generation_ != generation) {  // reloaded meanwhile: look at the new copy afresh
                rescan = true;
                break;
            }
        }
    }
}

void DueTracker::FireSnoozed(std::int64_t minute) {
    std::vector<SnoozedReminder> due;
    std::erase_if(snoozed_, [&](const SnoozedReminder& s) {
        if (s.due > minute) return false;
        due.push_back(s);
        return true;
    });
    for (const SnoozedReminder& s : due) {
        AlarmItem item;
        item.itemState = 1;
        item.notifyMode = kNotifyText;
        item.notifyText = s.text;
        if (handler_) handler_(item, 0);
    }
}

std::optional<std::int64_t> DueTracker::NextDue(std::int64_t after) const {
    std::optional<std::int64_t> next;
    const auto consider = [&](std::int64_t m) {
        if (!next || m < *next) next = m;
    };
    const int count = std::min(loadedCount_, items_.Count());
    for (int index = 1; index <= count; ++index) {
        const AlarmItem& item = *items_.At(index);
        if (!item.Enabled()) continue;
        if (const auto due = NextOccurrence(item, after)) consider(*due);
    }
    for (const SnoozedReminder& s : snoozed_) consider(std::max(s.due, after + 1));
    return next;
}

}  // namespace alarms

namespace alarms {

std::string FormatSnoozed(const SnoozedReminder& reminder) {
    return std::to_string(reminder.due) + " " + reminder.text;
}

std::optional<SnoozedReminder> ParseSnoozed(const std::string& stored) {
    const std::size_t blank = stored.find(' ');
    if (blank == 0 || blank == std::string::npos || blank > 12) return std::nullopt;
    SnoozedReminder reminder;
    for (std::size_t i = 0; i < blank; ++i) {
        if (stored[i] < '0' || stored[i] > '9') return std::nullopt;
        reminder.due = reminder.due * 10 + (stored[i] - '0');
    }
    reminder.text = stored.substr(blank + 1);
    return reminder;
}

}  // namespace alarms
