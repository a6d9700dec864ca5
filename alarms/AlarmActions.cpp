#include "alarms/AlarmActions.h"

#include <mmsystem.h>

#include <algorithm>
#include <vector>

#include "alarms/MissedAlarms.h"
#include "alarms/Scheduler.h"
#include "alarms/ShutdownCountdown.h"
#include "resources/resource_ids.h"
#include "common/Dpi.h"
#include "common/Handles.h"
#include "common/Monitors.h"
#include "common/PathParts.h"
#include "common/SystemVersion.h"
#include "common/SystemSeams.h"
#include "common/Wake.h"
#include "toolkit/ControlTable.h"
#include "toolkit/Controls.h"
#include "toolkit/Dialog.h"

namespace alarms {

namespace {

constexpr DWORD kPlayFile = SND_FILENAME | SND_ASYNC;  // 0x20001
constexpr DWORD kPlayImage = SND_MEMORY | SND_ASYNC;   // 5
constexpr char kOpenVerb[] = "Open";

constexpr int kOkId = IDOK;  // Enter presses it
constexpr char kOkText[] = "OK(&O)";
// Snooze: the choice of minutes left of OK, the button right of it.
constexpr char kSnoozeText[] = "Snooze(&S)";
struct SnoozeChoice {
    const char* text;
    int minutes;
};
constexpr SnoozeChoice kSnoozeChoices[] = {{"5 minutes", 5}, {"10 minutes", 10}, {"30 minutes", 30}};
// The text's control: wrapped at word boundaries (no horizontal scrolling), read-only, out of
// the Tab order so that OK keeps the focus.
constexpr DWORD kReminderTextStyle = ES_MULTILINE | ES_READONLY;

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
    int growth = 0;  // pixels below the text's room (see kReminderTextRoom)
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

// (Re)creates the text's control, scrolling when allowed to; the height its wrapped lines need.
// Heights are in 96-DPI units.
HWND CreateReminderText(HWND dlg, const ReminderDialog& d, int height, bool scrolls, int& textHeight) {
    if (HWND old = GetDlgItem(dlg, kReminderTextId)) DestroyWindow(old);
    const DWORD style = kReminderTextStyle | (scrolls ? WS_VSCROLL : 0);
    HWND edit = toolkit::CreateChildControl(
        dlg, d.font.get(), {"EDIT", kReminderTextId, "", style, kReminderTextX, kReminderTextY, kReminderTextWidth, height});
    if (!edit) return nullptr;
    SendMessageA(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    SendMessageA(edit, EM_LIMITTEXT, 0, 0);  // as long as it is
    SetWindowTextA(edit, d.text.c_str());
    TEXTMETRICW metrics{};
    {
        win::WindowDC dc(edit);
        win::ScopedSelect select(dc.get(), d.font.get());
        GetTextMetricsW(dc.get(), &metrics);
    }
    const auto lines = static_cast<int>(SendMessageA(edit, EM_GETLINECOUNT, 0, 0));
    textHeight = dpi::Unscale(std::max(lines, 1) * static_cast<int>(metrics.tmHeight), dpi::WindowDpi(dlg));
    return edit;
}

// Moves a control to (x, y) in 96-DPI units.
void MoveControl(HWND dlg, int id, int x, int y) {
    const int at = dpi::WindowDpi(dlg);
    if (HWND control = GetDlgItem(dlg, id))
        SetWindowPos(control, nullptr, dpi::Scale(x, at), dpi::Scale(y, at), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Shows d.text whole: the control gets the text, the dialog the height it needs (then the text
// scrolls), and what lies below the text moves with it.
void LayOutReminder(HWND dlg, ReminderDialog& d) {
    const int at = dpi::WindowDpi(dlg);
    // The work area the dialog is centred in.
    const monitors::Rect work = monitors::OwnerWorkArea(dlg);
    const int maxHeight = dpi::Unscale(work.height(), at);
    int textHeight = 0;
    CreateReminderText(dlg, d, kReminderTextRoom, false, textHeight);
    d.growth = ReminderGrowth(textHeight, maxHeight);
    const int room = kReminderTextRoom + d.growth;
    if (textHeight > room) {
        // The text has outgrown the work area: the control scrolls, and wraps beside its bar.
        CreateReminderText(dlg, d, room, true, textHeight);
    } else {
        SetWindowPos(GetDlgItem(dlg, kReminderTextId), nullptr, 0, 0, dpi::Scale(kReminderTextWidth, at),
                     dpi::Scale(room, at), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const int height = kReminderHeight + d.growth;
    toolkit::CentreDialogOnDesktop(dlg, kReminderWidth, height, kReminderTitle);
    RECT window{};
    GetWindowRect(dlg, &window);
    if (window.bottom > work.bottom || window.top < work.top)
        SetWindowPos(dlg, nullptr, window.left, work.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    MoveControl(dlg, kOkId, kReminderOkX, kReminderOkY + d.growth);
    MoveControl(dlg, kReminderSnoozeId, kReminderSnoozeX, kReminderOkY + d.growth);
    MoveControl(dlg, kReminderSnoozeChoiceId, kReminderSnoozeChoiceX, kReminderOkY - 1 + d.growth);
    InvalidateRect(dlg, nullptr, TRUE);
}

// After a wake nobody may be looking at the clock's monitor, and the clock's process is not in
// the foreground: the reminder is centred on the monitor in use (the one under the pointer)
// and brought to the front, above the windows that were there before the computer slept.
void BringToFrontOnActiveMonitor(HWND dlg) {
    POINT cursor{};
    GetCursorPos(&cursor);
    const auto monitors = monitors::DisplayMonitors();
    const auto nearest = monitors::NearestMonitor({cursor.x, cursor.y, cursor.x + 1, cursor.y + 1}, monitors);
    RECT window{};
    GetWindowRect(dlg, &window);
    if (nearest) {
        const monitors::Rect place =
            monitors::CentredIn(monitors[*nearest].work, window.right - window.left, window.bottom - window.top);
        SetWindowPos(dlg, nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // Topmost for a moment lifts it above every window; the foreground request may be refused
    // (another program holds the foreground), and the window then still stands in front.
    SetWindowPos(dlg, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowPos(dlg, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(dlg);
}

void OnReminderInit(HWND dlg, ReminderDialog& d) {
    toolkit::CentreDialogOnDesktop(dlg, kReminderWidth, kReminderHeight, kReminderTitle);
    d.font = toolkit::CreateDialogFont(dlg);
    // OK first: it takes the focus and stays the default button.
    d.buttons.CreateButton(dlg, kOkText, kOkId, kReminderOkX, kReminderOkY, kReminderButtonWidth, kReminderButtonHeight,
                           d.font.get(), BS_DEFPUSHBUTTON);
    d.buttons.CreateButton(dlg, kSnoozeText, kReminderSnoozeId, kReminderSnoozeX, kReminderOkY, kReminderButtonWidth,
                           kReminderButtonHeight, d.font.get(), BS_PUSHBUTTON);
    d.snoozeChoice.CreateCombox(dlg, kReminderSnoozeChoiceId, kReminderSnoozeChoiceX, kReminderOkY - 1,
                                kReminderSnoozeChoiceWidth, kReminderSnoozeChoiceHeight, d.font.get(), 0);
    for (const SnoozeChoice& choice : kSnoozeChoices) controls::ComboBox::AddItem(dlg, kReminderSnoozeChoiceId, choice.text);
    controls::ComboBox::ListIndex(dlg, kReminderSnoozeChoiceId, 0);
    // Tab in reading order along the bottom row: the snooze length, OK, Snooze. OK keeps the
    // focus (ReminderDlgProc).
    toolkit::PutFirstInTabOrder(dlg, {kReminderSnoozeChoiceId});
    d.icon.reset(LoadProgramIcon());
    LayOutReminder(dlg, d);
    if (wake::WokeRecently()) BringToFrontOnActiveMonitor(dlg);
    OpenReminders().push_back(dlg);
}

void OnReminderClose(HWND dlg, ReminderDialog& d) {
    if (d.closed) return;
    d.closed = true;
    std::erase(OpenReminders(), dlg);
    d.buttons.Release();
    d.snoozeChoice.Release();
    if (HWND text = GetDlgItem(dlg, kReminderTextId)) DestroyWindow(text);  // before its font
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

// The computer and the display stay on while the action is up: the dialogs until they close,
// a sound (whose end is not reported) and a program's start for a short while.
void FireAlarmItem(const AlarmItem& item, HWND owner) {
    switch (item.notifyMode) {
    case kNotifySound:
        wake::HoldAwakeBriefly();
        PlayItemSound(item);
        break;
    case kNotifyText: {
        const wake::AwakeHold awake;
        ShowReminderText(owner, item.notifyText);
        break;
    }
    case kNotifyProgram:
        wake::HoldAwakeBriefly();
        StartItemProgram(item);
        break;
    case kNotifyRestart: {
        const wake::AwakeHold awake;
        StartCountdown(item, true, owner);
        break;
    }
    case kNotifyShutdown: {
        const wake::AwakeHold awake;
        StartCountdown(item, false, owner);
        break;
    }
    default:
        break;
    }
}

void ShowReminderText(HWND owner, const std::string& text) {
    for (HWND open : OpenReminders()) {
        if (ReminderDialog* d = ReminderOf(open)) {
            d->text = text;
            LayOutReminder(open, *d);
        }
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

int ReminderGrowth(int textHeight, int maxWindowHeight) {
    const int most = std::max(0, maxWindowHeight - kReminderHeight);
    return std::clamp(textHeight - kReminderTextRoom, 0, most);
}

void PaintReminder(HDC dc, HICON icon, int growth) {
    toolkit::DrawEtchedFrame(dc, kReminderSeparatorLeft, kReminderSeparatorRight, kReminderSeparatorY + growth,
                             kReminderSeparatorY + growth);
    if (icon)
        DrawIconEx(dc, toolkit::DcScale(dc, kReminderIconX), toolkit::DcScale(dc, kReminderIconY), icon, 0, 0, 0,
                   nullptr, DI_NORMAL);
    toolkit::DrawSunkenFrame(dc, kReminderOkFrameLeft, kReminderOkFrameRight, kReminderOkFrameTop + growth,
                             kReminderOkFrameBottom + growth);
}

INT_PTR CALLBACK ReminderDlgProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        auto* d = reinterpret_cast<ReminderDialog*>(lp);
        toolkit::AttachDialogState(dlg, lp);
        if (d) OnReminderInit(dlg, *d);
        // Focus to OK, so that Enter closes the dialog.
        SetFocus(GetDlgItem(dlg, kOkId));
        return FALSE;
    }
    ReminderDialog* d = ReminderOf(dlg);
    if (!d) return FALSE;
    switch (msg) {
    case WM_PAINT:
        toolkit::PaintDialog(dlg, [d](HDC dc) { PaintReminder(dc, d->icon.get(), d->growth); });
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
