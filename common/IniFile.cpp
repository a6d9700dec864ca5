#include "common/IniFile.h"

#include "common/ProgramPath.h"
#include "common/StopIni.h"

#include <windows.h>

#include <vector>

namespace ini {
namespace {

struct IniState {
    std::string path;
    std::string errorText;
};

IniState& State() {
    static IniState state;
    return state;
}

// The largest buffer a string read asks for; callers use 12.
constexpr std::size_t kMaxReadSize = 32768;

}  // namespace

void SetIniFile(const std::string& path) {
    const auto first = path.find_first_not_of(' ');
    const auto last = path.find_last_not_of(' ');
    State().path = first == std::string::npos ? std::string() : path.substr(first, last - first + 1);
}

const std::string& IniFilePath() { return State().path; }
const std::string& IniErrorText() { return State().errorText; }

bool IniFileMissing() {
    if (State().path.empty()) {
        State().errorText = kErrNoFile;
        return true;
    }
    State().errorText.clear();
    return false;
}

bool WriteIniString(const std::string& section, const std::string& key, const std::string& value) {
    if (IniFileMissing()) return false;
    if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), State().path.c_str())) {
        State().errorText = kErrWrite;
        return false;
    }
    return true;
}

std::int32_t ReadIniInt(const std::string& section, const std::string& key) {
    if (IniFileMissing()) return 0;
    const char* path = State().path.c_str();
    const UINT a = GetPrivateProfileIntA(section.c_str(), key.c_str(), 0, path);
    if (a != 0) return static_cast<std::int32_t>(a);
    // A second read with another default tells a stored 0 from a missing key.
    const UINT b = GetPrivateProfileIntA(section.c_str(), key.c_str(), 1, path);
    if (b == 1) {
        State().errorText = kErrRead;
        return 0;
    }
    return static_cast<std::int32_t>(b);
}

std::string ReadIniString(const std::string& section, const std::string& key, std::size_t size) {
    if (IniFileMissing() || size == 0) return {};
    if (size > kMaxReadSize) size = kMaxReadSize;
    std::vector<char> buffer(size, ' ');
    const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer.data(),
                                             static_cast<DWORD>(size), State().path.c_str());
    return std::string(buffer.data(), std::min<std::size_t>(n, size - 1));
}

std::string DefaultIniPath() { return paths::ProgramDirectory() + stopini::kFileName; }

}  // namespace ini
