#include "alarms/AlarmEngine.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace alarms {

namespace {

constexpr std::int64_t kMsPerMinute = 60 * 1000;
constexpr std::int64_t kMinutesPerDay = 24 * 60;
constexpr std::size_t kRecentMarks = 16;
// Readings are in whole seconds: a minute may have begun up to this much earlier than they say.
constexpr std::int64_t kReadingResolutionMs = 999;
constexpr const char* kShortMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// The item's record without its enabled byte, and its texts: switching an item on or off keeps
// its key. 64-bit FNV-1a, in hex.
std::string ContentKey(const AlarmItem& item) {
    std::uint64_t hash = 14695981039346656037ull;
    const auto add = [&hash](unsigned char byte) {
        hash ^= byte;
        hash *= 1099511628211ull;
    };
    const RecordBytes record = EncodeRecord(item);
    for (std::size_t i = 1; i < record.size(); ++i) add(record[i]);
    for (const TextField& field : kTextFields) {
        const std::string& text = item.*field.member;
        for (int shift = 0; shift < 64; shift += 8) add(static_cast<unsigned char>(text.size() >> shift));
        for (char c : text) add(static_cast<unsigned char>(c));
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return hex;
}

bool ParseNumber(const std::string& text, std::size_t from, std::size_t to, std::int64_t& value) {
    if (to <= from || to - from > 18) return false;
    bool negative = text[from] == '-';
    if (negative && ++from == to) return false;
    value = 0;
    for (std::size_t i = from; i < to; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    if (negative) value = -value;
    return true;
}

}  // namespace

// --- the items ---

void AlarmEngine::Load(AlarmItems items, int loadedCount) {
    std::vector<ItemId> oldIds;
    oldIds.reserve(entries_.size());
    for (const Entry& e : entries_) oldIds.push_back(e.id);
    const std::vector<ItemId> ids = CarryIdentities(items_, oldIds, items, lastId_);
    std::map<ItemId, Entry> old;
    for (Entry& e : entries_) old.emplace(e.id, std::move(e));
    entries_.clear();
    for (ItemId id : ids) {
        const auto it = old.find(id);
        entries_.push_back(it != old.end() ? std::move(it->second) : Entry{id, kNoMinute, {}, 0});
        ++entries_.back().generation;  // its content may differ: checked again before it runs
    }
    items_ = std::move(items);
    loadedCount_ = std::max(loadedCount, 0);
    ++ledgerVersion_;
}

void AlarmEngine::Add(const AlarmItem& item) {
    const bool allLoaded = loadedCount_ >= items_.Count();
    items_.Append(item);
    entries_.push_back({++lastId_, kNoMinute, {}, 0});
    if (allLoaded) loadedCount_ = items_.Count();
    ++ledgerVersion_;
}

void AlarmEngine::Modify(int n, const AlarmItem& item) {
    if (!items_.At(n)) return;
    items_.Replace(n, item);
    ++entries_[static_cast<std::size_t>(n - 1)].generation;
    ++ledgerVersion_;
}

void AlarmEngine::Remove(int k) {
    const int count = items_.Count();
    if (k < 1 || k > count) return;
    if (k != count) {
        items_.Replace(k, *items_.At(count));
        entries_[static_cast<std::size_t>(k - 1)] = std::move(entries_.back());
    }
    items_.Remove(count);
    entries_.pop_back();
    loadedCount_ = std::min(loadedCount_, items_.Count());
    ++ledgerVersion_;
}

void AlarmEngine::SetState(int n, int state) {
    const AlarmItem* at = items_.At(n);
    if (!at) return;
    AlarmItem item = *at;
    item.itemState = static_cast<std::uint8_t>(state);
    items_.Replace(n, item);
    ++entries_[static_cast<std::size_t>(n - 1)].generation;
    ++stateChanges_;
}

int AlarmEngine::PositionOf(ItemId id, int hint) const {
    if (hint >= 1 && hint <= static_cast<int>(entries_.size()) && entries_[static_cast<std::size_t>(hint - 1)].id == id)
        return hint;
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].id == id) return static_cast<int>(i) + 1;
    return 0;
}

