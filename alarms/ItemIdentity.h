// Identities of loaded alarm items that survive reloading the store: the scheduler notes which
// items have fired by identity, so an edit, a delete (the last item moves into the gap), an
// append or a reload never makes a fired item fire again nor keeps one that has not fired from
// firing. Pure code: no platform headers.
#pragma once
#include "alarms/AlarmItem.h"

#include <cstdint>
#include <vector>

namespace alarms {

using ItemId = std::uint64_t;

// The identities of newItems, given the old copy and its identities. An item keeps the identity
// of an old one
//   1. at the same position with the same record and texts (an unchanged item), else
//   2. the first old item not yet taken with the same record and texts (an item moved by a
//      delete), else
//   3. the old item at the same position when that one was not taken (an item edited in place);
// any other item is new and gets nextId, which grows.
std::vector<ItemId> CarryIdentities(const AlarmItems& oldItems, const std::vector<ItemId>& oldIds,
                                    const AlarmItems& newItems, ItemId& nextId);

}  // namespace alarms
