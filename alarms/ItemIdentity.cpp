#include "alarms/ItemIdentity.h"

#include <algorithm>
#include <deque>
#include <string>
#include <unordered_map>

namespace alarms {

namespace {

// The record and the four texts, each text preceded by its length so no two items share a key.
std::string ContentKey(const AlarmItem& item) {
    const RecordBytes record = EncodeRecord(item);
    std::string key(record.begin(), record.end());
    for (const TextField& field : kTextFields) {
        const std::string& text = item.*field.member;
        key += std::to_string(text.size());
        key += ':';
        key += text;
    }
    return key;
}

}  // namespace

std::vector<ItemId> CarryIdentities(const AlarmItems& oldItems, const std::vector<ItemId>& oldIds,
                                    const AlarmItems& newItems, ItemId& nextId) {
    const int oldCount = std::min<int>(oldItems.Count(), static_cast<int>(oldIds.size()));
    const int newCount = newItems.Count();
    constexpr ItemId kNone = 0;
    std::vector<ItemId> ids(static_cast<std::size_t>(newCount), kNone);
    std::vector<bool> taken(static_cast<std::size_t>(oldCount), false);
    const auto take = [&](int newPos, int oldPos) {
        ids[static_cast<std::size_t>(newPos - 1)] = oldIds[static_cast<std::size_t>(oldPos - 1)];
        taken[static_cast<std::size_t>(oldPos - 1)] = true;
    };

    for (int n = 1; n <= std::min(oldCount, newCount); ++n)
        if (*oldItems.At(n) == *newItems.At(n)) take(n, n);

    std::unordered_map<std::string, std::deque<int>> untakenByContent;
    for (int o = 1; o <= oldCount; ++o)
        if (!taken[static_cast<std::size_t>(o - 1)]) untakenByContent[ContentKey(*oldItems.At(o))].push_back(o);
    for (int n = 1; n <= newCount; ++n) {
        if (ids[static_cast<std::size_t>(n - 1)] != kNone) continue;
        const auto it = untakenByContent.find(ContentKey(*newItems.At(n)));
        if (it == untakenByContent.end()) continue;
        while (!it->second.empty() && taken[static_cast<std::size_t>(it->second.front() - 1)]) it->second.pop_front();
        if (it->second.empty()) continue;
        take(n, it->second.front());
        it->second.pop_front();
    }

    for (int n = 1; n <= newCount; ++n) {
        if (ids[static_cast<std::size_t>(n - 1)] != kNone) continue;
        if (n <= oldCount && !taken[static_cast<std::size_t>(n - 1)]) take(n, n);
        else ids[static_cast<std::size_t>(n - 1)] = ++nextId;
    }
    return ids;
}

}  // namespace alarms