std::vector<std::string> AlarmEngine::ItemKeys() const {
    // Identical items are told apart by their order among themselves.
    std::vector<std::string> keys;
    std::map<std::string, int> seen;
    for (int n = 1; n <= items_.Count(); ++n) {
        std::string key = ContentKey(*items_.At(n));
        const int ordinal = seen[key]++;
        keys.push_back(key + "." + std::to_string(ordinal));
    }
    return keys;
}

// --- bookkeeping ---

void AlarmEngine::Handle(Entry& entry, std::int64_t occurrence) {
    entry.mark = std::max(entry.mark, occurrence);
    entry.recent.push_back(occurrence);
    if (entry.recent.size() > kRecentMarks) entry.recent.erase(entry.recent.begin());
    ++ledgerVersion_;
}

void AlarmEngine::ForgetFarMarks(std::int64_t minute) {
    const std::int64_t horizon = minute + kRepeatGuardMinutes;
    for (Entry& e : entries_) {
        if (e.mark == kNoMinute || e.mark <= horizon) continue;
        // The clock went back a long way: the occurrences before the mark that never ran may
        // run when the clock reaches them again; those that did stay handled (recent).
        e.mark = minute - 1;
        ++ledgerVersion_;
    }
}

std::int64_t AlarmEngine::MarkAt(const Entry& entry, std::int64_t minute) {
    std::int64_t mark = entry.mark;
    for (std::int64_t m : entry.recent)
        if (m <= minute) mark = std::max(mark, m);
    return mark;
}

void AlarmEngine::ListMissed(const AlarmItem& item, std::int64_t latest, int count) {
    missed_.push_back({item, latest, count});
}

void AlarmEngine::Queue(std::vector<Pending>& queued, int position, std::int64_t occurrence, std::int64_t startMs) {
    const Entry& entry = entries_[static_cast<std::size_t>(position - 1)];
    const ItemId id = entry.id;
    const auto same = [&](const Pending& p) { return !p.snoozed && p.id == id && p.occurrence == occurrence; };
    if (std::any_of(pending_.begin(), pending_.end(), same)) return;  // queued by an earlier tick
    queued.push_back({false, id, occurrence, startMs, {}, position, !MayRunLate(*items_.At(position)), entry.generation});
}

void AlarmEngine::Start(const Ledger& kept, const ClockReading& now) {
    started_ = false;
    awayFrom_ = kept.lastTickMinute;
    const std::vector<std::string> keys = ItemKeys();
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const auto it = kept.handled.find(keys[i]);
        std::vector<std::int64_t> handled;
        if (it != kept.handled.end()) handled = it->second;
        else if (!kept.hasMarks && kept.lastTickMinute) handled = {*kept.lastTickMinute};
        for (std::int64_t m : handled) {
            entries_[i].mark = std::max(entries_[i].mark, m);
            entries_[i].recent.push_back(m);
        }
    }
    // Snoozes were kept in UTC; from here on they wait on the monotonic clock.
    for (const SnoozedReminder& s : kept.snoozes)
        snoozes_.push_back({++lastId_, now.monotonicMs + (s.dueUtcSec - now.utcSec) * 1000, s.text});
    if (!ticked_) NoteReading(now);
}

void AlarmEngine::NoteReading(const ClockReading& now) {
    read_ = true;
    lastLocalSec_ = MinuteSerial(now.local) * 60 + now.local.second;
    lastUtcSec_ = now.utcSec;
    lastMs_ = now.monotonicMs;
}

void AlarmEngine::StartUp(std::int64_t minute) {
    started_ = true;
    ForgetFarMarks(minute);
    if (!awayFrom_) return;
    // What fell due while the program was not running is listed, never run late: nobody was
    // there to see it.
    const std::int64_t after = std::max(*awayFrom_, minute - kStartLookBackMinutes);
    awayFrom_.reset();
    const int count = std::min(loadedCount_, items_.Count());
    for (int n = 1; n <= count; ++n) {
        const AlarmItem& item = *items_.At(n);
        if (!item.Enabled()) continue;
        Entry& entry = entries_[static_cast<std::size_t>(n - 1)];
        const Occurrences found = OccurrencesBetween(item, std::max(after, MarkAt(entry, minute)), minute);
        if (found.count == 0) continue;
        ListMissed(item, found.latest, found.count);
        Handle(entry, found.latest);
    }
}

