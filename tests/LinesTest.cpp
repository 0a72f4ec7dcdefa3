#include <gtest/gtest.h>

#include "text/Lines.h"

namespace torvin {
namespace {

using Lines = std::vector<std::string>;

TEST(SplitLines, FollowsTheLineEndRules) {
    struct Case {
        std::string text;
        Lines expected;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\n\rb", {"a", "", "b"}},          // LF CR ends two lines
        {"a\r\r\nb", {"a", "", "b"}},
        {"\r\n", {""}},
        {"\n\n", {"", ""}},
        {"a\nb", {"a", "b"}},                // last line without a line end
        {std::string("ab\0c\nd", 6), {"ab"}},  // text ends at NUL
        {std::string("\0abc", 4), {}},
        {"x\r\n\r\ny", {"x", "", "y"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitLines(c.text), c.expected) << testing::PrintToString(c.text);
    }
}

TEST(SplitLines, AnEmptyViewWithoutDataHasNoLines) {
    // An empty answer buffer hands over a view whose data pointer is null.
    EXPECT_TRUE(SplitLines(std::string_view()).empty());
    EXPECT_TRUE(SplitLines(std::string_view(nullptr, 0)).empty());
}

TEST(SplitLines, LongCrOnlyTextIsSplitInOnePass) {
    std::string text;
    for (int i = 0; i < 200000; ++i) text += "line\r";
    Lines lines = SplitLines(text);
    ASSERT_EQ(lines.size(), 200000u);
    EXPECT_EQ(lines.back(), "line");
}

TEST(WriteLines, EndsEveryLineWithCrLf) {
    EXPECT_EQ(WriteLines({}), "");
    EXPECT_EQ(WriteLines({"192.168.", "51001", "", "2"}), "192.168.\r\n51001\r\n\r\n2\r\n");
    EXPECT_EQ(SplitLines(WriteLines({"a", "", "b"})), (Lines{"a", "", "b"}));
}

}  // namespace
}  // namespace torvin
