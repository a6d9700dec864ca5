#include "tools/DateTip.h"

#include <array>

#include "common/SystemSeams.h"

namespace tools {

std::string ShortDateText(const SYSTEMTIME& date) {
    std::array<char, 128> buf{};
    const int n = GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &date, nullptr, buf.data(),
                                 static_cast<int>(buf.size()));
    if (n <= 0) return {};
    buf.back() = '\0';
    return std::string(buf.data());
}

std::unique_ptr<controls::Tooltip> CreateDateTip(HWND main) {
    auto tip = std::make_unique<controls::Tooltip>();
    tip->CreateTooltip();
    tip->Tooltip_SetDelayTime(kDateTipAutoPopMs);
    tip->Tooltip_SetMaxWidth(kDateTipMaxWidth);
    // The date of the program's start; it is not updated at midnight.
    tip->AddTooltip(ShortDateText(sys::LocalTime()), main);
    return tip;
}

}  // namespace tools
