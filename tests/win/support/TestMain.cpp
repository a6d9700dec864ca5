// Entry of every in-process test program. Each process gets a private HKEY_CURRENT_USER:
// a scratch key that RegOverridePredefKey puts in place of the real one, so tests may run
// in parallel and never see each other's settings (nor the user's).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::string ScratchPath() {
    return "Software\\ZentaroTests\\" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(GetTickCount64());
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const std::string scratch = ScratchPath();
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, scratch.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS ||
        RegOverridePredefKey(HKEY_CURRENT_USER, key) != ERROR_SUCCESS) {
        fprintf(stderr, "cannot isolate HKEY_CURRENT_USER\n");
        return 2;
    }
    const int rc = RUN_ALL_TESTS();
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegCloseKey(key);
    RegDeleteTreeA(HKEY_CURRENT_USER, scratch.c_str());
    return rc;
}
