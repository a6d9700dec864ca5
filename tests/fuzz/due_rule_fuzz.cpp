// The due rules over any record and any moment, and the day serials over all of 64 bits: a
// date the arithmetic cannot hold is "no date", never an overflow.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>

#include "alarms/DueRule.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    alarms::AlarmItem item;
    const auto record = in.ConsumeBytes<std::uint8_t>(alarms::kRecordSize);
    if (!alarms::DecodeRecord(record.data(), record.size(), item)) return 0;
    alarms::LocalMoment now;
    now.date.year = in.ConsumeIntegral<std::int64_t>();
    now.date.month = in.ConsumeIntegral<int>();
    now.date.day = in.ConsumeIntegral<int>();
    now.hour = in.ConsumeIntegral<int>();
    now.minute = in.ConsumeIntegral<int>();
    (void)alarms::MatchesMinute(item, now);
    (void)alarms::MinuteSerial(now);
    (void)alarms::WeekdayOf(now.date);

    const std::int64_t year = in.ConsumeIntegral<std::int64_t>();
    const std::int64_t month = in.ConsumeIntegral<std::int64_t>();
    const std::int64_t day = in.ConsumeIntegral<std::int64_t>();
    if (const auto serial = alarms::DaySerial(year, month, day)) {
        // A carried date is an ordinary date with the same serial.
        const auto date = alarms::DateOfSerial(*serial);
        if (!date || date->month < 1 || date->month > 12 || date->day < 1 || date->day > 31) std::abort();
        if (alarms::DaySerial(date->year, date->month, date->day) != serial) std::abort();
        const int weekday = alarms::WeekdayOf(*date);
        if (weekday < 0 || weekday > 6) std::abort();
    }
    (void)alarms::DateOfSerial(in.ConsumeIntegral<std::int64_t>());
    return 0;
}
