// The user's roads through the suite, from a fresh profile, driven only from outside as a user
// would: the menu's commands, the mouse, the notification-area icon, and a restart.
#include "apps/vitaro/VitaroLayout.h"
#include "tests/e2e/driver/Driver.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

constexpr UINT kTrayMessage = WM_USER + 108;
constexpr WPARAM kCmdMinimize = 1, kCmdOptions = 3, kCmdVitaro = 6, kCmdExit = 16;

using driver::StartClock;

void Mouse(DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
}

// Presses on the face, moves the mouse by (dx, dy) in small steps and releases it.
void Drag(HWND face, int dx, int dy) {
    RECT r{};
    GetWindowRect(face, &r);
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    SetCursorPos(p.x, p.y);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Sleep(150);
    for (int i = 1; i <= 10; ++i) {
        SetCursorPos(p.x + dx * i / 10, p.y + dy * i / 10);
        Mouse(MOUSEEVENTF_MOVE);
        Sleep(30);
    }
    Mouse(MOUSEEVENTF_LEFTUP);
}

// Road: drag the face, minimise it to the notification area, bring it back with the icon,
// choose Exit; the next start shows the face where it was dragged.
TEST(Roads, DraggedFaceSurvivesMinimiseRestoreAndRestart) {
    driver::ResetZentaroSettings();
    RECT dragged{};
    {
        driver::Process clock;
        HWND face = StartClock(clock);
        ASSERT_NE(face, nullptr);
        RECT start{};
        GetWindowRect(face, &start);
        Drag(face, -150, -100);
        ASSERT_TRUE(driver::WaitFor([&] {
            GetWindowRect(face, &dragged);
            return dragged.left != start.left || dragged.top != start.top;
        }, 10000)) << "the face did not follow the mouse";
        Sleep(300);
        GetWindowRect(face, &dragged);

        PostMessageA(face, WM_COMMAND, kCmdMinimize, 0);
        ASSERT_TRUE(driver::WaitFor([&] { return !IsWindowVisible(face); }, 10000)) << "not minimised";
        PostMessageA(face, kTrayMessage, 0, WM_LBUTTONDBLCLK);  // double click on the icon
        ASSERT_TRUE(driver::WaitFor([&] { return IsWindowVisible(face) && !IsIconic(face); }, 10000))
            << "the icon did not bring the face back";
        RECT back{};
        GetWindowRect(face, &back);
        EXPECT_EQ(back.left, dragged.left);
        EXPECT_EQ(back.top, dragged.top);

        PostMessageA(face, WM_COMMAND, kCmdExit, 0);
        ASSERT_TRUE(clock.WaitExit(10000)) << "Exit did not end the program";
    }
    driver::Process again;
    HWND face = StartClock(again);
    ASSERT_NE(face, nullptr);
    RECT r{};
    GetWindowRect(face, &r);
    EXPECT_EQ(r.left, dragged.left);
    EXPECT_EQ(r.top, dragged.top);
    PostMessageA(face, WM_COMMAND, kCmdExit, 0);
    EXPECT_TRUE(again.WaitExit(10000));
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

HWND WaitForVitaro() { return driver::WaitForWindow(nullptr, "Vitaro", 20000); }

// Road: "Vitaro(&I)..." starts vitaro beside the clock; a birth date typed there is there
// again when vitaro is started from the menu the next time.
TEST(Roads, VitaroFromTheMenuKeepsItsBirthDateAcrossARestart) {
    driver::ResetZentaroSettings();
    const std::string ini = driver::BinDir() + "\\stop.ini";
    const std::string savedIni = ReadAll(ini);
    driver::Process clock;
    HWND face = StartClock(clock);
    ASSERT_NE(face, nullptr);
    ASSERT_TRUE(driver::WaitForNoWindow(nullptr, "Vitaro", 10000));

    PostMessageA(face, WM_COMMAND, kCmdVitaro, 0);
    HWND vitaro = WaitForVitaro();
    ASSERT_NE(vitaro, nullptr) << "vitaro did not start";
    EXPECT_TRUE(IsWindowVisible(vitaro));
    HWND day = driver::ChildById(vitaro, bio::ui::BoxId(1));
    HWND year = driver::ChildById(vitaro, bio::ui::BoxId(2));
    ASSERT_NE(day, nullptr);
    SendMessageTimeoutA(day, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("17"), SMTO_ABORTIFHUNG, 5000, nullptr);
    SendMessageTimeoutA(year, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("1984"), SMTO_ABORTIFHUNG, 5000, nullptr);
    const std::string month = driver::WindowText(driver::ChildById(vitaro, bio::ui::BoxId(0)));
    PostMessageA(vitaro, WM_CLOSE, 0, 0);
    ASSERT_TRUE(driver::WaitForNoWindow(nullptr, "Vitaro", 10000));

    PostMessageA(face, WM_COMMAND, kCmdVitaro, 0);
    vitaro = WaitForVitaro();
    ASSERT_NE(vitaro, nullptr) << "vitaro did not start a second time";
    EXPECT_EQ(driver::WindowText(driver::ChildById(vitaro, bio::ui::BoxId(0))), month);
    EXPECT_EQ(driver::WindowText(driver::ChildById(vitaro, bio::ui::BoxId(1))), "17");
    EXPECT_EQ(driver::WindowText(driver::ChildById(vitaro, bio::ui::BoxId(2))), "1984");
    PostMessageA(vitaro, WM_CLOSE, 0, 0);
    EXPECT_TRUE(driver::WaitForNoWindow(nullptr, "Vitaro", 10000));

    PostMessageA(face, WM_COMMAND, kCmdExit, 0);
    EXPECT_TRUE(clock.WaitExit(10000));
    std::ofstream(ini, std::ios::binary | std::ios::trunc) << savedIni;
}

SIZE FaceSize(HWND face) {
    RECT r{};
    GetWindowRect(face, &r);
    return {r.right - r.left, r.bottom - r.top};
}

// Road: "Option(&O)..." with the shipped skins folder, pick the capsule background, OK; the
// face takes its size and shape at once and keeps them at the next start.
TEST(Roads, ShippedSkinChosenInTheOptionsDialogStaysAfterARestart) {
    driver::ResetZentaroSettings();
    // The folder the user browsed to earlier: the shipped samples beside the programs.
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Zentaro\\Option", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::string skins = driver::BinDir() + "\\skins";
    RegSetValueExA(key, "SkinPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(skins.c_str()),
                   static_cast<DWORD>(skins.size()));
    RegCloseKey(key);

    {
        driver::Process clock;
        HWND face = StartClock(clock);
        ASSERT_NE(face, nullptr);
        EXPECT_EQ(FaceSize(face).cx, 120);
        PostMessageA(face, WM_COMMAND, kCmdOptions, 0);
        HWND dlg = driver::WaitForWindow("#32770", "Option", 20000, clock.id());
        ASSERT_NE(dlg, nullptr) << "the options dialog did not open";
        HWND list = driver::ChildById(dlg, 7);  // the background list
        ASSERT_NE(list, nullptr);
        // Between processes Wine hands list texts back as UTF-16 whatever the sender's
        // character set, so ask for them in UTF-16.
        int capsule = -1;
        const int count = static_cast<int>(SendMessageA(list, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t text[MAX_PATH] = {};
            if (SendMessageW(list, CB_GETLBTEXTLEN, i, 0) < static_cast<LRESULT>(MAX_PATH))
                SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            if (std::wstring(text) == L"capsule.bmp") capsule = i;
        }
        ASSERT_GE(capsule, 1) << "the shipped skins are not listed (" << count << " entries in " << skins << ")";
        SendMessageA(list, CB_SETCURSEL, capsule, 0);
        PostMessageA(dlg, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(driver::WaitForNoWindow("#32770", "Option", 10000));
        ASSERT_TRUE(driver::WaitFor([&] { return FaceSize(face).cx == 190 && FaceSize(face).cy == 44; }, 10000))
            << "the face did not take the skin's size";
        HRGN shape = CreateRectRgn(0, 0, 0, 0);
        EXPECT_NE(GetWindowRgn(face, shape), ERROR) << "the face has the skin's shape";
        DeleteObject(shape);
        PostMessageA(face, WM_COMMAND, kCmdExit, 0);
        ASSERT_TRUE(clock.WaitExit(10000));
    }
    driver::Process again;
    HWND face = StartClock(again);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(FaceSize(face).cx, 190);
    EXPECT_EQ(FaceSize(face).cy, 44);
    PostMessageA(face, WM_COMMAND, kCmdExit, 0);
    EXPECT_TRUE(again.WaitExit(10000));
    driver::ResetZentaroSettings();
}

}  // namespace
