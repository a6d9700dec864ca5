// The options dialog: skin directory and images (or random ones at each start), the clock's
// opacity, the start options (always on top, start with the system, start minimised) and
// waking the computer for alarms, with a live preview of the chosen skin. Modal to the main window, built from the empty template.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace options {

// Control identifiers; the dialog's commands use the same numbers.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdApply = 3;
inline constexpr int kIdOpacity = 4;
inline constexpr int kIdBrowse = 5;
inline constexpr int kIdSkinPath = 6;
inline constexpr int kIdBackgroundList = 7;
inline constexpr int kIdRandomBackground = 8;
inline constexpr int kIdGlyphList = 9;
inline constexpr int kIdRandomGlyphs = 10;
inline constexpr int kIdTopmost = 11;
inline constexpr int kIdAutoRun = 12;
inline constexpr int kIdIconRun = 13;
inline constexpr int kIdWakeForAlarms = 14;
// The line under the wake option: why the computer may not wake (empty when it can, or when
// the option is off).
inline constexpr int kIdWakeLine = 15;

inline constexpr const char* kCaption = "Option";
inline constexpr const char* kDefaultEntry = "Default";
inline constexpr int kSkinPathMaxText = 250;
// Where the preview is drawn (client coordinates, right and bottom exclusive), in silver.
inline constexpr RECT kPreviewArea{224, 68, 426, 262};
inline constexpr COLORREF kPreviewColour = RGB(192, 192, 192);

// Builds and runs the dialog with the clock window as owner; returns when it has ended.
// showNewFace is called by Apply after the settings are stored, for the owner to show the
// new face (and to restore a minimised clock).
void ShowOptionsDialog(HWND main, std::function<void()> showNewFace);
INT_PTR CALLBACK OptionsDlgProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);

// The dialog's steps, each on the open dialog.
void LoadAlphaSetting(HWND dlg);
void LoadCheckOption(HWND dlg, int id, const char* valueName);
void SaveCheckOption(HWND dlg, int id, const char* valueName);
void FillSkinLists(HWND dlg, const std::string& directory);
void SelectSkinEntry(HWND dlg, int listId, const char* valueName);
// The decoration, the silver preview area and the preview, as WM_PAINT draws them.
void PaintOptionsDialog(HDC dc, HWND dlg);
void PaintSkinPreview(HDC dc, HWND dlg);

// The folder chooser behind "Browse(&V)"; an empty result means "no change". Tests replace it
// for a scope (the real one is the shell's modal folder dialog).
using FolderChooser = std::function<std::string(HWND owner)>;
class ScopedFolderChooser {
public:
    explicit ScopedFolderChooser(FolderChooser chooser);
    ScopedFolderChooser(const ScopedFolderChooser&) = delete;
    ScopedFolderChooser& operator=(const ScopedFolderChooser&) = delete;
    ~ScopedFolderChooser();
private:
    FolderChooser saved_;
};

}  // namespace options
