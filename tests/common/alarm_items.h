// Alarm items that the native unit tests and the tests under Wine both store. Pure: no
// platform headers.
#pragma once
#include <cstdint>
#include <string>

#include "alarms/AlarmItem.h"

namespace alarms_test {

// An enabled item that shows `text` every day at hour:minute.
inline alarms::AlarmItem DailyReminder(std::uint8_t hour, std::uint8_t minute, const std::string& text = {}) {
    alarms::AlarmItem item;
    item.itemState = 1;
    item.notifyMode = alarms::kNotifyText;
    item.timeMode = alarms::kTimeDaily;
    item.hour = hour;
    item.minute = minute;
    item.notifyText = text;
    return item;
}

}  // namespace alarms_test
