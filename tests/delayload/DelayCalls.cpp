// Calls every delay-loaded function once, as the programs call them, and checks each returns
// what its arguments promise. A broken delay-load stub ends the process at its first call.
// The dialogs some of them open are cancelled as they become active.
#include <windows.h>
#include <commdlg.h>
#include <mmsystem.h>
#include <objbase.h>
#include <olectl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>
#include <vector>

extern "C" BOOL WINAPI mciExecute(LPCSTR command);  // declared as common/SystemSeams.cpp does

namespace {

LRESULT CALLBACK CancelEachDialog(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) PostMessageA(reinterpret_cast<HWND>(wParam), WM_COMMAND, IDCANCEL, 0);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::string ProgramDir() {
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path, n < MAX_PATH ? n : 0);
    return dir.substr(0, dir.find_last_of('\\'));
}

// Decodes picture\1.jpg beside the program, as the break does.
bool DecodesPicture() {
    HANDLE file = CreateFileA((ProgramDir() + "\\picture\\1.jpg").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const DWORD size = GetFileSize(file, nullptr);
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, size);
    DWORD read = 0;
    const bool ok = mem && ReadFile(file, GlobalLock(mem), size, &read, nullptr) && read == size;
    CloseHandle(file);
    if (mem) GlobalUnlock(mem);
    IStream* stream = nullptr;
    if (!ok || FAILED(CreateStreamOnHGlobal(mem, TRUE, &stream))) {
        if (mem) GlobalFree(mem);
        return false;
    }
    IPicture* picture = nullptr;
    const HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                      reinterpret_cast<void**>(&picture));
    stream->Release();
    SHORT type = PICTYPE_UNINITIALIZED;
    if (SUCCEEDED(hr) && picture) {
        picture->get_Type(&type);
        picture->Release();
    }
    return type == PICTYPE_BITMAP;
}

bool TransparentBlits() {
    HDC screen = GetDC(nullptr);
    HDC from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
    HBITMAP a = CreateCompatibleBitmap(screen, 4, 4), b = CreateCompatibleBitmap(screen, 4, 4);
    HGDIOBJ oldFrom = SelectObject(from, a), oldTo = SelectObject(to, b);
    const bool ok = TransparentBlt(to, 0, 0, 4, 4, from, 0, 0, 4, 4, RGB(255, 0, 255)) != FALSE;
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteObject(a);
    DeleteObject(b);
    DeleteDC(from);
    DeleteDC(to);
    ReleaseDC(nullptr, screen);
    return ok;
}

struct Call {
    const char* name;
    bool (*call)();  // true when the function returned what its arguments promise
};

const Call kCalls[] = {
    {"GetOpenFileNameA", [] { OPENFILENAMEA ofn{}; ofn.lStructSize = sizeof ofn; char file[MAX_PATH] = {}; ofn.lpstrFile = file;
                              ofn.nMaxFile = MAX_PATH; ofn.Flags = OFN_EXPLORER;
                              return !GetOpenFileNameA(&ofn); }},  // cancelled
    {"TransparentBlt", TransparentBlits},
    {"CoTaskMemFree", [] { CoTaskMemFree(nullptr); return true; }},
    {"CoInitializeEx", [] { return SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)); }},  // S_FALSE: again
    {"CoUninitialize", [] { CoUninitialize(); return true; }},  // balances CoInitializeEx
    {"CoCreateInstance", [] { IUnknown* none = nullptr;  // no such class
                              return FAILED(CoCreateInstance(GUID{0x1234, 1, 2, {3}}, nullptr, CLSCTX_INPROC_SERVER,
                                                             IID_IUnknown, reinterpret_cast<void**>(&none))) && !none; }},
    {"SysAllocStringLen", [] { BSTR s = SysAllocStringLen(L"ab", 2); const bool ok = s && SysStringLen(s) == 2;
                               SysFreeString(s); return ok; }},
    {"SysFreeString", [] { SysFreeString(nullptr); return true; }},
    {"VariantInit", [] { VARIANT v; v.vt = VT_BSTR; VariantInit(&v); return v.vt == VT_EMPTY; }},
    {"CreateStreamOnHGlobal", DecodesPicture},
    {"OleLoadPicture", DecodesPicture},
    {"SHBrowseForFolderA", [] { BROWSEINFOA bi{}; return SHBrowseForFolderA(&bi) == nullptr; }},  // cancelled
    {"SHGetPathFromIDListA", [] { static const USHORT desktop = 0; char path[MAX_PATH] = {};
                                  SHGetPathFromIDListA(reinterpret_cast<PCIDLIST_ABSOLUTE>(&desktop), path);
                                  return true; }},
    {"ShellExecuteA", [] { return reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open",
                               (ProgramDir() + "\\no such file.txt").c_str(), nullptr, nullptr, SW_SHOW)) <= 32; }},
    {"Shell_NotifyIconA", [] { NOTIFYICONDATAA data{}; data.cbSize = sizeof data; return !Shell_NotifyIconA(NIM_DELETE, &data); }},
    {"PlaySoundA", [] { PlaySoundA(nullptr, nullptr, 0); return true; }},
    {"mciExecute", [] { return mciExecute("close all") != FALSE; }},
    {"midiOutGetNumDevs", [] { midiOutGetNumDevs(); return true; }},
    {"waveOutGetNumDevs", [] { waveOutGetNumDevs(); return true; }},
};

}  // namespace

int main() {
    CoInitialize(nullptr);
    SetWindowsHookExA(WH_CBT, CancelEachDialog, nullptr, GetCurrentThreadId());
    int failed = 0;
    std::set<std::string> called;
    for (const Call& c : kCalls) {
        std::printf("%s ", c.name);
        std::fflush(stdout);  // the name stays when the call ends the process
        const bool ok = c.call();
        std::printf("%s\n", ok ? "returned" : "returned an unexpected result");
        failed += ok ? 0 : 1;
        called.insert(c.name);
    }
    std::istringstream listed(DELAY_LOADED);
    for (std::string name; listed >> name;) {
        if (!called.count(name)) {
            std::printf("%s is delay-loaded but never called here\n", name.c_str());
            ++failed;
        }
    }
    std::fflush(stdout);
    return failed == 0 ? 0 : 1;
}
