#include "titles/CompareItems.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "cds/TitleList.h"
#include "text/Numbers.h"
#include "titles/SortKey.h"

namespace torvin {

namespace {

unsigned char Fold(unsigned char b) { return (b >= 'a' && b <= 'z') ? b - 0x20 : b; }

const std::string& Field(const TTitleRow& row, int magnitude) {
    return magnitude == 1 ? row.caption : row.SubItem(static_cast<std::size_t>(magnitude - 2));
}

}  // namespace

int CompareTitleText(std::string_view a, std::string_view b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x == y) continue;
        const int d = Fold(x) - Fold(y);
        if (d != 0) return d;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::int64_t ReadSortNumber(std::string_view text) {
    const auto [negative, rest] = SplitSign(text);
    std::size_t prefix = 0;
    if (!rest.empty() && rest[0] == '$') prefix = 1;
    else if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) prefix = 2;

    if (prefix != 0) {
        std::string_view digits = rest.substr(prefix);
        if (digits.empty()) return 0;
        std::uint64_t value = 0;
        bool significant = false;
        int count = 0;
        for (char c : digits) {
            const int d = HexDigitValue(c);
            if (d < 0) return 0;
            if (d != 0) significant = true;
            if (significant && ++count > 16) return 0;
            value = (value << 4) | static_cast<unsigned>(d);
        }
        // Two's complement: a pattern with its top bit set is negative, and "-" negates.
        const std::uint64_t result = negative ? (~value + 1) : value;
        return static_cast<std::int64_t>(result);
    }

    if (rest.empty()) return 0;
    // Accumulate the magnitude unsigned so that the most negative value fits.
    std::uint64_t magnitude = 0;
    const std::uint64_t limit = negative ? 9223372036854775808ULL : 9223372036854775807ULL;
    for (char c : rest) {
        if (c < '0' || c > '9') return 0;
        const unsigned d = static_cast<unsigned>(c - '0');
        if (magnitude > (limit - d) / 10) return 0;
        magnitude = magnitude * 10 + d;
    }
    return negative ? static_cast<std::int64_t>(~magnitude + 1) : static_cast<std::int64_t>(magnitude);
}

bool IsSortKey(std::int32_t key) { return key != 0 && key >= -6 && key <= 6; }

int CompareItemsByKey(const TTitleRow& row1, const TTitleRow& row2, std::int32_t key) {
    if (!IsSortKey(key)) return -1;
    const int direction = key > 0 ? -1 : 1;
    const int magnitude = std::abs(key);
    const std::string& a = Field(row1, magnitude);
    const std::string& b = Field(row2, magnitude);
    int c;
    if (magnitude == 3 || magnitude == 6) {
        const std::int64_t x = ReadSortNumber(a);
        const std::int64_t y = ReadSortNumber(b);
        c = x < y ? -1 : (x > y ? 1 : 0);
    } else {
        const int t = CompareTitleText(a, b);
        c = t < 0 ? -1 : (t > 0 ? 1 : 0);
    }
    return c * direction;
}

int CompareItems(const TTitleRow& row1, const TTitleRow& row2, std::intptr_t /*data*/) {
    return CompareItemsByKey(row1, row2, sortKey);
}

namespace {

// Sorts positions by a key read once per row; equal keys keep their order. `compare`
// is the base comparison, the direction is the key's.
template <typename Key, typename Compare>
std::vector<std::size_t> SortedOrder(const std::vector<Key>& keys, int direction, Compare compare) {
    std::vector<std::size_t> order(keys.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return compare(keys[a], keys[b]) * direction < 0;
    });
    return order;
}

}  // namespace

void SortTitles(TTitleList& rows, std::int32_t key) {
    // Under a key that names no field every comparison answers -1, which is no order at
    // all; the rows then stay as they are rather than ending in an arbitrary shuffle.
    if (!IsSortKey(key)) return;
    const int direction = key > 0 ? -1 : 1;
    const int magnitude = std::abs(key);
    std::vector<std::size_t> order;
    if (magnitude == 3 || magnitude == 6) {
        std::vector<std::int64_t> numbers(rows.Count());
        for (std::size_t i = 0; i < rows.Count(); ++i) numbers[i] = ReadSortNumber(Field(rows[i], magnitude));
        order = SortedOrder(numbers, direction, [](std::int64_t x, std::int64_t y) { return x < y ? -1 : (x > y ? 1 : 0); });
    } else {
        // Folding a-z onto A-Z first and then comparing bytes (unsigned, a prefix first)
        // orders exactly as CompareTitleText does, and lets memcmp do the work.
        std::vector<std::string> folded(rows.Count());
        for (std::size_t i = 0; i < rows.Count(); ++i) {
            folded[i] = Field(rows[i], magnitude);
            for (char& c : folded[i]) c = static_cast<char>(Fold(static_cast<unsigned char>(c)));
        }
        order = SortedOrder(folded, direction, [](const std::string& x, const std::string& y) {
            const int t = x.compare(y);
            return t < 0 ? -1 : (t > 0 ? 1 : 0);
        });
    }
    rows.Permute(order);
}

}  // namespace torvin
