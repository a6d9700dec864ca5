// The real clock with a reminder whose text mixes three scripts (Latin with accents, CJK,
// Cyrillic) and an emoji outside the BMP, stored as UTF-16 the way any version stores it: in its
// minute the reminder shows, and its text, read from outside through the W messages, is the
// stored one, whole; the stored value is not rewritten. The wall clock is moved to ten seconds before the minute.
#include "alarms/AlarmActions.h"
#include "alarms/AlarmItem.h"
#include "tests/e2e/driver/Driver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr wchar_t kDataKey[] = L"Software\\Zentaro\\Data";
// "Réunion équipe ☕ 会议 10:00 Встреча 😀"
constexpr wchar_t kText[] = L"R\u00e9union \u00e9quipe \u2615 \u4f1a\u8bae 10:00 "
                            L"\u0412\u0441\u0442\u0440\u0435\u0447\u0430 \U0001F600";

// Item 1: a daily reminder at minuteOfDay with the text, as the program stores it.
void StoreReminder(int minuteOfDay) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kDataKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const BYTE record[alarms::kRecordSize] = {1, alarms::kNotifyText, alarms::kTimeDaily, 0,
                                              static_cast<BYTE>(minuteOfDay / 60), static_cast<BYTE>(minuteOfDay % 60),
                                              alarms::kCenturyByte, 26, 1, 1, 0};
    RegSetValueExW(key, L"Data1", 0, REG_BINARY, record, sizeof record);
    RegSetValueExW(key, L"Text1", 0, REG_SZ, reinterpret_cast<const BYTE*>(kText), sizeof kText);
    const DWORD count = 1;
    RegSetValueExW(key, L"DataCount", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count), sizeof count);
    RegCloseKey(key);
}

std::wstring StoredText() {
    std::vector<wchar_t> data(512);
    DWORD type = 0, size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_CURRENT_USER, kDataKey, L"Text1", RRF_RT_ANY, &type, data.data(), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return L"(not REG_SZ)";
    return data.data();
}

std::wstring WideWindowText(HWND wnd) {
    std::vector<wchar_t> text(4096);
    SendMessageW(wnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

TEST(ReminderScripts, TheDialogShowsTheStoredTextInThreeScriptsWhole) {
    driver::ResetZentaroSettings();
    // Clear of the end of a minute, so the clock has loaded the item before its minute.
    const int due = driver::MinuteOfDayAhead(2);
    StoreReminder(due);

    driver::Process clock;
    ASSERT_NE(driver::StartClock(clock), nullptr);
    driver::ApproachMinute(due, 5);
    HWND reminder = nullptr;
    ASSERT_TRUE(driver::WaitFor(
        [&] {
            const auto found = driver::FindTopWindows(nullptr, alarms::kReminderTitle, clock.id());
            reminder = found.empty() ? nullptr : found.front();
            return reminder != nullptr;
        },
        30000))
        << "no reminder";
    HWND text = driver::ChildById(reminder, alarms::kReminderTextId);
    ASSERT_NE(text, nullptr) << "the text is the text of a control";
    EXPECT_EQ(std::wstring(kText), WideWindowText(text));
    EXPECT_EQ(std::wstring(kText), StoredText()) << "the stored value stays as it was";
    Sleep(1500);  // let every control paint
    driver::SaveWindowPng(reminder, "reminder_scripts.png");
    PostMessageA(reminder, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(driver::WaitForNoWindow(nullptr, alarms::kReminderTitle, 10000));
}

}  // namespace
