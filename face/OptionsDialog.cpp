#include "face/OptionsDialog.h"

#include "face/BitmapFile.h"
#include "face/Face.h"

#include <commctrl.h>

#include "face/SkinRules.h"
#include "face/Skins.h"
#include "face/StartWithWindows.h"
#include "face/TimeDrawing.h"
#include "resources/resource_ids.h"
#include "common/Handles.h"
#include "common/ProgramPath.h"
#include "common/SystemVersion.h"
#include "common/Registry.h"
#include "common/Settings.h"
#include "common/SystemSeams.h"
#include "common/Wake.h"
#include "toolkit/CommonDialog.h"
#include "toolkit/ControlTable.h"
#include "toolkit/Controls.h"
#include "toolkit/Dialog.h"

namespace options {
namespace {

// Everything the open dialog owns; lives on ShowOptionsDialog's stack while the dialog runs.
struct OptionsState {
    HWND main = nullptr;  // the clock window; not owned
    std::function<void()> showNewFace;  // the owner's: show the face stored by Apply
    win::AutoFont font;  // the controls' font: outlives them, which go with the dialog
    controls::Trackbar slider;
    face::TimeDrawing previewDrawTime;  // the preview's own, so the clock's time area is not moved
};

FolderChooser& Chooser() {
    static FolderChooser chooser = [](HWND owner) { return toolkit::CommonDialog::BrowsCatalog(owner); };
    return chooser;
}

OptionsState* StateOf(HWND dlg) { return toolkit::DialogState<OptionsState>(dlg); }
HWND MainOf(HWND dlg) {
    const OptionsState* s = StateOf(dlg);
    return s ? s->main : nullptr;
}

// The child controls in creation order (which is the Tab order), in pixels; the opacity
// slider, created by its wrapper, comes between the command buttons and the rest.
constexpr DWORD kPushButton = WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kCheckBox = WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr toolkit::ControlSpec kCommandButtons[] = {
    {"BUTTON", kIdOk, "OK(&O)", WS_TABSTOP | BS_DEFPUSHBUTTON | WS_GROUP, 195, 358, 72, 21},
    {"BUTTON", kIdCancel, "Cancel(&C)", kPushButton, 275, 358, 72, 21},
    {"BUTTON", kIdApply, "Apply(&A)", kPushButton, 355, 358, 72, 21},
};
constexpr int kSliderX = 310, kSliderY = 17;
constexpr toolkit::ControlSpec kSkinControls[] = {
    {"BUTTON", kIdBrowse, "Browse(&V)", kPushButton, 215, 20, 66, 20},
    {"Edit", kIdSkinPath, nullptr, controls::kEditStyle, 20, 20, 185, 20, WS_EX_CLIENTEDGE},
    // A drop-down list's height includes its open list.
    {"COMBOBOX", kIdBackgroundList, nullptr, controls::kComboStyle, 20, 72, 175, 188},
    {"BUTTON", kIdRandomBackground, "Replace with the random(&B)", kCheckBox, 20, 98, 180, 16},
    {"COMBOBOX", kIdGlyphList, nullptr, controls::kComboStyle, 20, 144, 175, 500},
    {"BUTTON", kIdRandomGlyphs, "Replace with the random", kCheckBox, 20, 166, 180, 20},
    {"BUTTON", kIdTopmost, "Always On top-screen(&T)", kCheckBox | WS_GROUP, 20, 212, 180, 18},
    {"BUTTON", kIdAutoRun, "Start with windows start(&U)", kCheckBox, 20, 231, 180, 18},
    {"BUTTON", kIdIconRun, "Minimized on start(&I)", kCheckBox, 20, 249, 180, 18},
    // Two lines within the frame's width.
    {"BUTTON", kIdWakeForAlarms, "Wake the computer for alarms(&W)", kCheckBox | BS_MULTILINE, 20, 267, 180, 28},
    // Under the frame of the options, across the dialog: the line may take three lines.
    {"STATIC", kIdWakeLine, "", SS_LEFT | SS_NOPREFIX, 20, 304, 406, 48},
};
constexpr int kLabelId = -1;  // labels send no commands
// Created at the wrappers' label size, then fitted to their text.
constexpr toolkit::ControlSpec kLabels[] = {
    {"STATIC", kLabelId, "Picture directory", controls::kLabelStyle, 20, 4, controls::kLabelWidth,
     controls::kLabelHeight},
    {"STATIC", kLabelId, "Background picture", controls::kLabelStyle, 20, 55, controls::kLabelWidth,
     controls::kLabelHeight},
    {"STATIC", kLabelId, "Time picture", controls::kLabelStyle, 20, 126, controls::kLabelWidth,
     controls::kLabelHeight},
    {"STATIC", kLabelId, "Option", controls::kLabelStyle, 20, 197, controls::kLabelWidth, controls::kLabelHeight},
};

struct Frame {
    int left, top, right, bottom;
};
constexpr Frame kEtchedFrames[] = {{10, 10, 290, 50},  {10, 60, 207, 120},  {10, 131, 207, 190},
                                   {10, 202, 207, 300}, {300, 10, 434, 50}, {216, 60, 434, 270}};
constexpr Frame kSunkenFrames[] = {
    {194, 357, 268, 380}, {274, 357, 348, 380}, {354, 357, 428, 380}, {214, 19, 282, 41}};

struct OptionBox {
    int id;
    const char* valueName;
};
constexpr OptionBox kLoadedBoxes[] = {{kIdRandomBackground, settings::kRndBackBmp},
                                      {kIdRandomGlyphs, settings::kRndTimeBmp},
                                      {kIdTopmost, settings::kWindowpos},
                                      {kIdAutoRun, settings::kAutoRun},
                                      {kIdIconRun, settings::kIconRun},
                                      {kIdWakeForAlarms, settings::kWakeForAlarms}};
// Saved by Apply before the face is reloaded; "Windowpos" follows the reload (the reload
// shows the window, and the z-order is set last).
constexpr OptionBox kSavedBeforeReload[] = {{kIdRandomBackground, settings::kRndBackBmp},
                                            {kIdRandomGlyphs, settings::kRndTimeBmp},
                                            {kIdAutoRun, settings::kAutoRun},
                                            {kIdIconRun, settings::kIconRun},
                                            {kIdWakeForAlarms, settings::kWakeForAlarms}};

// A label as wide and high as its text in the dialog's font, so it covers only its part of
// the frame line it sits on.
void CreateLabelSizedToText(HWND dlg, HFONT font, const toolkit::ControlSpec& spec) {
    HWND h = toolkit::CreateChildControl(dlg, font, spec);
    if (!h) return;
    win::WindowDC dc(h);
    SIZE size{};
    {
        win::ScopedSelect selected(dc.get(), font);
        GetTextExtentPoint32A(dc.get(), spec.text, static_cast<int>(std::char_traits<char>::length(spec.text)), &size);
    }
    if (size.cx > 0 && size.cy > 0) SetWindowPos(h, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
}

// The line under the wake option, for the box as it is ticked now.
void ShowWakeLine(HWND dlg) {
    const bool on = controls::Button::GetButtonState(dlg, kIdWakeForAlarms);
    SetDlgItemTextA(dlg, kIdWakeLine, wake::OptionLine(on).c_str());
}

void InvalidatePreview(HWND dlg) {
    const RECT area = toolkit::ScaleRect(dlg, kPreviewArea);
    InvalidateRect(dlg, &area, FALSE);
}

bool IsDirectory(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The image a list's selection stands for, as the clock would load it: "Default", no
// selection or a file that is no longer there give the built-in image; a file that is there
// but holds no usable bitmap gives none.
win::AutoBitmap PreviewImage(HWND dlg, int listId, int builtInId) {
    if (controls::ComboBox::GetSelItem(dlg, listId) <= 0) return face::LoadBuiltInBitmap(builtInId);
    const std::string path = controls::Edit::Text(dlg, kIdSkinPath) + "\\" + controls::ComboBox::SelIndexText(dlg, listId);
    if (!face::IsOrdinaryFile(path)) return face::LoadBuiltInBitmap(builtInId);
    return face::LoadBitmapFile(path);
}

std::string SkinDirectoryToShow() {
    const std::string stored = settings::ReadText(settings::kOptionKey, settings::kSkinPath);
    return !stored.empty() && IsDirectory(stored) ? stored : paths::ProgramDirectory();
}

void SetMainOpacity(HWND main, int alpha) {
    SetLayeredWindowAttributes(main, 0, static_cast<BYTE>(face::ShownOpacity(alpha)), LWA_ALPHA);
}

// --- message handlers ---

void OnInitDialog(HWND dlg, OptionsState& s) {
    toolkit::AttachDialogState(dlg, reinterpret_cast<LPARAM>(&s));
    toolkit::CentreDialogOnDesktop(dlg, skins::kOptionsDialogWidth, skins::kOptionsDialogHeight, kCaption);
    s.font = toolkit::CreateDialogFont(dlg);

    toolkit::CreateControls(dlg, s.font.get(), kCommandButtons);
    s.slider.CreateTrackBar(dlg, kIdOpacity, kSliderX, kSliderY, WS_GROUP);
    LoadAlphaSetting(dlg);
    toolkit::CreateControls(dlg, s.font.get(), kSkinControls);
    SendDlgItemMessageA(dlg, kIdSkinPath, EM_LIMITTEXT, kSkinPathMaxText, 0);
    // Tab in reading order: the folder, its Browse button and the slider beside them first, the
    // command buttons along the bottom last.
    toolkit::PutFirstInTabOrder(dlg, {kIdSkinPath, kIdBrowse, kIdOpacity});
    toolkit::PutLastInTabOrder(dlg, {kIdOk, kIdCancel, kIdApply});
    SetFocus(GetDlgItem(dlg, kIdSkinPath));
    controls::ComboBox::AddItem(dlg, kIdBackgroundList, kDefaultEntry);
    controls::ComboBox::AddItem(dlg, kIdGlyphList, kDefaultEntry);
    for (const toolkit::ControlSpec& label : kLabels) CreateLabelSizedToText(dlg, s.font.get(), label);

    controls::Edit::SetEditText(dlg, kIdSkinPath, SkinDirectoryToShow());
    FillSkinLists(dlg, controls::Edit::Text(dlg, kIdSkinPath));
    SelectSkinEntry(dlg, kIdBackgroundList, settings::kSelBackBmp);
    SelectSkinEntry(dlg, kIdGlyphList, settings::kSelTimeBmp);
    for (const OptionBox& box : kLoadedBoxes) LoadCheckOption(dlg, box.id, box.valueName);
    ShowWakeLine(dlg);
}

void OnPaint(HWND dlg) {
    toolkit::PaintDialog(dlg, [dlg](HDC dc) { PaintOptionsDialog(dc, dlg); });
}

void OnApply(HWND dlg, OptionsState& s) {
    settings::WriteDword(settings::kLoadKey, settings::kAlpha, s.slider.Value());
    settings::WriteText(settings::kOptionKey, settings::kSkinPath, controls::Edit::Text(dlg, kIdSkinPath));
    settings::WriteDword(settings::kOptionKey, settings::kSelBackBmp, controls::ComboBox::GetSelItem(dlg, kIdBackgroundList));
    settings::WriteDword(settings::kOptionKey, settings::kSelTimeBmp, controls::ComboBox::GetSelItem(dlg, kIdGlyphList));
    settings::WriteText(settings::kLoadKey, settings::kBmpBack, controls::ComboBox::SelIndexText(dlg, kIdBackgroundList));
    settings::WriteText(settings::kLoadKey, settings::kBmpTime, controls::ComboBox::SelIndexText(dlg, kIdGlyphList));
    for (const OptionBox& box : kSavedBeforeReload) SaveCheckOption(dlg, box.id, box.valueName);
    if (s.showNewFace) s.showNewFace();
    SaveCheckOption(dlg, kIdTopmost, settings::kWindowpos);
}

void OnBrowse(HWND dlg) {
    const std::string folder = Chooser()(dlg);
    if (folder.empty()) return;
    controls::Edit::SetEditText(dlg, kIdSkinPath, folder);
    controls::ComboBox::DeleteItem(dlg, kIdBackgroundList);
    controls::ComboBox::DeleteItem(dlg, kIdGlyphList);
    FillSkinLists(dlg, folder);
    InvalidatePreview(dlg);
}

void OnCommand(HWND dlg, OptionsState& s, WPARAM wp) {
    switch (wp) {
    case kIdOk:
        SendMessageA(dlg, WM_COMMAND, kIdApply, 0);
        SendMessageA(dlg, WM_CLOSE, 0, 0);
        break;
    case kIdCancel: SendMessageA(dlg, WM_CLOSE, 0, 0); break;
    case kIdApply: OnApply(dlg, s); break;
    case kIdBrowse: OnBrowse(dlg); break;
    case kIdWakeForAlarms: ShowWakeLine(dlg); break;  // ticked or cleared (BN_CLICKED is 0)
    default: break;
    }
    if (HIWORD(wp) == CBN_SELCHANGE) InvalidatePreview(dlg);
}

void OnHScroll(OptionsState& s, WPARAM wp) {
    if (LOWORD(wp) == TB_ENDTRACK && win::IsLayeredCapable() && s.main) SetMainOpacity(s.main, s.slider.Value());
}

void OnClose(HWND dlg, OptionsState& s) {
    LoadAlphaSetting(dlg);
    if (win::IsLayeredCapable() && s.main) SetMainOpacity(s.main, s.slider.Value());

    const bool noBackgrounds = controls::ComboBox::ListCount(dlg, kIdBackgroundList) <= 1;
    const bool noGlyphStrips = controls::ComboBox::ListCount(dlg, kIdGlyphList) <= 1;
    if (noBackgrounds) registry::RegDeleteSubKey(HKEY_CURRENT_USER, settings::kSkinKey, "BlackFile");
    if (noGlyphStrips) registry::RegDeleteSubKey(HKEY_CURRENT_USER, settings::kSkinKey, "TimeFile");
    if (noBackgrounds && noGlyphStrips) registry::RegDeleteSubKey(HKEY_CURRENT_USER, settings::kRootKey, "Clock Skin");

    s.previewDrawTime = face::TimeDrawing{};
    toolkit::AttachDialogState(dlg, 0);
    EndDialog(dlg, 0);
}

}  // namespace

ScopedFolderChooser::ScopedFolderChooser(FolderChooser chooser) : saved_(Chooser()) { Chooser() = std::move(chooser); }
ScopedFolderChooser::~ScopedFolderChooser() { Chooser() = saved_; }

void ShowOptionsDialog(HWND main, std::function<void()> showNewFace) {
    OptionsState state;
    state.main = main;
    state.showNewFace = std::move(showNewFace);
    toolkit::RunDialogWithState(main, OptionsDlgProc, state);
}

INT_PTR CALLBACK OptionsDlgProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        OnInitDialog(dlg, *reinterpret_cast<OptionsState*>(lp));
        return 0;
    }
    OptionsState* s = StateOf(dlg);
    if (!s) return 0;
    switch (msg) {
    case WM_PAINT: OnPaint(dlg); break;
    case WM_COMMAND: OnCommand(dlg, *s, wp); break;
    case WM_HSCROLL: OnHScroll(*s, wp); break;
    case WM_CLOSE: OnClose(dlg, *s); break;
    default: break;
    }
    return 0;
}

void LoadAlphaSetting(HWND dlg) {
    HWND slider = GetDlgItem(dlg, kIdOpacity);
    if (win::IsLayeredCapable()) {
        SendMessageA(slider, TBM_SETPOS, TRUE, settings::ReadNumberOr(settings::kLoadKey, settings::kAlpha,
                                                                       settings::kDefaultAlpha));
    } else {
        SendMessageA(slider, TBM_SETPOS, TRUE, controls::kTrackbarMin);
        EnableWindow(slider, FALSE);
    }
}

void LoadCheckOption(HWND dlg, int id, const char* valueName) {
    controls::Button::SetButtonState(dlg, id, settings::ReadFlag(settings::kOptionKey, valueName) ? BST_CHECKED : BST_UNCHECKED);
}

void SaveCheckOption(HWND dlg, int id, const char* valueName) {
    const bool on = controls::Button::GetButtonState(dlg, id);
    settings::WriteDword(settings::kOptionKey, valueName, on ? 1 : 0);
    if (id == kIdTopmost) {
        if (HWND main = MainOf(dlg)) {
            constexpr UINT kKeepPlace = SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW;
            if (on) {
                SetWindowPos(main, HWND_TOPMOST, 0, 0, 0, 0, kKeepPlace);
            } else {
                // HWND_BOTTOM alone is meant to end the topmost state, but not every window
                // manager does so; leave it explicitly first.
                SetWindowPos(main, HWND_NOTOPMOST, 0, 0, 0, 0, kKeepPlace | SWP_NOACTIVATE);
                SetWindowPos(main, HWND_BOTTOM, 0, 0, 0, 0, kKeepPlace | SWP_NOACTIVATE);
            }
        }
    } else if (id == kIdAutoRun) {
        skins::SetStartWithSystem(on, paths::ProgramFullPath());
    } else if (id == kIdWakeForAlarms) {
        // Arms the clock's next instant at once, or cancels the timer and removes the task.
        wake::SetEnabled(on);
        ShowWakeLine(dlg);
    }
}

void FillSkinLists(HWND dlg, const std::string& directory) {
    const skins::SkinLists lists = skins::ScanSkinDirectory(directory);
    for (const std::string& name : lists.backgrounds) controls::ComboBox::AddItem(dlg, kIdBackgroundList, name);
    for (const std::string& name : lists.glyphStrips) controls::ComboBox::AddItem(dlg, kIdGlyphList, name);
    controls::ComboBox::FitDropDownWidth(dlg, kIdBackgroundList);
    controls::ComboBox::FitDropDownWidth(dlg, kIdGlyphList);
    skins::WriteSkinLists(lists);
}

void SelectSkinEntry(HWND dlg, int listId, const char* valueName) {
    const auto stored = settings::ReadNumber(settings::kOptionKey, valueName);
    if (!stored) return;
    // A position beyond the list (files removed since) selects "Default"; -1, stored by an
    // Apply without a selection, leaves the list without one again.
    const int count = controls::ComboBox::ListCount(dlg, listId);
    controls::ComboBox::ListIndex(dlg, listId, *stored < count ? *stored : 0);
}

void PaintOptionsDialog(HDC dc, HWND dlg) {
    for (const Frame& f : kEtchedFrames) toolkit::DrawEtchedFrame(dc, f.left, f.right, f.top, f.bottom);
    for (const Frame& f : kSunkenFrames) toolkit::DrawSunkenFrame(dc, f.left, f.right, f.top, f.bottom);
    win::AutoBrush silver(CreateSolidBrush(kPreviewColour));
    const RECT area = toolkit::ScaleRect(WindowFromDC(dc), kPreviewArea);
    FillRect(dc, &area, silver.get());
    PaintSkinPreview(dc, dlg);
}

void PaintSkinPreview(HDC dc, HWND dlg) {
    OptionsState* s = StateOf(dlg);
    if (!s) return;
    win::AutoBitmap background = PreviewImage(dlg, kIdBackgroundList, IDB_BACKGROUND);
    win::AutoBitmap glyphs = PreviewImage(dlg, kIdGlyphList, IDB_GLYPHS);
    if (!background) return;  // no usable background: the area stays silver
    const SIZE size = face::BitmapSize(background.get());
    if (size.cx <= 0 || size.cy <= 0) return;

    win::AutoMemDC backgroundDc(CreateCompatibleDC(dc));
    win::ScopedSelect backgroundOn(backgroundDc.get(), background.get());
    if (glyphs) {
        win::AutoMemDC glyphDc(CreateCompatibleDC(dc));
        win::ScopedSelect glyphsOn(glyphDc.get(), glyphs.get());
        s->previewDrawTime.PaintTimePos(backgroundDc.get(), size.cx, size.cy);
        s->previewDrawTime.DrawTime(backgroundDc.get(), glyphDc.get(), face::ClockTimeText(sys::LocalTime()).c_str());
    }
    const COLORREF transparent = GetPixel(backgroundDc.get(), 0, 0);
    const skins::Point at = skins::PreviewOrigin(size.cx, size.cy);
    // Laid out in 96-DPI units; the skin is stretched with the dialog.
    TransparentBlt(dc, toolkit::DcScale(dc, at.x), toolkit::DcScale(dc, at.y), toolkit::DcScale(dc, size.cx),
                   toolkit::DcScale(dc, size.cy), backgroundDc.get(), 0, 0, size.cx, size.cy, transparent);
}

}  // namespace options
