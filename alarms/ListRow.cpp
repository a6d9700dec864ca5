#include "alarms/ListRow.h"

namespace alarms {

std::string ListRowText(const AlarmItem& item) {
    std::string action = InterpretNotifyMode(item.notifyMode);
    switch (item.notifyMode) {
    case kNotifySound: action += item.wavFile; break;
    case kNotifyText: action += item.notifyText; break;
    case kNotifyProgram: action += item.runExe; break;
    default: break;
    }
    const std::string date = InterpretTimeMode(item.timeMode, item.week, item.year, std::to_string(item.year1),
                                               item.month, item.wDay);
    return std::to_string(item.hour) + ":" + std::to_string(item.minute) + " (" + date + ")|" + action;
}

void ApplyDeleteToRows(std::vector<bool>& checks, int k) {
    const int count = static_cast<int>(checks.size());
    if (k < 1 || k > count) return;
    checks[static_cast<std::size_t>(k - 1)] = checks.back();
    checks.pop_back();
}

}  // namespace alarms
