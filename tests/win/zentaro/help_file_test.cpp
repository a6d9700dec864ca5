// The compiled help file beside the program: an HTML Help file (ITSF container) whose
// directory lists every page of the help.
#include "common/ProgramPath.h"
#include "tests/win/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>

namespace {

uint32_t U32(const std::string& b, size_t at) {
    if (at + 4 > b.size()) return 0;
    return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8 |
           static_cast<uint8_t>(b[at + 2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}

// The container's variable-length integers: 7 bits a byte, high bit set on all but the last.
uint64_t EncInt(const std::string& b, size_t& at, size_t end) {
    uint64_t v = 0;
    while (at < end) {
        const uint8_t c = static_cast<uint8_t>(b[at++]);
        v = (v << 7) | (c & 0x7F);
        if (!(c & 0x80)) break;
    }
    return v;
}

// Name -> length of every entry in the listing chunks of the directory.
std::map<std::string, uint64_t> Directory(const std::string& file) {
    std::map<std::string, uint64_t> names;
    const uint32_t dirOffset = U32(file, 0x48);  // header section 1: the directory
    if (file.compare(dirOffset, 4, "ITSP") != 0) return names;
    const uint32_t headerLength = U32(file, dirOffset + 0x08);
    const uint32_t chunkSize = U32(file, dirOffset + 0x10);
    const uint32_t chunkCount = U32(file, dirOffset + 0x2C);
    for (uint32_t i = 0; i < chunkCount; ++i) {
        const size_t chunk = dirOffset + headerLength + static_cast<size_t>(i) * chunkSize;
        if (chunk + chunkSize > file.size() || file.compare(chunk, 4, "PMGL") != 0) continue;
        const size_t end = chunk + chunkSize - U32(file, chunk + 4);
        size_t at = chunk + 20;
        while (at < end) {
            const uint64_t len = EncInt(file, at, end);
            if (len == 0 || at + len > end) break;
            std::string name = file.substr(at, len);
            at += len;
            EncInt(file, at, end);  // section
            EncInt(file, at, end);  // offset
            names[name] = EncInt(file, at, end);
        }
    }
    return names;
}

TEST(HelpFile, IsAnHtmlHelpContainerWithEveryPage) {
    const std::string file = testing_support::ReadFileBytes(paths::ProgramDirectory() + "\\help.hlp");
    ASSERT_GT(file.size(), 0x60u) << "help.hlp beside the program";
    EXPECT_EQ(file.substr(0, 4), "ITSF");
    EXPECT_EQ(U32(file, 4), 3u) << "container version";
    EXPECT_EQ(U32(file, 8), 0x60u) << "header length";

    const auto dir = Directory(file);
    struct Entry { const char* what; const char* name; };
    const Entry expected[] = {
        {"start page", "/index.html"},     {"the clock", "/clock.html"},
        {"alarms", "/alarms.html"},        {"breaks", "/breaks.html"},
        {"biorhythm", "/biorhythm.html"},  {"tools", "/tools.html"},
        {"style sheet", "/help.css"},      {"contents", "/toc.hhc"},
        {"index", "/index.hhk"},           {"viewer settings", "/#SYSTEM"},
    };
    for (const Entry& e : expected) {
        auto it = dir.find(e.name);
        ASSERT_NE(it, dir.end()) << e.what;
        EXPECT_GT(it->second, 0u) << e.what << " is not empty";
    }
}

}  // namespace
