#include "alarms/DueTracker.h"

#include <algorithm>
#include <map>

namespace alarms {

std::uint64_t WhenKey(const AlarmItem& item) {
    const RecordBytes bytes = EncodeRecord(item);
    std::uint64_t key = 0;
    for (std::size_t i = 2; i <= 9; ++i) key = (key << 8) | bytes[i];
    return key;
}

void DueTracker::Replace(AlarmItems items, int loadedCount) {
    items_ = std::move(items);
    loadedCount_ = std::max(loadedCount, 0);
    ++generation_;
}

void DueTracker::ForgetOtherMinutes(std::int64_t minute) {
    for (auto it = claims_.begin(); it != claims_.end();) {
        const bool keep = it->minute == minute ||
                          std::find(openPasses_.begin(), openPasses_.end(), it->minute) != openPasses_.end();
        it = keep ? std::next(it) : claims_.erase(it);
    }
}

void DueTracker::Check(const LocalMoment& now) {
    const std::int64_t minute = MinuteSerial(now);
    ForgetOtherMinutes(minute);
    if (loadedCount_ <= 0) return;

    // Keeps this pass's minute alive for the bookkeeping while nested passes run.
    struct OpenPass {
        std::vector<std::int64_t>& passes;
        OpenPass(std::vector<std::int64_t>& p, std::int64_t m) : passes(p) { passes.push_back(m); }
        ~OpenPass() { passes.pop_back(); }
    } open(openPasses_, minute);

    bool rescan = true;
    while (rescan) {
        rescan = false;
        const std::uint64_t generation = generation_;
        std::map<std::uint64_t, int> seen;  // "when" keys of due-by-time items met so far
        const int count = std::min(loadedCount_, items_.Count());
        for (int index = 1; index <= count; ++index) {
            const AlarmItem& candidate = *items_.At(index);
            // Disabled items with the same "when" still count towards the ordinal, so that
            // enabling or disabling an item never shifts the identity of another.
            if (!MatchesMinute(candidate, now)) continue;
            const std::uint64_t when = WhenKey(candidate);
            const int ordinal = seen[when]++;
            if (!candidate.Enabled()) continue;
            if (!claims_.insert(Claim{minute, when, ordinal}).second) continue;  // fired already
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

}  // namespace alarms
