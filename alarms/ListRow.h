// The text of an item's row in the alarm list: time, date rule and action, e.g.
// "7:5 (Daily)|Text HintStand up" or "18:30 (6/15/2005)|Play a soundC:\Sounds\ring.wav".
// Pure code: no platform headers.
#pragma once
#include "alarms/AlarmItem.h"

#include <string>
#include <vector>

namespace alarms {

std::string ListRowText(const AlarmItem& item);

// What a row's check boxes become after DeleteAlarmItem(k) on a store of checks.size() items:
// row k - 1 goes, and the last row (when it was not the one deleted) takes its place, as the
// store moves the last item into the gap. k outside 1..checks.size() changes nothing.
void ApplyDeleteToRows(std::vector<bool>& checks, int k);

}  // namespace alarms
