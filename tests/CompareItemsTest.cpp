#include <gtest/gtest.h>

#include <algorithm>

#include "cds/TitleList.h"
#include "titles/CompareItems.h"
#include "titles/SortKey.h"

namespace torvin {
namespace {

TTitleRow Row(const std::string& caption, std::vector<std::string> items = {}) {
    return TTitleRow{caption, std::move(items)};
}

int Sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

TEST(CompareItems, OrdersEachFieldItsOwnWay) {
    struct Case {
        std::int32_t key;
        TTitleRow a, b;
        int expected;  // sign of CompareItems(a, b)
        const char* what;
    } cases[] = {
        {-1, Row("news"), Row("NEWS"), 0, "ASCII case folded"},
        {-1, Row("News"), Row("News at 9"), -1, "a prefix first"},
        {-1, Row("A_B"), Row("AZB"), 1, "underscore after letters"},
        {-1, Row("a_b"), Row("azb"), 1, "underscore after lower-case letters too"},
        {-1, Row("\x82\xA0"), Row("z"), 1, "double-byte after ASCII"},
        {1, Row("a"), Row("b"), 1, "positive key: greatest first"},
        {-2, Row("", {"2004-06-30 19:00:00"}), Row("", {"2004-06-30 20:00:00"}), -1, "start time"},
        {-4, Row("", {"", "", "10:00:00"}), Row("", {"", "", "9:59:59"}), -1, "durations as text"},
        {-3, Row("", {"", "900"}), Row("", {"", "1000"}), -1, "sizes as numbers"},
        {-3, Row("", {"", ""}), Row("", {"", "0"}), 0, "empty size reads 0"},
        {-3, Row("", {"", "1.5"}), Row("", {"", "0"}), 0, "decimal point reads 0"},
        {-3, Row("", {"", "5 "}), Row("", {"", "0"}), 0, "trailing blank reads 0"},
        {-3, Row("", {"", "  5"}), Row("", {"", "4"}), 1, "leading blanks read normally"},
        {-3, Row("", {"", "1,000"}), Row("", {"", "0"}), 0, "thousands separator reads 0"},
        {-6, Row("", {"", "", "", "", "-1"}), Row("", {"", "", "", "", "0"}), -1, "negative numbers"},
        {-6, Row("", {"", "", "", "", "$10"}), Row("", {"", "", "", "", "15"}), 1, "hex $"},
        {-6, Row("", {"", "", "", "", "0x10"}), Row("", {"", "", "", "", "17"}), -1, "hex 0x"},
        {-5, Row("", {"", "", "", "b"}), Row("", {"", "", "", "A"}), 1, "channel as text"},
        {-5, Row("", {}), Row("", {"", "", "", "A"}), -1, "a missing sub-item is empty"},
        {0, Row("a"), Row("b"), -1, "key 0"},
        {7, Row("b"), Row("a"), -1, "key 7"},
        {-7, Row("a"), Row("a"), -1, "key -7"},
    };
    for (const auto& c : cases) {
        sortKey = c.key;
        EXPECT_EQ(Sign(CompareItems(c.a, c.b, 0)), c.expected) << c.what;
    }
    sortKey = 2;
}

TEST(ReadSortNumber, SixtyFourBitRules) {
    struct Case {
        const char* text;
        std::int64_t value;
    } cases[] = {
        {"9223372036854775807", INT64_MAX},
        {"9223372036854775808", 0},
        {"-9223372036854775808", INT64_MIN},
        {"-9223372036854775809", 0},
        {"+12", 12},
        {"$FFFFFFFFFFFFFFFF", -1},
        {"0x8000000000000000", INT64_MIN},
        {"0x10000000000000000", 0},
        {"0x00000000000000001", 1},  // leading zeros are not significant
        {"-$10", -16},
        {"x10", 0},
        {"$", 0},
        {"-", 0},
        {"", 0},
        {"12a", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadSortNumber(c.text), c.value) << c.text;
}

TEST(SortTitles, SortsTheWholeTableAndSurvivesKeysWithoutAField) {
    TTitleList rows;
    const char* titles[] = {"b", "C", "a", "B", "c"};
    for (const char* t : titles) rows.Add().caption = t;
    SortTitles(rows, -1);
    std::string order;
    for (std::size_t i = 0; i < rows.Count(); ++i) order += rows[i].caption;
    EXPECT_EQ(order, "abBCc");  // equal keys keep their earlier order
    SortTitles(rows, 1);
    order.clear();
    for (std::size_t i = 0; i < rows.Count(); ++i) order += rows[i].caption;
    EXPECT_EQ(order, "CcbBa");

    for (std::int32_t key : {0, 7, -7, 2147483647}) {
        std::vector<const TTitleRow*> before;
        for (std::size_t i = 0; i < rows.Count(); ++i) before.push_back(&rows[i]);
        SortTitles(rows, key);
        for (std::size_t i = 0; i < rows.Count(); ++i) EXPECT_EQ(&rows[i], before[i]) << key;
    }
}

}  // namespace
}  // namespace torvin

namespace torvin {
namespace {

TEST(SortTitles, AgreesWithAStableSortByCompareItems) {
    // Texts and numbers chosen to collide often: case, prefixes, the bytes around the
    // letters, double-byte characters, numbers in every accepted and rejected form.
    const char* texts[] = {"a", "A", "ab", "aB", "_", "[", "`", "z", "Z", "\x82\xA0", "", "a_", "10:00:00", "9:59:59"};
    const char* numbers[] = {"1", "01", " 1", "-1", "$10", "0x10", "16", "1.5", "", "x", "9223372036854775807",
                             "-9223372036854775808", "5 "};
    std::uint32_t seed = 7;
    auto next = [&seed](std::size_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    for (std::int32_t key : {1, -1, 2, -2, 3, -3, 4, -4, 5, -5, 6, -6}) {
        TTitleList rows;
        std::vector<TTitleRow*> original;
        for (int i = 0; i < 300; ++i) {
            TTitleRow& r = rows.Add();
            r.caption = texts[next(std::size(texts))];
            const std::size_t items = next(8);  // some rows lack the compared sub-item
            for (std::size_t k = 0; k < items; ++k) {
                r.subItems.push_back(k == 1 || k == 4 ? numbers[next(std::size(numbers))] : texts[next(std::size(texts))]);
            }
            original.push_back(&r);
        }
        std::vector<TTitleRow*> expected = original;
        std::stable_sort(expected.begin(), expected.end(), [key](const TTitleRow* a, const TTitleRow* b) {
            return CompareItemsByKey(*a, *b, key) < 0;
        });
        SortTitles(rows, key);
        for (std::size_t i = 0; i < rows.Count(); ++i) ASSERT_EQ(&rows[i], expected[i]) << "key " << key << " row " << i;
    }
}

}  // namespace
}  // namespace torvin
