#include "tools/DateTip.h"

#include <array>
#include <memory>

#include "common/SystemSeams.h"
#include "toolkit/Controls.h"

namespace {

// The main window module's tool tip; set once at window creation.
std::unique_ptr<controls::Tooltip>& Tooltip() {
    static std::unique_ptr<controls::Tooltip> tip;
    return tip;
}

}  // namespace

std::string ShortDateText(const SYSTEMTIME& date) {
    std::array<char, 128> buf{};
    const int n = GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &date, nullptr, buf.data(),
                                 static_cast<int>(buf.size()));
    if (n <= 0) return {};
    buf.back() = '\0';
    return std::string(buf.data());
}

void CreateMainTooltip(HWND main) {
    auto tip = std::make_unique<controls::Tooltip>();
    tip->CreateTooltip();
    tip->Tooltip_SetDelayTime(kMainTooltipAutoPopMs);
    tip->Tooltip_SetMaxWidth(kMainTooltipMaxWidth);
    // The date of the program's start; it is not updated at midnight.
    tip->AddTooltip(ShortDateText(sys::LocalTime()), main);
    Tooltip() = std::move(tip);
}

void ReleaseMainTooltip() { Tooltip().reset(); }

HWND MainTooltipWindow() { return Tooltip() ? Tooltip()->hwnd() : nullptr; }
