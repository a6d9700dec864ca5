// The clock's popup menu from outside: a right click on the face opens it at the cursor, and
// choosing "Exit(&X)" with the mouse ends the program.
#include "tests/e2e/driver/Driver.h"

#include <gtest/gtest.h>

namespace {

HWND VisiblePopupOf(DWORD pid) {
    for (HWND w : driver::FindTopWindows("#32768", nullptr, pid)) {
        if (IsWindowVisible(w)) return w;
    }
    return nullptr;
}

void MouseAt(int x, int y, DWORD buttons) {
    SetCursorPos(x, y);
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = buttons == MOUSEEVENTF_RIGHTDOWN ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = buttons == MOUSEEVENTF_RIGHTDOWN ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
}

TEST(PopupMenu, RightClickOnTheFaceOpensTheMenuAtTheCursorAndExitEndsTheProgram) {
    driver::ResetZentaroSettings();
    driver::Process clock;
    HWND face = driver::StartClock(clock);
    ASSERT_NE(face, nullptr);

    RECT r{};
    GetWindowRect(face, &r);
    const POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    MouseAt(at.x, at.y, MOUSEEVENTF_RIGHTDOWN);
    HWND popup = nullptr;
    ASSERT_TRUE(driver::WaitFor([&] { return (popup = VisiblePopupOf(clock.id())) != nullptr; }, 10000))
        << "no popup menu after a right click on the face";
    RECT m{};
    GetWindowRect(popup, &m);
    EXPECT_EQ(m.left, at.x);
    EXPECT_EQ(m.top, at.y);
    // 16 items: the last is "Exit(&X)", a menu bar high, just above the menu's bottom border.
    EXPECT_GT(m.bottom - m.top, 10 * GetSystemMetrics(SM_CYMENU));

    const int exitY = m.bottom - 3 - GetSystemMetrics(SM_CYMENU) / 2;
    SetCursorPos(m.left + 40, exitY - 30);
    Sleep(100);
    MouseAt(m.left + 40, exitY, MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(clock.WaitExit(10000)) << "Exit(&X) did not end the program";
    EXPECT_EQ(clock.ExitCode(), 0u);
    EXPECT_TRUE(driver::FindTopWindows("frmMain", "Zentaro").empty());
}

// A real double click on the face: the first press starts the system's move loop, the second
// arrives as a double click and minimises the clock to the notification area.
TEST(PopupMenu, DoubleClickOnTheFaceHidesItAndTheIconBringsItBack) {
    driver::ResetZentaroSettings();
    driver::Process clock;
    HWND face = driver::StartClock(clock);
    ASSERT_NE(face, nullptr);
    RECT before{};
    GetWindowRect(face, &before);

    const POINT at{(before.left + before.right) / 2, (before.top + before.bottom) / 2};
    SetCursorPos(at.x, at.y);
    INPUT clicks[4]{};
    for (INPUT& in : clicks) in.type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = clicks[2].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = clicks[3].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(4, clicks, sizeof(INPUT));
    // The clock hides the face, shows it minimised and hides it again: wait for the end state.
    auto minimised = [&] { return !IsWindowVisible(face) && IsIconic(face); };
    ASSERT_TRUE(driver::WaitFor(minimised, 10000)) << "face not minimised to the icon";
    Sleep(200);
    EXPECT_TRUE(minimised()) << "stays hidden";

    // The icon's double click reaches the window as its notification message.
    PostMessageA(face, WM_USER + 108, 0, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(driver::WaitFor([&] { return IsWindowVisible(face) && !IsIconic(face); }, 10000));
    RECT after{};
    GetWindowRect(face, &after);
    EXPECT_EQ(after.left, before.left) << "back at its old place";
    EXPECT_EQ(after.top, before.top);

    PostMessageA(face, WM_COMMAND, 16, 0);  // Exit(&X)
    EXPECT_TRUE(clock.WaitExit(10000));
}

}  // namespace
