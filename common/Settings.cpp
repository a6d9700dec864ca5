#include "common/Settings.h"

#include "common/NumericText.h"
#include "common/Registry.h"

namespace settings {

std::string ReadText(const char* key, const char* name) {
    return registry::RegReadValue(HKEY_CURRENT_USER, key, name).TextOrEmpty();
}

std::optional<std::int32_t> ReadNumber(const char* key, const char* name) {
    return ParseNumericText(ReadText(key, name));
}

std::int32_t ReadNumberOr(const char* key, const char* name, std::int32_t fallback) {
    return ReadNumber(key, name).value_or(fallback);
}

bool ReadFlag(const char* key, const char* name) { return ReadNumberOr(key, name, 0) > 0; }

bool WriteText(const char* key, const char* name, const std::string& text) {
    std::string value = text;
    return registry::RegWriteValue(HKEY_CURRENT_USER, key, name, REG_SZ, value);
}

bool WriteDword(const char* key, const char* name, std::int32_t value) {
    std::string text = std::to_string(value);
    return registry::RegWriteValue(HKEY_CURRENT_USER, key, name, REG_DWORD, text);
}

}  // namespace settings
