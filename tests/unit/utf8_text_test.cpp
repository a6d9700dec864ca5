// Counting and cutting UTF-8 text: whole sequences only; invalid bytes count one each.
#include "common/Utf8Text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
    const char* what;
    std::string text;
    std::size_t characters;
    std::size_t cutTo4Bytes;       // bytes kept by CutToBytes(text, 4)
    std::size_t cutTo2Characters;  // bytes kept by CutToCharacters(text, 2)
};

const Case kCases[] = {
    {"empty", "", 0, 0, 0},
    {"ASCII", "Hello", 5, 4, 2},
    {"Latin with accents", "Zo\xC3\xAB\xC3\xA9", 4, 4, 2},            // Zoëé
    {"Cyrillic", "\xD0\x9D\xD0\xBE\xD1\x87", 3, 4, 4},                 // Ноч
    {"CJK", "\xE4\xBC\x9A\xE8\xAE\xAE", 2, 3, 6},                      // 会议
    {"emoji outside the BMP", "\xF0\x9F\x98\x80!", 2, 4, 5},           // 😀!
    {"right-to-left", "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D", 4, 4, 4},    // שלום
    {"stray continuation bytes", "\x80\x80" "a", 3, 3, 2},
    {"truncated sequence", "a\xE4\xBC", 3, 3, 2},
    {"overlong form", "\xC0\xAF" "b", 3, 3, 2},
    {"surrogate form", "\xED\xA0\x80", 3, 3, 2},
    {"past U+10FFFF", "\xF4\x90\x80\x80", 4, 4, 2},
    {"legacy code page 1252", "Caf\xE9 ok", 7, 4, 2},
};

TEST(Utf8Text, CountsAndCutsWholeCharacters) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.characters, text::CharacterCount(c.text));
        EXPECT_EQ(c.cutTo4Bytes, text::CutToBytes(c.text, 4).size());
        EXPECT_EQ(c.cutTo2Characters, text::CutToCharacters(c.text, 2).size());
        EXPECT_EQ(c.text, text::CutToBytes(c.text, c.text.size()));
        EXPECT_EQ(c.text, text::CutToCharacters(c.text, c.characters));
        EXPECT_EQ("", text::CutToBytes(c.text, 0));
    }
}

TEST(Utf8Text, CharacterBytesPastTheEndIsZero) {
    EXPECT_EQ(0u, text::CharacterBytes("ab", 2));
    EXPECT_EQ(4u, text::CharacterBytes("a\xF0\x9F\x98\x80", 1));
}

}  // namespace
