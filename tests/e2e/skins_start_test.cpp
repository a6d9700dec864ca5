// The clock started with both random options on over the sample skins: it comes up with one
// of the sample backgrounds, chosen at creation, and stores which one it chose.
#include "tests/e2e/driver/Driver.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char* const kOption = "Software\\Zentaro\\Option";
const char* const kLoad = "Software\\Zentaro\\Load";

void PutText(const char* key, const char* name, const std::string& text) {
    RegSetKeyValueA(HKEY_CURRENT_USER, key, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size()));
}
void PutDword(const char* key, const char* name, DWORD value) {
    RegSetKeyValueA(HKEY_CURRENT_USER, key, name, REG_DWORD, &value, sizeof value);
}
}  // namespace

TEST(SkinsAtStart, RandomSampleSkinShapesTheClock) {
    driver::ResetZentaroSettings();
    PutText(kOption, "SkinPath", driver::BinDir() + "\\skins");
    PutDword(kOption, "RndBackBmp", 1);
    PutDword(kOption, "RndTimeBmp", 1);

    driver::Process clock;
    ASSERT_TRUE(clock.Start(driver::ProgramPath("zentaro.exe")));
    HWND wnd = driver::WaitForWindow("frmMain", "Zentaro", 20000, clock.id());
    ASSERT_NE(wnd, nullptr);

    // The one glyph strip, and one of the two backgrounds with the window at its size.
    EXPECT_EQ(driver::UserText(kLoad, "BmpTime"), "amber.bmp");
    EXPECT_EQ(driver::UserDword(kOption, "SelTimeBmp"), 1u);
    const std::string back = driver::UserText(kLoad, "BmpBack").value_or("");
    const DWORD sel = driver::UserDword(kOption, "SelBackBmp").value_or(0);
    EXPECT_TRUE(sel == 1 || sel == 2) << sel;
    EXPECT_EQ(driver::UserText("Software\\Zentaro\\Clock Skin\\BlackFile", std::to_string(sel).c_str()), back);
    RECT r{};
    GetWindowRect(wnd, &r);
    const SIZE size{r.right - r.left, r.bottom - r.top};
    if (back == "disc.bmp") {
        EXPECT_EQ(size.cx, 160);
        EXPECT_EQ(size.cy, 160);
    } else {
        EXPECT_EQ(back, "capsule.bmp");
        EXPECT_EQ(size.cx, 190);
        EXPECT_EQ(size.cy, 44);
    }

    PostMessageA(wnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(clock.WaitExit(10000));
    driver::ResetZentaroSettings();
}
