// The calendar tool's typed number of days, and today moved by it.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "tools/DayCount.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto days = toolkit::ParseDayCount(text);
    if (!days) return 0;
    const toolkit::CivilDate today{2026, 12, 8};
    if (const auto moved = toolkit::TodayPlusInRange(today, *days)) {
        if (toolkit::DayDistance(today, *moved) != *days) std::abort();
    }
    (void)toolkit::AddDays(today, static_cast<long long>(*days) * 400000);
    return 0;
}