// --- time ---

void AlarmEngine::Tick(const ClockReading& now) {
    const std::int64_t minute = MinuteSerial(now.local);
    if (minute == kNoMinute) return;
    const std::int64_t localSec = minute * 60 + now.local.second;
    if (!started_) StartUp(minute);
    // The wall clock ran with the monotonic one, in the same zone offset: then how late a
    // minute is follows from the wall clock. Otherwise it began at the last tick at the earliest.
    bool steady = true;
    if (read_) {
        const std::int64_t driftMs = (now.utcSec - lastUtcSec_) * 1000 - (now.monotonicMs - lastMs_);
        steady = driftMs <= kClockSlackSec * 1000 && driftMs >= -kClockSlackSec * 1000 &&
                 localSec - now.utcSec == lastLocalSec_ - lastUtcSec_;
        if (ticked_ && minute < lastMinute_) ForgetFarMarks(minute);
        if (!steady && !snoozes_.empty()) ++ledgerVersion_;  // their UTC instants moved
    }
    const auto startOf = [&](std::int64_t occurrence) {
        return steady ? now.monotonicMs - (localSec - occurrence * 60) * 1000 - kReadingResolutionMs : lastMs_;
    };
    std::vector<Pending> queued;
    const int count = std::min(loadedCount_, items_.Count());
    if (ticked_ && minute > lastMinute_ + 1) {
        // Every minute since the last tick: the latest occurrence of each item is run (late if
        // need be), the earlier ones a long gap passed over are listed.
        const std::int64_t after = std::max(lastMinute_, minute - kRunLookBackMinutes - 1);
        for (int n = 1; n <= count; ++n) {
            const AlarmItem& item = *items_.At(n);
            if (!item.Enabled()) continue;
            const std::int64_t lower = std::max(after, MarkAt(entries_[static_cast<std::size_t>(n - 1)], minute));
            const Occurrences found = OccurrencesBetween(item, lower, minute + 1);
            if (found.count == 0) continue;
            // Already too late now is too late later: listed at once with the ones before it
            // (a long sleep passes thousands); the others queued to be judged when their turn
            // comes, the ones before them listed.
            Entry& entry = entries_[static_cast<std::size_t>(n - 1)];
            const std::int64_t start = startOf(found.latest);
            const bool tooLate = MayRunLate(item) ? now.monotonicMs - start > kLateLimitMinutes * kMsPerMinute
                                                  : found.latest != minute;
            if (tooLate) {
                ListMissed(item, found.latest, found.count);
                Handle(entry, found.latest);
                continue;
            }
            if (found.count > 1) {
                ListMissed(item, found.previous, found.count - 1);
                Handle(entry, found.previous);
            }
            Queue(queued, n, found.latest, start);
        }
    } else {
        // The first tick, another in the same minute, the next minute, or the clock set back:
        // this minute only.
        const LocalMoment local = now.local;
        for (int n = 1; n <= count; ++n) {
            const AlarmItem& item = *items_.At(n);
            // Most items are due at another time of day: told apart before the date rule.
            if (item.hour != local.hour || item.minute != local.minute) continue;
            if (!IsDueInMinute(item, local) || minute <= MarkAt(entries_[static_cast<std::size_t>(n - 1)], minute)) continue;
            Queue(queued, n, minute, startOf(minute));
        }
    }
    for (auto it = snoozes_.begin(); it != snoozes_.end();) {
        if (now.monotonicMs < it->dueMs) {
            ++it;
            continue;
        }
        const std::int64_t occurrence = FloorDiv(localSec * 1000 - (now.monotonicMs - it->dueMs), kMsPerMinute);
        queued.push_back({true, it->id, occurrence, it->dueMs, std::move(it->text), 0, false, 0});
        it = snoozes_.erase(it);
        ++ledgerVersion_;
    }
    // In due order; within a minute a restart or shutdown first (it may only run in its own
    // minute, the others may wait behind its countdown), then by position.
    std::stable_sort(queued.begin(), queued.end(), [](const Pending& a, const Pending& b) {
        if (a.occurrence != b.occurrence) return a.occurrence < b.occurrence;
        return a.strict && !b.strict;
    });
    for (Pending& p : queued) pending_.push_back(std::move(p));
    ticked_ = true;
    lastMinute_ = minute;
    NoteReading(now);
}

