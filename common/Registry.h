// The four registry operations through which the main program reads and writes its settings
// and alarm items. None reports an error to its caller beyond its result.
#pragma once
#include <windows.h>
#include <optional>
#include <string>
#include <vector>

namespace registry {

// A value as read: text, a byte array, or nothing (missing value or unsupported type).
struct RegValue {
    enum class Kind { Nothing, Text, Bytes };
    Kind kind = Kind::Nothing;
    std::string text;
    std::vector<unsigned char> bytes;

    // Callers that want text treat nothing (and bytes) as empty text.
    const std::string& TextOrEmpty() const { static const std::string empty; return kind == Kind::Text ? text : empty; }
};

// Keys are opened with this access mask: query, set, create subkey, enumerate, notify, create link.
constexpr REGSAM kRegAccess = KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_ENUMERATE_SUB_KEYS |
                              KEY_NOTIFY | KEY_CREATE_LINK;
// The first query of a value uses a buffer of this size; longer texts are cut to kRegMaxText
// characters (whole UTF-8 sequences, see common/Utf8Text.h).
constexpr DWORD kRegQueryBuffer = 1024;
constexpr std::size_t kRegMaxText = kRegQueryBuffer - 1;

RegValue RegReadValue(HKEY root, const std::string& keyPath, const std::string& name);
// A REG_SZ value whole, however long (up to 1 MiB); none when the key or value is missing or of
// another type.
std::optional<std::string> RegReadWholeText(HKEY root, const std::string& keyPath, const std::string& name);

// Type REG_SZ writes value as text without a terminating zero. Type REG_DWORD converts value
// to a 32-bit integer (non-numeric text gives 0), writes it and hands the integer back in
// value as decimal text. Any other type writes nothing and returns true.
bool RegWriteValue(HKEY root, const std::string& keyPath, const std::string& name, DWORD type,
                   std::string& value);
bool RegWriteBinary(HKEY root, const std::string& keyPath, const std::string& name,
                    const unsigned char* data, std::size_t size);

void RegDeleteSubKey(HKEY root, const std::string& parentPath, const std::string& subkeyName);
void RegDeleteNamedValue(HKEY root, const std::string& keyPath, const std::string& name);

}  // namespace registry
