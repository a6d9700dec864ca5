#include "alarms/AlarmActions.h"

#include <mmsystem.h>

#include <algorithm>
#include <vector>

#include "alarms/MissedAlarms.h"
#include "alarms/Scheduler.h"
#include "alarms/ShutdownCountdown.h"
#include "resources/resource_ids.h"
#include "common/Handles.h"
#include "common/PathParts.h"
#include "common/SystemVersion.h"
#include "common/SystemSeams.h"
#include "toolkit/Controls.h"
#include "toolkit/Dialog.h"

namespace alarms {

namespace {

constexpr DWORD kPlayFile = SND_FILENAME | SND_ASYNC;  // 0x20001
constexpr DWORD kPlayImage = SND_MEMORY | SND_ASYNC;   // 5
constexpr char kOpenVerb[] = "Open";

constexpr int kOkId = IDOK;  // Enter presses it
constexpr char kOkText[] = "OK(&O)";
constexpr int kOkX = 99, kOkY = 77, kOkWidth = 70, kOkHeight = 19;
// Snooze: the choice of minutes left of OK, the button right of it.
constexpr char kSnoozeText[] = "Snooze(&S)";
constexpr int kSnoozeX = 177, kSnoozeWidth = 70;
constexpr int kSnoozeChoiceX = 8, kSnoozeChoiceWidth = 89, kSnoozeChoiceHeight = 100;
struct SnoozeChoice {
    const char* text;
    int minutes;
};
constexpr SnoozeChoice kSnoozeChoices[] = {{"5 minutes", 5}, {"10 minutes", 10}, {"30 minutes", 30}};
constexpr int kSeparatorLeft = 8, kSeparatorRight = 254, kSeparatorY = 66;
constexpr int kOkFrameLeft = 99, kOkFrameRight = 171, kOkFrameTop = 76, kOkFrameBottom = 97;
constexpr int kIconX = 10, kIconY = 10;

void PlayItemSound(const AlarmItem& item) {
    if (!item.wavFile.empty()) {
        // Whatever the file holds: a missing or unplayable one makes the platform play its
        // default sound.
        sys::PlaySoundData(item.wavFile.c_str(), nullptr, kPlayFile);
        return;
    }
    const SoundImage sound = BuiltInSound();
    if (sound.data) sys::PlaySoundData(sound.data, nullptr, kPlayImage);
}

void StartItemProgram(const AlarmItem& item) {
    const std::string path = UnquotedPath(item.runExe);
    const std::string file = paths::FileNameOfPath(path);
    if (file.empty()) return;  // no program, or a path naming only a folder
    const std::string dir = paths::DirectoryOfPath(path);
    sys::StartProgram(nullptr, kOpenVerb, file.c_str(), item.parameters.c_str(), dir.c_str(), SW_SHOW);
}

// Each countdown shows its own item's hint; an item without text shows the standard one.
void StartCountdown(const AlarmItem& item, bool restart, HWND owner) {
    ShowShutdownCountdown(owner, restart, item.notifyText);
}

// One open reminder dialog; lives on ShowReminderText's stack.
struct ReminderDialog {
    std::string text;
    win::AutoFont font;
    win::AutoIcon icon;
    controls::Button buttons;
    controls::ComboBox snoozeChoice;
    bool closed = false;
};

ReminderDialog* ReminderOf(HWND dlg) { return toolkit::DialogState<ReminderDialog>(dlg); }

// The reminder dialogs open now: nested ticks may open more than one.
std::vector<HWND>& OpenReminders() {
    static std::vector<HWND> open;
    return open;
}

void OnReminderInit(HWND dlg, ReminderDialog& d) {
    toolkit::CentreDialogOnDesktop(dlg, kReminderWidth, kReminderHeight, kReminderTitle);
    d.font = toolkit::CreateDialogFont(dlg);
    // OK first: it takes the focus and stays the default button.
    d.buttons.CreateButton(dlg, kOkText, kOkId, kOkX, kOkY, kOkWidth, kOkHeight, d.font.get(), BS_DEFPUSHBUTTON);
    d.buttons.CreateButton(dlg, kSnoozeText, kReminderSnoozeId, kSnoozeX, kOkY, kSnoozeWidth, kOkHeight, d.font.get(),
                           BS_PUSHBUTTON);
    d.snoozeChoice.CreateCombox(dlg, kReminderSnoozeChoiceId, kSnoozeChoiceX, kOkY - 1, kSnoozeChoiceWidth,
                                kSnoozeChoiceHeight, d.font.get(), 0);
    for (const SnoozeChoice& choice : kSnoozeChoices) controls::ComboBox::AddItem(dlg, kReminderSnoozeChoiceId, choice.text);
    controls::ComboBox::ListIndex(dlg, kReminderSnoozeChoiceId, 0);
    d.icon.reset(LoadProgramIcon());
    OpenReminders().push_back(dlg);
}

void OnReminderClose(HWND dlg, ReminderDialog& d) {
    if (d.closed) return;
    d.closed = true;
    std::erase(OpenReminders(), dlg);
    d.buttons.Release();
    d.snoozeChoice.Release();
    d.icon.reset();
    d.font.reset();
    EndDialog(dlg, 0);
}

void OnSnooze(HWND dlg, ReminderDialog& d) {
    const int chosen = controls::ComboBox::GetSelItem(dlg, kReminderSnoozeChoiceId);
    const int index = chosen >= 0 && chosen < static_cast<int>(std::size(kSnoozeChoices)) ? chosen : 0;
    SnoozeReminder(d.text, kSnoozeChoices[index].minutes);
    SendMessageA(dlg, WM_CLOSE, 0, 0);
}

}  // namespace

SoundImage BuiltInSound() {
    const HMODULE self = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(self, MAKEINTRESOURCEA(IDR_RING_SOUND), RT_RING_SOUND);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(self, found);  // not freed: it is part of the program's image
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return {};
    return {data, static_cast<std::size_t>(SizeofResource(self, found))};
}

std::string UnquotedPath(const std::string& path) {
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') return path.substr(1, path.size() - 2);
    return path;
}

HICON LoadProgramIcon() {
    return static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_ZENTARO), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
}

