#include "apps/zentaro/TrayIcon.h"

#include <cstring>

#include "resources/resource_ids.h"
#include "common/SystemSeams.h"

namespace {

// The classic ANSI record: 88 bytes on 32-bit Windows; every shell version accepts it.
constexpr DWORD kRecordSize = NOTIFYICONDATAA_V1_SIZE;
#ifndef _WIN64
static_assert(kRecordSize == 88);
#endif
constexpr UINT kIconId = 0;

}  // namespace

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
    std::memcpy(record_.szTip, kTrayTip, sizeof kTrayTip);
    sys::NotifyIcon(NIM_ADD, &record_);
    // Counted as shown even when the shell is not running yet: "TaskbarCreated" adds it then.
    shown_ = true;
}

void TrayIcon::Remove() {
    if (!shown_) return;
    icon_.reset();
    record_.hIcon = nullptr;
    sys::NotifyIcon(NIM_DELETE, &record_);
    shown_ = false;
}

void TrayIcon::Restore() {
    if (shown_) sys::NotifyIcon(NIM_ADD, &record_);
}
