// The INI module over the platform's profile functions, on real files.
#include "common/IniFile.h"
#include "tests/win/support/TestSupport.h"

#include <gtest/gtest.h>

using testing_support::TempDir;

namespace {

class IniTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = dir_.path() + "/stop.ini";
        ini::SetIniFile(path_);
    }
    TempDir dir_;
    std::string path_;
};

TEST_F(IniTest, FirstWriteCreatesTheFileAndIntegersReadAsTheirLeadingDigits) {
    EXPECT_EQ(GetFileAttributesA(path_.c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(ini::WriteIniString("StartBreak", "timesshow", "30abc"));
    EXPECT_NE(GetFileAttributesA(path_.c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(ini::WriteIniString("StartBreak", "cmdhide", "0"));
    ASSERT_TRUE(ini::WriteIniString("StartBreak", "birthdate", "abc"));

    struct { const char* key; std::int32_t value; const char* error; } cases[] = {
        {"timesshow", 30, ""},         // leading digits only
        {"cmdhide", 0, ""},            // a stored 0 is not a read error
        {"birthdate", 0, ""},          // no leading digits
        {"missing", 0, "Read Error"},  // absent key
        {"TIMESSHOW", 30, ""},         // keys ignore case
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(ini::ReadIniInt("StartBreak", c.key), c.value);
        EXPECT_EQ(ini::IniErrorText(), c.error);
    }
}

TEST_F(IniTest, StringReadsAreCutToTheBufferAndEmptyWhenAbsent) {
    ASSERT_TRUE(ini::WriteIniString("StartBreak", "birthdate", "12-31-1999xyz"));
    EXPECT_EQ(ini::ReadIniString("StartBreak", "Birthdate", 12), "12-31-1999x");  // 11 characters
    EXPECT_EQ(ini::ReadIniString("StartBreak", "nothing", 12), "");
    EXPECT_EQ(ini::ReadIniString("Elsewhere", "birthdate", 12), "");
    EXPECT_EQ(ini::ReadIniString("StartBreak", "birthdate", 0), "");
}

TEST_F(IniTest, PathIsTrimmedAndAnEmptyOrBlankPathIsMissing) {
    ini::SetIniFile("   ");
    EXPECT_TRUE(ini::IniFileMissing());
    EXPECT_EQ(ini::IniErrorText(), "Can't find .ini file.");
    EXPECT_FALSE(ini::WriteIniString("StartBreak", "cmdhide", "1"));
    EXPECT_EQ(ini::ReadIniInt("StartBreak", "cmdhide"), 0);
    EXPECT_EQ(ini::ReadIniString("StartBreak", "cmdhide", 12), "");

    ini::SetIniFile("");
    EXPECT_TRUE(ini::IniFileMissing());

    ini::SetIniFile("  " + path_ + "  ");
    EXPECT_EQ(ini::IniFilePath(), path_);
    EXPECT_FALSE(ini::IniFileMissing());
    EXPECT_EQ(ini::IniErrorText(), "");
}

TEST_F(IniTest, AFailedWriteReportsWriteError) {
    ini::SetIniFile(dir_.path() + "/no/such/dir/stop.ini");
    EXPECT_FALSE(ini::WriteIniString("StartBreak", "cmdhide", "1"));
    EXPECT_EQ(ini::IniErrorText(), "Write Error");
}

}  // namespace
