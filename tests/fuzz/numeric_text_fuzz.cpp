// Numbers as the settings store, stop.ini and the break settings' fields hold them.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "alarms/EditorRules.h"
#include "breaksettings/BreakItem.h"
#include "common/NumericText.h"
#include "common/StopIni.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (const auto value = settings::ParseNumericText(text)) {
        // A number read back from its own decimal text is the same number.
        if (settings::ParseNumericText(std::to_string(*value)) != value) std::abort();
        const int seconds = stopini::ClampBreakLength(*value);
        if (seconds < 0 || seconds > stopini::kMaxBreakSeconds) std::abort();
    }
    (void)alarms::FieldByte(text);
    const int weekday = breaksettings::WeekdayOf(text, 3);
    if (weekday < 0 || weekday > 6) std::abort();
    return 0;
}
