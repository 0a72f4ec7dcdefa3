#include <gtest/gtest.h>

#include "text/CopyText.h"
#include "text/LocalEncoding.h"
#include "text/Search.h"

namespace torvin {
namespace {

const TLocalEncoding& utf8 = TLocalEncoding::Utf8();
const TLocalEncoding& cp932 = TLocalEncoding::Cp932();

TEST(ReplaceText, ReplacesLeftToRightWithoutRescanning) {
    struct Case {
        std::string source, pattern, replacement, expected;
    } cases[] = {
        {"aaa", "aa", "b", "ba"},
        {"abc", "b", "bb", "abbc"},
        {"abc", "", "x", "abc"},                // an empty pattern matches nothing
        {"", "a", "b", ""},
        {"a\r\nb\n", "\r", "", "a\nb\n"},
        {"a\nb\n", "\n", "\r\n", "a\r\nb\r\n"},
        {std::string("ab\0ab", 5), "b", "c", "ac"},   // everything after NUL is dropped
        {std::string("xy\0z", 4), "q", "r", "xy"},    // also without a match
        {"&amp;amp;", "&amp;", "&", "&amp;"},
        {"abab", "ab", "", ""},
    };
    for (const auto& c : cases) {
        for (const TLocalEncoding* e : {&utf8, &cp932}) {
            EXPECT_EQ(ReplaceText(c.source, c.pattern, c.replacement, *e), c.expected)
                << testing::PrintToString(c.source) << " in " << e->Name();
        }
    }
}

TEST(FindPos, CountsFromOneAndStopsAtNul) {
    EXPECT_EQ(FindPos("b", "abc", utf8), 2);
    EXPECT_EQ(FindPos("a", "abc", utf8), 1);
    EXPECT_EQ(FindPos("d", "abc", utf8), 0);
    EXPECT_EQ(FindPos("", "abc", utf8), 0);
    EXPECT_EQ(FindPos("a", "", utf8), 0);
    EXPECT_EQ(FindPos("B", "abc", utf8), 0);  // case matters
    EXPECT_EQ(FindPos("c", std::string("ab\0c", 4), utf8), 0);
    EXPECT_EQ(FindPos("abcd", "abc", utf8), 0);
}

TEST(FindPos, PassesOverSecondBytesOfDoubleByteCharacters) {
    // ド is 83 68 in code page 932: its second byte is an 'h'.
    const std::string text = "\x83" "ttp://";
    EXPECT_EQ(FindPos("http://", "\x83" "http://", cp932), 0);
    EXPECT_EQ(FindPos("http://", "\x83" "h" "http://", cp932), 3);
    EXPECT_EQ(FindPos("http://", text, cp932), 0);
    EXPECT_EQ(FindPos("http://", "\x83" "http://", utf8), 2);  // UTF-8 has no lead bytes
    // Two lead bytes make one character, so the byte after them starts a new one.
    EXPECT_EQ(FindPos("h", "\x83\x83" "h", cp932), 3);
    EXPECT_EQ(FindPos("h", "\x83\x83\x83" "hh", cp932), 5);
    EXPECT_EQ(FindPos("\x83", "\x83\x83\x83", cp932), 1);
    EXPECT_EQ(FindPos("\x83\x83", "a\x83\x83\x83\x83", cp932), 2);
    // After a replacement the rest is divided into characters afresh.
    EXPECT_EQ(ReplaceText("ab\x83h", "b", "", cp932), "a\x83h");
    EXPECT_EQ(ReplaceText("\x83hh", "h", "H", cp932), "\x83hH");
    EXPECT_EQ(ReplaceText("a\x83" "ab", "a", "", cp932), "\x83" "ab");
    EXPECT_EQ(ReplaceText("xx\x83xx", "x", "y", cp932), "yy\x83xy");
}

TEST(ReplaceShorterInPlace, AgreesWithReplaceText) {
    const char* sources[] = {"&amp;amp;lt;", "a&ltb&lt;&lt;", "&&&amp;&amp", "\x83&amp;x&amp;",
                             "no entity", "&amp;"};
    for (const char* s : sources) {
        for (const TLocalEncoding* e : {&utf8, &cp932}) {
            std::string text = s;
            ReplaceShorterInPlace(text, "&amp;", "&", *e);
            EXPECT_EQ(text, ReplaceText(s, "&amp;", "&", *e)) << s;
        }
    }
}

TEST(CopyText, CutsByBytePositions) {
    EXPECT_EQ(CopyText("abcdef", 2, 3), "bcd");
    EXPECT_EQ(CopyText("abcdef", 5, 10), "ef");
    EXPECT_EQ(CopyText("abcdef", 7, 1), "");
    EXPECT_EQ(CopyText("abcdef", 6, 1), "f");
    EXPECT_EQ(CopyText("abcdef", 0, 2), "ab");   // index below 1 counts as 1
    EXPECT_EQ(CopyText("abcdef", -5, 2), "ab");  // without shortening the count
    EXPECT_EQ(CopyText("abcdef", 2, 0), "");
    EXPECT_EQ(CopyText("abcdef", 2, -4), "");
    EXPECT_EQ(CopyText("", 1, 1), "");
}

}  // namespace
}  // namespace torvin