std::optional<DueAction> AlarmEngine::NextAction(const ClockReading& now) {
    while (!pending_.empty()) {
        const Pending p = std::move(pending_.front());
        pending_.pop_front();
        const std::int64_t lateMs = now.monotonicMs - p.startMs;
        if (p.snoozed) {
            ++ledgerVersion_;  // no longer kept
            AlarmItem item;
            item.itemState = 1;
            item.notifyMode = kNotifyText;
            item.timeMode = kTimeOnce;  // "Missed alarms" shows it as a reminder once at its time
            const LocalMoment at = MomentOfMinute(p.occurrence);
            item.hour = static_cast<std::uint8_t>(at.hour);
            item.minute = static_cast<std::uint8_t>(at.minute);
            item.SetYear(static_cast<int>(at.date.year));
            item.month = static_cast<std::uint8_t>(at.date.month);
            item.wDay = static_cast<std::uint8_t>(at.date.day);
            item.notifyText = p.text;
            if (lateMs > kLateLimitMinutes * kMsPerMinute) {
                ListMissed(item, p.occurrence, 1);
                continue;
            }
            return DueAction{std::move(item), 0, p.occurrence};
        }
        // Against the item as it is now: deleted, or changed since (the generation) and now
        // disabled or at another time, it is dropped.
        const int n = PositionOf(p.id, p.position);
        if (n == 0 || n > loadedCount_) continue;
        const AlarmItem& item = *items_.At(n);
        Entry& entry = entries_[static_cast<std::size_t>(n - 1)];
        // Set back before its minute meanwhile, it waits until the clock reaches it again.
        const bool changed = entry.generation != p.generation;
        if ((changed && (!item.Enabled() || !MatchesMinute(item, MomentOfMinute(p.occurrence)))) ||
            p.occurrence <= MarkAt(entry, p.occurrence) || p.occurrence > MinuteSerial(now.local))
            continue;
        Handle(entry, p.occurrence);
        // A restart or shutdown only in its own minute, by the wall clock and by the real time
        // since that minute began; the others up to the late limit.
        const bool inTime = MayRunLate(item) ? lateMs <= kLateLimitMinutes * kMsPerMinute
                                             : lateMs < kMsPerMinute && MinuteSerial(now.local) == p.occurrence;
        if (!inTime) {
            ListMissed(item, p.occurrence, 1);
            continue;
        }
        return DueAction{item, n, p.occurrence};
    }
    return std::nullopt;
}

std::vector<MissedItem> AlarmEngine::TakeMissed() {
    std::vector<MissedItem> missed = std::move(missed_);
    missed_.clear();
    std::stable_sort(missed.begin(), missed.end(),
                     [](const MissedItem& a, const MissedItem& b) { return a.latest < b.latest; });
    return missed;
}

// --- snoozes and what is kept ---

void AlarmEngine::Snooze(const std::string& text, int minutes, const ClockReading& now) {
    snoozes_.push_back({++lastId_, now.monotonicMs + std::int64_t{minutes} * kMsPerMinute, text});
    if (!ticked_) NoteReading(now);
    ++ledgerVersion_;
}

std::vector<SnoozedReminder> AlarmEngine::Snoozed() const {
    std::vector<SnoozedReminder> snoozed;
    const auto add = [&](std::int64_t dueMs, const std::string& text) {
        snoozed.push_back({lastUtcSec_ - FloorDiv(lastMs_ - dueMs, 1000), text});
    };
    for (const Pending& p : pending_)
        if (p.snoozed) add(p.startMs, p.text);
    for (const Waiting& s : snoozes_) add(s.dueMs, s.text);
    return snoozed;
}

