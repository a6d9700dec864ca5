// What the settings store accepts as a number.
#include "common/NumericText.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* what;
    const char* text;
    bool numeric;
    std::int32_t value;
};

const Case kCases[] = {
    {"plain digits", "188", true, 188},
    {"zero", "0", true, 0},
    {"negative", "-99999", true, -99999},
    {"explicit plus", "+7", true, 7},
    {"surrounding blanks", "  42 \t", true, 42},
    {"largest 32-bit", "2147483647", true, 2147483647},
    {"smallest 32-bit", "-2147483648", true, INT32_MIN},
    {"empty", "", false, 0},
    {"blanks only", "   ", false, 0},
    {"sign only", "-", false, 0},
    {"letters", "abc", false, 0},
    {"digits then letters", "12abc", false, 0},
    {"exponent form", "1e9", false, 0},
    {"fraction", "1.5", false, 0},
    {"blank inside", "1 2", false, 0},
    {"one past 32-bit", "2147483648", false, 0},
    {"one below 32-bit", "-2147483649", false, 0},
    {"far beyond 32-bit", "99999999999999999999999", false, 0},
    {"two signs", "--1", false, 0},
};

TEST(NumericText, AcceptsOnlyWhatAUserCallsANumber) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        const auto parsed = settings::ParseNumericText(c.text);
        ASSERT_EQ(parsed.has_value(), c.numeric);
        if (c.numeric) {
            EXPECT_EQ(*parsed, c.value);
        }
    }
}

}  // namespace
