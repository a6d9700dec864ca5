// The folder and file choosers. Both return an empty text when the user cancels, which every
// caller treats as "no change".
#pragma once
#include <windows.h>

#include <string>

namespace toolkit {

class CommonDialog {
public:
    // Folder chooser rooted at the desktop; the chosen folder's full path.
    static std::string BrowsCatalog(HWND hDlg);
    // File chooser for an existing file. `strFilter` is either a bare pattern ("*.wav") or
    // description/pattern pairs separated by '|' ("Sounds|*.wav|All|*.*").
    static std::string OpenDialog(HWND hDlg, const std::string& strFilter, const std::string& title = kSoundTitle);

    static constexpr char kFolderTitle[] = "Please choose directory: ";
    static constexpr char kSoundTitle[] = "Choose a sound";
};

// The chooser's filter in the platform's form: NUL-separated pairs ending in two NULs.
std::string ChooserFilter(const std::string& strFilter);

}  // namespace toolkit
