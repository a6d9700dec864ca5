#include "alarms/AlarmStore.h"

#include "alarms/Scheduler.h"

#include "common/Handles.h"
#include "common/Registry.h"
#include "common/Settings.h"
#include "common/Utf8Text.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <unordered_map>

namespace alarms {

namespace {

const char* const kKey = settings::kAlarmKey;

// A value as the store reads it: REG_SZ is text (up to its first zero, cut to the settings
// store's limit in characters), REG_BINARY bytes; any other type reads as nothing, the placeholder that
// makes a record damaged and a text empty.
registry::RegValue ValueOf(DWORD type, const unsigned char* data, DWORD size) {
    registry::RegValue value;
    if (type == REG_SZ) {
        const auto* begin = reinterpret_cast<const char*>(data);
        value.kind = registry::RegValue::Kind::Text;
        value.text.assign(begin, std::find(begin, begin + size, '\0'));
        value.text.resize(text::CutToCharacters(value.text, registry::kRegMaxText).size());
    } else if (type == REG_BINARY) {
        value.kind = registry::RegValue::Kind::Bytes;
        value.bytes.assign(data, data + size);
    }
    return value;
}

win::AutoKey OpenAlarmKey() {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &raw) != ERROR_SUCCESS) return win::AutoKey();
    return win::AutoKey(raw);
}

// One value of the open key; its size is asked first, so nothing over kMaxStoredValue is allocated.
registry::RegValue ReadCapped(HKEY key, const std::string& name) {
    DWORD type = 0, size = 0;
    if (!key || RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
    if (size > kMaxStoredValue) return {};
    std::vector<unsigned char> data(size + 1);
    DWORD got = size;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, data.data(), &got) != ERROR_SUCCESS) return {};
    return ValueOf(type, data.data(), std::min(got, size));
}

// The record bytes of a stored value, when there are at least 11 and they are binary.
bool RecordOf(const registry::RegValue& value, RecordBytes& record) {
    if (value.kind != registry::RegValue::Kind::Bytes || value.bytes.size() < kRecordSize) return false;
    std::copy_n(value.bytes.begin(), kRecordSize, record.begin());
    return true;
}

bool ReadRecord(int n, RecordBytes& record) {
    const win::AutoKey key = OpenAlarmKey();
    return RecordOf(ReadCapped(key.get(), ValueName(kDataPrefix, n)), record);
}

// Item n from a reader of values by name; see ReadAlarmItem().
template <typename Reader>
AlarmItem ItemFrom(int n, Reader&& read, bool* recordValid) {
    AlarmItem item;
    RecordBytes record{};
    const bool valid = RecordOf(read(ValueName(kDataPrefix, n)), record);
    if (valid) DecodeRecord(record.data(), record.size(), item);
    for (const TextField& field : kTextFields) item.*field.member = read(ValueName(field.prefix, n)).TextOrEmpty();
    if (recordValid) *recordValid = valid;
    return item;
}

std::string Lowered(std::string name) {
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

// Every value of the alarm key, read in one enumeration into one buffer of kMaxStoredValue
// bytes and keyed by lower-case name (value names are compared without regard to case).
// Loading thousands of items value by value would open the key five times per item. A value
// too large for the buffer is left out: it reads as the placeholder, as ReadCapped reads it.
std::unordered_map<std::string, registry::RegValue> SnapshotOfKey() {
    std::unordered_map<std::string, registry::RegValue> values;
    const win::AutoKey key = OpenAlarmKey();
    if (!key) return values;
    DWORD count = 0, maxName = 0;
    if (RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &maxName, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS) {
        return values;
    }
    std::vector<char> name(maxName + 2);
    std::vector<unsigned char> data(kMaxStoredValue);
    for (DWORD i = 0; i < count; ++i) {
        DWORD nameSize = static_cast<DWORD>(name.size()), dataSize = static_cast<DWORD>(data.size()), type = 0;
        if (RegEnumValueA(key.get(), i, name.data(), &nameSize, nullptr, &type, data.data(), &dataSize) != ERROR_SUCCESS)
            continue;  // ERROR_MORE_DATA: over the limit
        registry::RegValue value = ValueOf(type, data.data(), std::min<DWORD>(dataSize, kMaxStoredValue));
        if (value.kind == registry::RegValue::Kind::Nothing) continue;
        values.emplace(Lowered(std::string(name.data(), nameSize)), std::move(value));
    }
    return values;
}

// Copies value `from` to `to` as stored (type and bytes), when it is within the read limit;
// a larger one is not carried.
void MoveValue(const std::string& from, const std::string& to) {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &raw) != ERROR_SUCCESS) return;
    const win::AutoKey key(raw);
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key.get(), from.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return;
    if (size > kMaxStoredValue) return;
    std::vector<unsigned char> data(size + 1);
    DWORD got = size;
    if (RegQueryValueExA(key.get(), from.c_str(), nullptr, &type, data.data(), &got) != ERROR_SUCCESS) return;
    RegSetValueExA(key.get(), to.c_str(), 0, type, data.data(), std::min(got, size));
}

