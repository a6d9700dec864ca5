#include "common/Registry.h"

#include "common/Handles.h"
#include "common/NumericText.h"
#include "common/Utf8Text.h"

#include <algorithm>

namespace registry {

namespace {

// Registry values larger than this are not read at all: no setting or record comes near it.
constexpr DWORD kMaxValueBytes = 1u << 20;

win::AutoKey OpenKey(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, kRegAccess, &key) != ERROR_SUCCESS) return {};
    return win::AutoKey(key);
}

// Reads the whole value of the given size; empty on failure or a changed size.
std::vector<unsigned char> QueryAll(HKEY key, const std::string& name, DWORD size) {
    if (size == 0 || size > kMaxValueBytes) return {};
    std::vector<unsigned char> data(size);
    DWORD type = 0, got = size;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, data.data(), &got) != ERROR_SUCCESS) return {};
    data.resize(std::min(got, size));
    return data;
}

std::string TextOf(const unsigned char* data, std::size_t size) {
    const auto* begin = reinterpret_cast<const char*>(data);
    const auto* end = std::find(begin, begin + size, '\0');
    std::string text(begin, end);
    text.resize(text::CutToCharacters(text, kRegMaxText).size());
    return text;
}

}  // namespace

RegValue RegReadValue(HKEY root, const std::string& keyPath, const std::string& name) {
    RegValue result;
    win::AutoKey key = OpenKey(root, keyPath);
    if (!key) {
        result.kind = RegValue::Kind::Text;  // a missing key reads as empty text
        return result;
    }
    unsigned char buffer[kRegQueryBuffer] = {};
    DWORD type = 0, size = sizeof buffer;
    const LONG rc = RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, buffer, &size);
    if (rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA) return result;
    const bool complete = rc == ERROR_SUCCESS;
    switch (type) {
    case REG_SZ:
        result.kind = RegValue::Kind::Text;
        if (complete) {
            result.text = TextOf(buffer, std::min<DWORD>(size, sizeof buffer));
        } else {
            const auto all = QueryAll(key.get(), name, size);
            result.text = TextOf(all.data(), all.size());
        }
        break;
    case REG_BINARY:
        result.kind = RegValue::Kind::Bytes;
        if (complete) result.bytes.assign(buffer, buffer + size);
        else result.bytes = QueryAll(key.get(), name, size);
        break;
    case REG_DWORD:
        // Only a value of exactly four bytes is a 32-bit number; other sizes read as nothing.
        if (complete && size == sizeof(DWORD)) {
            std::int32_t n = 0;
            memcpy(&n, buffer, sizeof n);
            result.kind = RegValue::Kind::Text;
            result.text = std::to_string(n);
        }
        break;
    default:
        break;
    }
    return result;
}

std::optional<std::string> RegReadWholeText(HKEY root, const std::string& keyPath, const std::string& name) {
    win::AutoKey key = OpenKey(root, keyPath);
    if (!key) return std::nullopt;
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
        return std::nullopt;
    if (size == 0) return std::string();
    const std::vector<unsigned char> all = QueryAll(key.get(), name, size);
    const auto* begin = reinterpret_cast<const char*>(all.data());
    return std::string(begin, std::find(begin, begin + all.size(), '\0'));
}

bool RegWriteValue(HKEY root, const std::string& keyPath, const std::string& name, DWORD type,
                   std::string& value) {
    if (type != REG_SZ && type != REG_DWORD) return true;
    HKEY raw = nullptr;
    if (RegCreateKeyExA(root, keyPath.c_str(), 0, const_cast<char*>(""), REG_OPTION_NON_VOLATILE,
                        kRegAccess, nullptr, &raw, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    win::AutoKey key(raw);
    LONG rc;
    if (type == REG_SZ) {
        rc = RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(value.data()), static_cast<DWORD>(value.size()));
    } else {
        const std::int32_t n = settings::ParseNumericText(value).value_or(0);
        rc = RegSetValueExA(key.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&n), sizeof n);
        value = std::to_string(n);
    }
    return rc == ERROR_SUCCESS;
}

bool RegWriteBinary(HKEY root, const std::string& keyPath, const std::string& name,
                    const unsigned char* data, std::size_t size) {
    HKEY raw = nullptr;
    if (RegCreateKeyExA(root, keyPath.c_str(), 0, const_cast<char*>(""), REG_OPTION_NON_VOLATILE,
                        kRegAccess, nullptr, &raw, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    win::AutoKey key(raw);
    return RegSetValueExA(key.get(), name.c_str(), 0, REG_BINARY, data, static_cast<DWORD>(size)) == ERROR_SUCCESS;
}

void RegDeleteSubKey(HKEY root, const std::string& parentPath, const std::string& subkeyName) {
    win::AutoKey parent = OpenKey(root, parentPath);
    if (parent) RegDeleteKeyA(parent.get(), subkeyName.c_str());
}

void RegDeleteNamedValue(HKEY root, const std::string& keyPath, const std::string& name) {
    win::AutoKey key = OpenKey(root, keyPath);
    if (key) RegDeleteValueA(key.get(), name.c_str());
}

}  // namespace registry
