#include "face/StartWithWindows.h"

#include "face/SkinRules.h"
#include "common/Registry.h"
#include "common/Settings.h"

namespace skins {

RunValuePlace SetStartWithSystem(bool on, const std::string& programPath, const RunRoots& roots) {
    if (!on) {
        registry::RegDeleteNamedValue(roots.machine, settings::kRunKey, settings::kRunValue);
        registry::RegDeleteNamedValue(roots.user, settings::kRunKey, settings::kRunValue);
        return RunValuePlace::None;
    }
    const std::string command = RunCommandFor(programPath);
    std::string value = command;
    if (registry::RegWriteValue(roots.machine, settings::kRunKey, settings::kRunValue, REG_SZ, value)) {
        registry::RegDeleteNamedValue(roots.user, settings::kRunKey, settings::kRunValue);
        return RunValuePlace::Machine;
    }
    value = command;
    if (registry::RegWriteValue(roots.user, settings::kRunKey, settings::kRunValue, REG_SZ, value)) return RunValuePlace::User;
    return RunValuePlace::None;
}

}  // namespace skins