bool WriteRecord(int n, const RecordBytes& record) {
    return registry::RegWriteBinary(HKEY_CURRENT_USER, kKey, ValueName(kDataPrefix, n), record.data(), record.size());
}

// Writes each non-empty text of the item under number n and deletes the values of the empty ones.
void WriteTexts(int n, const AlarmItem& item) {
    for (const TextField& field : kTextFields) {
        const std::string& text = item.*field.member;
        const std::string name = ValueName(field.prefix, n);
        if (text.empty()) registry::RegDeleteNamedValue(HKEY_CURRENT_USER, kKey, name);
        else settings::WriteText(kKey, name.c_str(), text);
    }
}

void DeleteItemValues(int n) {
    registry::RegDeleteNamedValue(HKEY_CURRENT_USER, kKey, ValueName(kDataPrefix, n));
    for (const TextField& field : kTextFields) registry::RegDeleteNamedValue(HKEY_CURRENT_USER, kKey, ValueName(field.prefix, n));
}

}  // namespace

int StoredItemCount() {
    return std::clamp(settings::ReadNumberOr(kKey, kDataCountName, 0), 0, kMaxItemCount);
}

AlarmItem ReadAlarmItem(int n, bool* recordValid) {
    const win::AutoKey key = OpenAlarmKey();
    return ItemFrom(n, [&](const std::string& name) { return ReadCapped(key.get(), name); }, recordValid);
}

AlarmItems ReadAllAlarmItems(int count) {
    const auto values = SnapshotOfKey();
    const registry::RegValue nothing;
    const auto read = [&](const std::string& name) -> const registry::RegValue& {
        const auto it = values.find(Lowered(name));
        return it == values.end() ? nothing : it->second;
    };
    AlarmItems items;
    for (int n = 1; n <= count; ++n) items.Append(ItemFrom(n, read, nullptr));
    return items;
}

int AppendAlarmItem(const AlarmItem& item) {
    const int count = StoredItemCount();
    if (count >= kMaxItemCount) return 0;
    const int n = count + 1;
    // The record goes in before the count names it, so a failed write leaves no item without one.
    WriteTexts(n, item);
    if (!WriteRecord(n, EncodeRecord(item))) return 0;
    settings::WriteDword(kKey, kDataCountName, n);
    AlarmItemAppended(n, item);
    return n;
}

bool WriteAlarmItem(int n, const AlarmItem& item) {
    if (n < 1 || n > StoredItemCount()) return false;
    WriteTexts(n, item);
    const bool written = WriteRecord(n, EncodeRecord(item));
    AlarmItemWritten(n, written ? item : ReadAlarmItem(n));
    return written;
}

void SetAlarmItemState(int n, int state) {
    RecordBytes record{};
    if (!ReadRecord(n, record)) return;
    record[0] = static_cast<std::uint8_t>(state);
    if (WriteRecord(n, record)) AlarmItemStateSet(n, state);
}

void DeleteAlarmItem(int k) {
    const int count = StoredItemCount();
    if (k < 1 || k > count) return;
    DeleteItemValues(k);
    if (k < count) {
        // The stored values as they are, whatever their type.
        MoveValue(ValueName(kDataPrefix, count), ValueName(kDataPrefix, k));
        for (const TextField& field : kTextFields)
            MoveValue(ValueName(field.prefix, count), ValueName(field.prefix, k));
        DeleteItemValues(count);
    }
    settings::WriteDword(kKey, kDataCountName, count - 1);
    AlarmItemDeleted(k, count);
}

}  // namespace alarms
