// Helpers for the in-process tests under Wine.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace testing_support {

// Deletes everything under the process's private HKEY_CURRENT_USER (see TestMain.cpp).
void ClearUserRegistry();

// Dispatches this thread's messages until pred() holds or timeoutMs passes; returns pred().
bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs = 5000);
// Dispatches the messages that are waiting now.
void PumpPending();

// A fresh directory under the system's temporary folder, removed with its files at scope end.
class TempDir {
public:
    TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "\\" + name; }
private:
    std::string path_;
};

// Writes bytes to a file; returns false on failure.
bool WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileBytes(const std::string& path);

// A 24-bit bottom-up BMP file image: pixel(x, y) gives the colour (COLORREF) of (x, y).
std::string MakeBmp(int width, int height, const std::function<COLORREF(int, int)>& pixel);

}  // namespace testing_support
