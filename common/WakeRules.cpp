#include "common/WakeRules.h"

#include <cstdio>

namespace wake {

namespace {

// The civil date of a day count since 1 January 1970 (proleptic Gregorian calendar).
struct Civil {
    std::int64_t year;
    int month, day;
};
Civil CivilOfDays(std::int64_t days) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    const int month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

std::wstring Widened(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::wstring XmlEscaped(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
        switch (c) {
        case L'&': out += L"&amp;"; break;
        case L'<': out += L"&lt;"; break;
        case L'>': out += L"&gt;"; break;
        case L'"': out += L"&quot;"; break;
        default: out += c; break;
        }
    }
    return out;
}

bool Blocks(const std::optional<std::uint32_t>& setting) { return setting && *setting != kWakeTimersEnabled; }

}  // namespace

std::optional<std::int64_t> ArmInstant(std::optional<std::int64_t> due, std::int64_t now) {
    if (!due || *due <= now) return std::nullopt;
    const std::int64_t instant = *due - kLeadSeconds;
    if (instant - now <= kHorizonSeconds) return instant;
    return FloorDiv(now, kSecondsPerDay) * kSecondsPerDay + kHorizonSeconds;
}

std::string WarningLine(const PlanWakeSettings& plan, const ArmResult& armed) {
    const bool mains = Blocks(plan.mains), battery = Blocks(plan.battery);
    if (armed.resumeUnsupported || (mains && battery)) return std::string(kWakeBlockedText) + kOnBothText;
    if (mains) return std::string(kWakeBlockedText) + kOnMainsText;
    if (battery) return std::string(kWakeBlockedText) + kOnBatteryText;
    char text[160];
    if (armed.timerError != 0) {
        std::snprintf(text, sizeof text, "Windows refused the wake timer (error %lu).",
                      static_cast<unsigned long>(armed.timerError));
        return text;
    }
    if (armed.taskError != 0) {
        std::snprintf(text, sizeof text, "Windows refused the wake task (error 0x%08lX).",
                      static_cast<unsigned long>(armed.taskError));
        return text;
    }
    return {};
}

std::string UtcIsoText(std::int64_t instant) {
    const std::int64_t days = FloorDiv(instant, kSecondsPerDay);
    const std::int64_t second = instant - days * kSecondsPerDay;
    const Civil date = CivilOfDays(days);
    char text[48];
    std::snprintf(text, sizeof text, "%04lld-%02d-%02dT%02d:%02d:%02dZ", static_cast<long long>(date.year), date.month,
                  date.day, static_cast<int>(second / 3600), static_cast<int>(second / 60 % 60),
                  static_cast<int>(second % 60));
    return text;
}

std::wstring TaskName(const std::wstring& userName) { return L"Zentaro wake (" + userName + L")"; }

std::wstring TaskDefinition(std::int64_t instant, const std::wstring& program) {
    return L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n"
           L"<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\n"
           L"  <RegistrationInfo><Description>Wakes the computer for the next alarm of the Zentaro clock."
           L"</Description></RegistrationInfo>\n"
           L"  <Triggers><TimeTrigger><StartBoundary>" +
           Widened(UtcIsoText(instant)) +
           L"</StartBoundary><Enabled>true</Enabled></TimeTrigger></Triggers>\n"
           L"  <Principals><Principal id=\"Author\"><LogonType>InteractiveToken</LogonType>"
           L"<RunLevel>LeastPrivilege</RunLevel></Principal></Principals>\n"
           L"  <Settings><WakeToRun>true</WakeToRun><DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>"
           L"<StopIfGoingOnBatteries>false</StopIfGoingOnBatteries><StartWhenAvailable>false</StartWhenAvailable>"
           L"<MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>"
           L"<ExecutionTimeLimit>PT10M</ExecutionTimeLimit></Settings>\n"
           L"  <Actions Context=\"Author\"><Exec><Command>" +
           XmlEscaped(program) + L"</Command><Arguments>" + Widened(kWakeArgument) +
           L"</Arguments></Exec></Actions>\n</Task>\n";
}

}  // namespace wake
