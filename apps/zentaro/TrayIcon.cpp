#include "apps/zentaro/TrayIcon.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "alarms/Scheduler.h"
#include "resources/resource_ids.h"
#include "common/SystemSeams.h"
#include "common/Utf8Text.h"

namespace zentaro {

namespace {

// The classic ANSI record: 88 bytes on 32-bit Windows; every shell version accepts it.
constexpr DWORD kRecordSize = NOTIFYICONDATAA_V1_SIZE;
#ifndef _WIN64
static_assert(kRecordSize == 88);
#endif
constexpr UINT kIconId = 0;

// The program's name and version, and on a second line the next alarm when there is one.
std::string TipText() {
    const std::string next = alarms::NextAlarmText();
    return next.empty() ? std::string(kTrayTip) : std::string(kTrayTip) + "\n" + next;
}

// Sets the record's tip, cut between two characters to fit the record's field; true when it
// changed.
bool SetTip(NOTIFYICONDATAA& record, const std::string& tip) {
    char text[sizeof record.szTip] = {};
    const std::string_view kept = text::CutToBytes(tip, sizeof text - 1);
    std::memcpy(text, kept.data(), kept.size());
    if (std::memcmp(text, record.szTip, sizeof text) == 0) return false;
    std::memcpy(record.szTip, text, sizeof text);
    return true;
}

// The record of the icon's keyboard requests: the version field follows the classic record, so
// these use the second record size (on the same window and identifier).
NOTIFYICONDATAA KeyboardRecord(const NOTIFYICONDATAA& shown) {
    NOTIFYICONDATAA record{};
    record.cbSize = NOTIFYICONDATAA_V2_SIZE;
    record.hWnd = shown.hWnd;
    record.uID = shown.uID;
    record.uVersion = NOTIFYICON_VERSION;
    return record;
}

}  // namespace

// The version is asked for after every NIM_ADD: the shell forgets it with the icon. Refused
// (an older shell), the icon keeps the mouse messages alone, as before.
void TrayIcon::RequestKeyboardVersion() {
    NOTIFYICONDATAA record = KeyboardRecord(record_);
    keyboard_ = sys::NotifyIconKeyboard(NIM_SETVERSION, &record) != FALSE;
}

bool TrayIcon::ReturnFocus() {
    if (!AnswersKeyboard()) return false;
    NOTIFYICONDATAA record = KeyboardRecord(record_);
    return sys::NotifyIconKeyboard(NIM_SETFOCUS, &record) != FALSE;
}

POINT TrayIcon::MenuAnchor() const {
    POINT at{};
    GetCursorPos(&at);
    if (!shown_) return at;
    using GetRectFn = HRESULT(WINAPI*)(const NOTIFYICONIDENTIFIER*, RECT*);
    // Looked up at run time: Windows 7 and later only. shell32 is loaded while an icon is shown.
    HMODULE shell = GetModuleHandleA("shell32.dll");
    auto getRect = shell ? reinterpret_cast<GetRectFn>(
                               reinterpret_cast<void*>(GetProcAddress(shell, "Shell_NotifyIconGetRect")))
                         : nullptr;
    NOTIFYICONIDENTIFIER icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = record_.hWnd;
    icon.uID = record_.uID;
    RECT place{};
    if (getRect && SUCCEEDED(getRect(&icon, &place))) at = {place.left, place.top};
    return at;
}

void TrayIcon::Add(HWND main) {
    if (shown_) return;
    icon_.reset(static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_ZENTARO),
                                              IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
    record_ = NOTIFYICONDATAA{};
    record_.cbSize = kRecordSize;
    record_.hWnd = main;
    record_.uID = kIconId;
    record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record_.uCallbackMessage = kTrayMessage;
    record_.hIcon = icon_.get();
    static_assert(sizeof kTrayTip <= sizeof record_.szTip);
    SetTip(record_, TipText());
    sys::NotifyIcon(NIM_ADD, &record_);
    RequestKeyboardVersion();
    // Counted as shown even when the shell is not running yet: "TaskbarCreated" adds it then.
    shown_ = true;
}

void TrayIcon::Remove() {
    if (!shown_) return;
    icon_.reset();
    record_.hIcon = nullptr;
    sys::NotifyIcon(NIM_DELETE, &record_);
    shown_ = false;
    keyboard_ = false;
}

void TrayIcon::Restore() {
    if (!shown_) return;
    sys::NotifyIcon(NIM_ADD, &record_);
    RequestKeyboardVersion();
}

void TrayIcon::RefreshTip() {
    if (shown_ && SetTip(record_, TipText())) sys::NotifyIcon(NIM_MODIFY, &record_);
}

}  // namespace zentaro