Ledger AlarmEngine::Kept() const {
    Ledger kept;
    const std::vector<std::string> keys = ItemKeys();
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const Entry& e = entries_[i];
        std::vector<std::int64_t> handled = e.recent;
        if (e.mark != kNoMinute) handled.push_back(e.mark);
        std::sort(handled.begin(), handled.end());
        handled.erase(std::unique(handled.begin(), handled.end()), handled.end());
        if (handled.size() > kRecentMarks) handled.erase(handled.begin(), handled.end() - kRecentMarks);
        if (!handled.empty()) kept.handled[keys[i]] = std::move(handled);
    }
    kept.lastTickMinute = ticked_ ? std::optional<std::int64_t>(lastMinute_) : awayFrom_;
    kept.snoozes = Snoozed();
    return kept;
}

std::optional<NextDue> AlarmEngine::NextDueAfterNow() const {
    if (!ticked_) return std::nullopt;
    const std::int64_t offsetSec = lastLocalSec_ - lastUtcSec_;
    std::optional<NextDue> next;
    const auto consider = [&](std::int64_t localMinute, std::int64_t utcSec, bool snoozed) {
        if (!next || utcSec < next->utcSec) next = NextDue{localMinute, utcSec, snoozed};
    };
    const int count = std::min(loadedCount_, items_.Count());
    for (int n = 1; n <= count; ++n) {
        const AlarmItem& item = *items_.At(n);
        if (!item.Enabled()) continue;
        if (const auto due = NextOccurrence(item, lastMinute_)) consider(*due, *due * 60 - offsetSec, false);
    }
    for (const SnoozedReminder& s : Snoozed())
        consider(std::max(FloorDiv(s.dueUtcSec + offsetSec, 60), lastMinute_ + 1), s.dueUtcSec, true);
    return next;
}

std::string NextAlarmLine(std::int64_t nowMinute, std::int64_t dueMinute) {
    constexpr char kPrefix[] = "Next alarm: ";
    const std::int64_t days = FloorDiv(dueMinute, kMinutesPerDay) - FloorDiv(nowMinute, kMinutesPerDay);
    const std::string shortText = ShortDueText(dueMinute);  // "Thu 07:30"
    if (days <= 6) return kPrefix + shortText;
    const LocalMoment at = MomentOfMinute(dueMinute);
    const std::size_t blank = shortText.find(' ');
    return kPrefix + shortText.substr(0, blank) + " " + std::to_string(at.date.day) + " " +
           kShortMonths[(at.date.month - 1) % 12] + shortText.substr(blank);
}

// --- the stored forms ---

std::string FormatHandled(const HandledMinutes& handled) {
    std::string text;
    for (const auto& [key, minutes] : handled) {
        text += key;
        for (std::int64_t m : minutes) {
            text += ' ';
            text += std::to_string(m);
        }
        text += "\n";
    }
    return text;
}

HandledMinutes ParseHandled(const std::string& stored) {
    HandledMinutes handled;
    std::istringstream lines(stored);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string key, word;
        words >> key;
        std::vector<std::int64_t> minutes;
        bool good = !key.empty() && line[0] != ' ';
        while (good && words >> word) {
            std::int64_t m = 0;
            good = ParseNumber(word, 0, word.size(), m) && minutes.size() < kRecentMarks;
            minutes.push_back(m);
        }
        if (good && !minutes.empty()) handled[key] = std::move(minutes);
    }
    return handled;
}

std::string FormatSnoozed(const SnoozedReminder& reminder) {
    return std::to_string(reminder.dueUtcSec) + " " + reminder.text;
}

std::optional<SnoozedReminder> ParseSnoozed(const std::string& stored) {
    const std::size_t blank = stored.find(' ');
    SnoozedReminder reminder;
    if (blank == std::string::npos || !ParseNumber(stored, 0, blank, reminder.dueUtcSec)) return std::nullopt;
    reminder.text = stored.substr(blank + 1);
    return reminder;
}

}  // namespace alarms
