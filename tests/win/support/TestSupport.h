// Helpers for the in-process tests under Wine.
#pragma once
#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "common/Handles.h"

namespace testing_support {

// Deletes everything under the process's private HKEY_CURRENT_USER (see TestMain.cpp).
void ClearUserRegistry();

// Dispatches this thread's messages until pred() holds or timeoutMs passes; returns pred().
bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs = 5000);
// Dispatches the messages that are waiting now.
void PumpPending();
// The first top-level window of this process with the class and (when not null) the title.
// Test programs share one display: FindWindow alone may find another test's window.
HWND FindOwnWindow(const char* className, const char* title = nullptr);
// How many top-level windows of this process have the class.
int CountOwnWindows(const char* className);

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

// A local time as the clock seam gives it, with its true day of the week.
SYSTEMTIME LocalTime(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second, WORD milliseconds = 0);

// A width x height surface of kGround, a colour no frame or text uses, to paint a window's
// client area into and see which pixels the painting marked.
class PaintSurface {
public:
    static constexpr COLORREF kGround = RGB(0, 128, 0);
    PaintSurface(int width, int height);
    PaintSurface(const PaintSurface&) = delete;
    PaintSurface& operator=(const PaintSurface&) = delete;
    ~PaintSurface();
    HDC dc() const { return dc_.get(); }
    bool Marked(int x, int y) const { return GetPixel(dc_.get(), x, y) != kGround; }
private:
    win::AutoMemDC dc_;
    win::AutoBitmap bitmap_;
    HGDIOBJ old_ = nullptr;  // the DC's own bitmap, put back before the DC goes
};

// Message boxes shown on this thread while it lives: their caption and text; each is
// answered with OK at once. A box is counted once, however often it is activated (another
// program on the same display may take the foreground away and give it back).
class MessageBoxRecorder {
public:
    MessageBoxRecorder() {
        self_ = this;
        hook_.reset(SetWindowsHookExA(WH_CBT, Proc, nullptr, GetCurrentThreadId()));
    }
    ~MessageBoxRecorder() { self_ = nullptr; }
    std::vector<std::pair<std::string, std::string>> boxes;

private:
    static LRESULT CALLBACK Proc(int code, WPARAM wp, LPARAM lp);
    static inline MessageBoxRecorder* self_ = nullptr;
    std::set<HWND> seen_;
    win::AutoHook hook_;
};

}  // namespace testing_support
