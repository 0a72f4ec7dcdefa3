#include <gtest/gtest.h>

#include "text/Numbers.h"

namespace torvin {
namespace {

struct IntCase {
    const char* text;
    std::int32_t expected;
};

TEST(IntOrDefault, ReadsExactlyTheAcceptedForms) {
    const IntCase cases[] = {
        {"0", 0},
        {"42", 42},
        {"   42", 42},          // leading blanks
        {"\t42", -9},           // a tab is not a blank
        {"+42", 42},
        {"-42", -42},
        {"+-42", -9},           // one sign only
        {"--42", -9},
        {" -42", -42},
        {"- 42", -9},
        {"007", 7},             // leading zeros
        {"-007", -7},
        {"$1F", 31},
        {"x1f", 31},
        {"X1F", 31},
        {"0x1F", 31},
        {"0X1f", 31},
        {"-$10", 16},           // a sign before hex has no effect
        {"+0x10", 16},
        {"$FFFFFFFF", -1},      // eight F digits
        {"$80000000", -2147483647 - 1},
        {"$100000000", -9},     // more than 32 bits
        {"$000000001", 1},      // leading zero digits still fit
        {"$", -9},
        {"0x", -9},
        {"$G", -9},
        {"2147483647", 2147483647},
        {"2147483648", -9},
        {"-2147483648", -2147483647 - 1},
        {"-2147483649", -9},
        {"99999999999999999999", -9},
        {"42 ", -9},            // nothing may follow the digits
        {"4 2", -9},
        {"", -9},
        {"   ", -9},
        {"-", -9},
        {"+", -9},
        {"1.5", -9},
        {"0b1", -9},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IntOrDefault(c.text, -9), c.expected) << '"' << c.text << '"';
    }
}

TEST(DecimalText, WritesPlainDigits) {
    EXPECT_EQ(DecimalText(0), "0");
    EXPECT_EQ(DecimalText(1526), "1526");
    EXPECT_EQ(DecimalText(-3), "-3");
    EXPECT_EQ(DecimalText(-2147483648LL), "-2147483648");
}

}  // namespace
}  // namespace torvin
