#include "apps/zentaro/TrayIcon.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "alarms/Scheduler.h"

#include "resources/resource_ids.h"
#include "common/Handles.h"
#include "common/SystemSeams.h"

namespace {

// The classic ANSI record: 88 bytes on 32-bit Windows; every shell version accepts it.
constexpr DWORD kRecordSize = NOTIFYICONDATAA_V1_SIZE;
#ifndef _WIN64
static_assert(kRecordSize == 88);
#endif
constexpr UINT kIconId = 0;

struct TrayState {
    NOTIFYICONDATAA record{};
    win::AutoIcon icon;  // the image the shown icon uses
    bool shown = false;
};

TrayState& State() {
    static TrayState state;
    return state;
}

// The next alarm when there is one, else the program's name and version.
std::string TipText() {
    const std::string next = alarms::NextAlarmText();
    return next.empty() ? std::string(kTrayTip) : next;
}

// Sets the record's tip, cut to the record's field; true when it changed.
bool SetTip(NOTIFYICONDATAA& record, const std::string& tip) {
    char text[sizeof record.szTip] = {};
    std::memcpy(text, tip.c_str(), std::min(tip.size(), sizeof text - 1));
    if (std::memcmp(text, record.szTip, sizeof text) == 0) return false;
    std::memcpy(record.szTip, text, sizeof text);
    return true;
}

}  // namespace

void AddTrayIcon(HWND main) {
    TrayState& s = State();
    if (s.shown) return;
    s.icon.reset(static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_ZENTARO),
                                               IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
    s.record = NOTIFYICONDATAA{};
    s.record.cbSize = kRecordSize;
    s.record.hWnd = main;
    s.record.uID = kIconId;
    s.record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    s.record.uCallbackMessage = kTrayMessage;
    s.record.hIcon = s.icon.get();
    static_assert(sizeof kTrayTip <= sizeof s.record.szTip);
    SetTip(s.record, TipText());
    sys::NotifyIcon(NIM_ADD, &s.record);
    // Counted as shown even when the shell is not running yet: "TaskbarCreated" adds it then.
    s.shown = true;
}

void RemoveTrayIcon() {
    TrayState& s = State();
    if (!s.shown) return;
    s.icon.reset();
    s.record.hIcon = nullptr;
    sys::NotifyIcon(NIM_DELETE, &s.record);
    s.shown = false;
}

void RestoreTrayIcon() {
    TrayState& s = State();
    if (s.shown) sys::NotifyIcon(NIM_ADD, &s.record);
}

bool TrayIconShown() { return State().shown; }

void RefreshTrayTip() {
    TrayState& s = State();
    if (s.shown && SetTip(s.record, TipText())) sys::NotifyIcon(NIM_MODIFY, &s.record);
}
