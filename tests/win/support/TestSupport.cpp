#include "tests/win/support/TestSupport.h"

#include "common/MessageLoop.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace testing_support {

void ClearUserRegistry() {
    // HKEY_CURRENT_USER is the process's scratch key; delete all its subkeys and values.
    RegDeleteTreeA(HKEY_CURRENT_USER, nullptr);
}

void PumpPending() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (win::RouteDialogKeys(msg)) continue;  // as the programs' own loop does
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!pred()) {
        if (GetTickCount64() >= end) return pred();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        PumpPending();
    }
    return true;
}

namespace {
template <class Visit>
void ForOwnWindows(const char* className, const char* title, Visit visit) {
    const DWORD self = GetCurrentProcessId();
    for (HWND w = FindWindowExA(nullptr, nullptr, className, title); w;
         w = FindWindowExA(nullptr, w, className, title)) {
        DWORD process = 0;
        GetWindowThreadProcessId(w, &process);
        if (process == self && !visit(w)) return;
    }
}
}  // namespace

HWND FindOwnWindow(const char* className, const char* title) {
    HWND found = nullptr;
    ForOwnWindows(className, title, [&](HWND w) {
        found = w;
        return false;
    });
    return found;
}

int CountOwnWindows(const char* className) {
    int count = 0;
    ForOwnWindows(className, nullptr, [&](HWND) {
        ++count;
        return true;
    });
    return count;
}

TempDir::TempDir() {
    char base[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathA(sizeof base, base);
    std::string root = (n > 0 && n < sizeof base) ? std::string(base, n) : std::string(".\\");
    static int counter = 0;
    for (;;) {
        path_ = root + "zt" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
        if (CreateDirectoryA(path_.c_str(), nullptr)) break;
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
}

namespace {
void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            const std::string full = dir + "\\" + name;
            SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(full);
            else DeleteFileA(full.c_str());
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(dir.c_str());
}
}  // namespace

TempDir::~TempDir() { RemoveTree(path_); }

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}

std::string ReadFileBytes(const std::string& path) {
    std::string out;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return out;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    fclose(f);
    return out;
}

std::string MakeBmp(int width, int height, const std::function<COLORREF(int, int)>& pixel) {
    const int rowBytes = (width * 3 + 3) & ~3;
    const DWORD imageSize = static_cast<DWORD>(rowBytes) * static_cast<DWORD>(height);
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + imageSize;
    ih.biSize = sizeof ih;
    ih.biWidth = width;
    ih.biHeight = height;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biSizeImage = imageSize;
    std::string out(reinterpret_cast<const char*>(&fh), sizeof fh);
    out.append(reinterpret_cast<const char*>(&ih), sizeof ih);
    std::vector<char> row(rowBytes);
    for (int y = height - 1; y >= 0; --y) {
        std::fill(row.begin(), row.end(), 0);
        for (int x = 0; x < width; ++x) {
            const COLORREF c = pixel(x, y);
            row[x * 3] = static_cast<char>(GetBValue(c));
            row[x * 3 + 1] = static_cast<char>(GetGValue(c));
            row[x * 3 + 2] = static_cast<char>(GetRValue(c));
        }
        out.append(row.data(), row.size());
    }
    return out;
}

SYSTEMTIME LocalTime(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second, WORD milliseconds) {
    SYSTEMTIME t{};
    t.wYear = year;
    t.wMonth = month;
    t.wDay = day;
    FILETIME midnight{};
    // The round trip through a file time fills in the day of the week.
    if (SystemTimeToFileTime(&t, &midnight)) FileTimeToSystemTime(&midnight, &t);
    t.wHour = hour;
    t.wMinute = minute;
    t.wSecond = second;
    t.wMilliseconds = milliseconds;
    return t;
}

PaintSurface::PaintSurface(int width, int height) : dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(dc_.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    old_ = SelectObject(dc_.get(), bitmap_.get());
    const RECT all{0, 0, width, height};
    win::AutoBrush ground(CreateSolidBrush(kGround));
    FillRect(dc_.get(), &all, ground.get());
}

PaintSurface::~PaintSurface() { SelectObject(dc_.get(), old_); }

LRESULT CALLBACK MessageBoxRecorder::Proc(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_ACTIVATE && self_) {
        HWND box = reinterpret_cast<HWND>(wp);
        char cls[32] = {}, caption[256] = {}, text[512] = {};
        GetClassNameA(box, cls, sizeof cls);
        if (std::string(cls) == "#32770" && self_->seen_.insert(box).second) {
            GetWindowTextA(box, caption, sizeof caption);
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            self_->boxes.emplace_back(caption, text);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace testing_support
