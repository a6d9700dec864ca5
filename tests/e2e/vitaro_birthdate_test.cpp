// vitaro as a real process keeps the birth date in "stop.ini" beside the programs.
#include "apps/vitaro/VitaroLayout.h"
#include "tests/e2e/driver/Driver.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Puts the INI file back as it was when the test ends.
class IniGuard {
public:
    explicit IniGuard(std::string path) : path_(std::move(path)) {
        existed_ = GetFileAttributesA(path_.c_str()) != INVALID_FILE_ATTRIBUTES;
        if (existed_) saved_ = ReadAll(path_);
    }
    ~IniGuard() {
        if (existed_) std::ofstream(path_, std::ios::binary | std::ios::trunc) << saved_;
        else DeleteFileA(path_.c_str());
    }
private:
    std::string path_;
    bool existed_ = false;
    std::string saved_;
};

struct Run {
    const char* what;
    bool closeWithEscape;
};

class VitaroBirthDate : public ::testing::TestWithParam<Run> {};

TEST_P(VitaroBirthDate, ReadsTheStoredLeapDayAndWritesItBackOnClosing) {
    const std::string ini = driver::BinDir() + "\\stop.ini";
    IniGuard guard(ini);
    ASSERT_TRUE(WritePrivateProfileStringA("StartBreak", "birthdate", "2-29-2000", ini.c_str()));
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini.c_str());  // flush the profile cache

    driver::Process vitaro;
    ASSERT_TRUE(vitaro.Start(driver::ProgramPath("vitaro.exe")));
    HWND wnd = driver::WaitForWindow(nullptr, "Vitaro", 20000, vitaro.id());
    ASSERT_NE(wnd, nullptr);
    HWND boxes[3];
    for (int i = 0; i < 3; ++i) boxes[i] = driver::ChildById(wnd, bio::ui::BoxId(i));
    ASSERT_TRUE(driver::WaitFor([&] { return driver::WindowText(boxes[2]) == "2000"; }, 10000));
    EXPECT_EQ(driver::WindowText(boxes[0]), "2");
    EXPECT_EQ(driver::WindowText(boxes[1]), "29");
    EXPECT_EQ(driver::WindowText(driver::ChildById(wnd, bio::ui::kIdSystemDate)), "Apply System  Date");
    EXPECT_EQ(driver::WindowText(driver::ChildById(wnd, bio::ui::kIdDays)).rfind("You have lived ", 0), 0u);

    // Changed on disk while running: closing writes the boxes back.
    ASSERT_TRUE(WritePrivateProfileStringA("StartBreak", "birthdate", "1-1-1", ini.c_str()));
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini.c_str());
    if (GetParam().closeWithEscape) {
        PostMessageA(boxes[1], WM_KEYDOWN, VK_ESCAPE, 0);
    } else {
        PostMessageA(wnd, WM_CLOSE, 0, 0);
    }
    ASSERT_TRUE(vitaro.WaitExit(10000));
    EXPECT_EQ(vitaro.ExitCode(), 0u);
    EXPECT_NE(ReadAll(ini).find("birthdate=2-29-2000"), std::string::npos) << ReadAll(ini);
}

INSTANTIATE_TEST_SUITE_P(Closing, VitaroBirthDate,
                         ::testing::Values(Run{"close box", false}, Run{"escape in a box", true}),
                         [](const auto& info) { return std::string(info.param.closeWithEscape ? "Escape" : "CloseBox"); });

}  // namespace
