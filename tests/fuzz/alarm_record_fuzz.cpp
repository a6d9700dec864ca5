// An alarm record as the registry may hold it: any bytes, any length. Decoding, the list's
// texts and re-encoding must cope with every byte value.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "alarms/AlarmItem.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    alarms::AlarmItem item;
    if (!alarms::DecodeRecord(data, size, item)) return 0;
    // Re-encoding gives back the record's bytes, except the reserved one, which is written 0.
    const alarms::RecordBytes bytes = alarms::EncodeRecord(item);
    for (std::size_t i = 0; i + 1 < alarms::kRecordSize; ++i)
        if (bytes[i] != data[i]) std::abort();
    (void)item.YearNumber();
    (void)alarms::InterpretNotifyMode(item.notifyMode);
    (void)alarms::InterpretTimeMode(item.timeMode, item.week, item.year, std::to_string(item.year1), item.month,
                                    item.wDay);
    (void)alarms::WeekdayName(item.week);
    alarms::AlarmItems items;
    if (items.Append(item) != 0 || items.Count() != 1 || !(*items.At(1) == item)) std::abort();
    return 0;
}
