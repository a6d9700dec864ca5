// Program paths split into the file to start and the directory to start it in.
#include <gtest/gtest.h>

#include <string>

#include "common/PathParts.h"

TEST(PathParts, SplitAtTheLastBackslash) {
    struct Case { const char* what; std::string path, file, dir; } cases[] = {
        {"ordinary", "C:\\Tools\\run.exe", "run.exe", "C:\\Tools\\"},
        {"no backslash", "run.exe", "run.exe", ""},
        {"empty", "", "", ""},
        {"trailing backslash", "C:\\Tools\\", "", "C:\\Tools\\"},
        {"root only", "C:\\", "", "C:\\"},
        {"spaces", "C:\\Program Files\\My Tool\\run me.exe", "run me.exe", "C:\\Program Files\\My Tool\\"},
        {"network path", "\\\\server\\share\\Break.exe", "Break.exe", "\\\\server\\share\\"},
        {"forward slashes are not separators", "C:/Tools/run.exe", "C:/Tools/run.exe", ""},
        {"double backslash", "C:\\Tools\\\\run.exe", "run.exe", "C:\\Tools\\\\"},
        {"long", std::string(590, 'd') + "\\run.exe", "run.exe", std::string(590, 'd') + "\\"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.file, paths::FileNameOfPath(c.path)) << c.what;
        EXPECT_EQ(c.dir, paths::DirectoryOfPath(c.path)) << c.what;
        EXPECT_EQ(c.path, paths::DirectoryOfPath(c.path) + paths::FileNameOfPath(c.path)) << c.what << ": nothing is lost";
    }
}