void FireAlarmItem(const AlarmItem& item, HWND owner) {
    switch (item.notifyMode) {
    case kNotifySound:
        PlayItemSound(item);
        break;
    case kNotifyText:
        ShowReminderText(owner, item.notifyText);
        break;
    case kNotifyProgram:
        StartItemProgram(item);
        break;
    case kNotifyRestart:
        StartCountdown(item, true, owner);
        break;
    case kNotifyShutdown:
        StartCountdown(item, false, owner);
        break;
    default:
        break;
    }
}

void ShowReminderText(HWND owner, const std::string& text) {
    for (HWND open : OpenReminders()) {
        if (ReminderDialog* d = ReminderOf(open)) d->text = text;
        InvalidateRect(open, nullptr, TRUE);
    }
    ReminderDialog dialog;
    dialog.text = text;
    toolkit::RunDialogWithState(owner, ReminderDlgProc, dialog);
}

const std::string* ReminderTextOf(HWND dlg) {
    const auto& open = OpenReminders();
    if (std::find(open.begin(), open.end(), dlg) == open.end()) return nullptr;
    const ReminderDialog* d = ReminderOf(dlg);
    return d ? &d->text : nullptr;
}

void PaintReminder(HDC dc, const std::string& text, HFONT font, HICON icon) {
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    win::ScopedSelect selectFont(dc, font);
    toolkit::DrawEtchedFrame(dc, kSeparatorLeft, kSeparatorRight, kSeparatorY, kSeparatorY);
    // One line, cut by the dialog's edge; "&" and "%" are drawn as they are.
    TextOutA(dc, toolkit::DcScale(dc, kReminderTextX), toolkit::DcScale(dc, kReminderTextY), text.c_str(),
             static_cast<int>(text.size()));
    if (icon) DrawIconEx(dc, toolkit::DcScale(dc, kIconX), toolkit::DcScale(dc, kIconY), icon, 0, 0, 0, nullptr, DI_NORMAL);
    toolkit::DrawSunkenFrame(dc, kOkFrameLeft, kOkFrameRight, kOkFrameTop, kOkFrameBottom);
    SetBkMode(dc, oldMode);
}

INT_PTR CALLBACK ReminderDlgProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        auto* d = reinterpret_cast<ReminderDialog*>(lp);
        toolkit::AttachDialogState(dlg, lp);
        if (d) OnReminderInit(dlg, *d);
        return TRUE;  // focus to OK, so that Enter closes the dialog
    }
    ReminderDialog* d = ReminderOf(dlg);
    if (!d) return FALSE;
    switch (msg) {
    case WM_PAINT:
        toolkit::PaintDialog(dlg, [d](HDC dc) { PaintReminder(dc, d->text, d->font.get(), d->icon.get()); });
        return TRUE;
    case WM_COMMAND:
        // OK or Enter closes; Snooze closes and shows the text again later; Esc (IDCANCEL) and
        // everything else do nothing.
        if (LOWORD(wp) == kOkId) SendMessageA(dlg, WM_CLOSE, 0, 0);
        if (LOWORD(wp) == kReminderSnoozeId && HIWORD(wp) == BN_CLICKED) OnSnooze(dlg, *d);
        return TRUE;
    case WM_CLOSE:
        OnReminderClose(dlg, *d);
        return TRUE;
    default:
        return FALSE;
    }
}

void InstallAlarmActions(std::function<HWND()> owner) {
    SetAlarmItemHandler([owner](const AlarmItem& item, int) { FireAlarmItem(item, owner()); });
    SetMissedAlarmsHandler([owner](const std::vector<MissedItem>& missed) { ShowMissedAlarms(owner(), missed); });
}

}  // namespace alarms
