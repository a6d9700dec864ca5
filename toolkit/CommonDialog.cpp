#include "toolkit/CommonDialog.h"

#include <commdlg.h>
#include <shlobj.h>

#include <array>

namespace toolkit {

namespace {

constexpr size_t kPathBuffer = 260;
constexpr size_t kFileBuffer = 255;

std::string UpToNul(const char* buf, size_t size) {
    size_t n = 0;
    while (n < size && buf[n] != '\0') ++n;
    return std::string(buf, n);
}

}  // namespace

std::string ChooserFilter(const std::string& strFilter) {
    std::string out;
    if (strFilter.find('|') == std::string::npos) {
        // A bare pattern serves as its own description.
        out = strFilter + '\0' + strFilter;
    } else {
        out = strFilter;
        for (char& c : out)
            if (c == '|') c = '\0';
    }
    out.push_back('\0');
    out.push_back('\0');
    return out;
}

std::string CommonDialog::BrowsCatalog(HWND hDlg) {
    std::array<char, kPathBuffer> display{};
    BROWSEINFOA bi{};
    bi.hwndOwner = hDlg;
    bi.pidlRoot = nullptr;
    bi.pszDisplayName = display.data();
    bi.lpszTitle = kFolderTitle;
    PIDLIST_ABSOLUTE pidl = SHBrowseForFolderA(&bi);
    if (!pidl) return {};
    std::array<char, kPathBuffer> path{};
    const BOOL ok = SHGetPathFromIDListA(pidl, path.data());
    CoTaskMemFree(pidl);  // the chooser's item list is ours to free
    if (!ok) return {};
    return UpToNul(path.data(), path.size());
}

std::string CommonDialog::OpenDialog(HWND hDlg, const std::string& strFilter, const std::string& title) {
    const std::string filter = ChooserFilter(strFilter);
    std::array<char, kFileBuffer + 1> file{};
    OPENFILENAMEA ofn{};
    // The classic record size, which every chooser version accepts.
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = hDlg;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(kFileBuffer);
    ofn.lpstrTitle = title.c_str();
    ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    if (!GetOpenFileNameA(&ofn)) return {};
    return UpToNul(file.data(), file.size());
}

}  // namespace toolkit
