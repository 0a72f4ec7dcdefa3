// IntOrDefault and the numeric reading of the sort, against straightforward models.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "text/Numbers.h"
#include "titles/CompareItems.h"

namespace {

// Leading spaces, one sign, then decimal or prefixed hex; nullopt-like flag when not.
bool Model(const std::string& t, bool sortRules, std::int64_t& value) {
    std::size_t i = 0;
    while (i < t.size() && t[i] == ' ') ++i;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
    std::string rest = t.substr(i);
    std::size_t prefix = 0;
    if (!rest.empty() && rest[0] == '$') prefix = 1;
    else if (!sortRules && !rest.empty() && (rest[0] == 'x' || rest[0] == 'X')) prefix = 1;
    else if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) prefix = 2;
    const int base = prefix ? 16 : 10;
    std::string digits = rest.substr(prefix);
    if (digits.empty()) return false;
    __int128 v = 0;
    bool significant = false;
    int count = 0;
    for (char c : digits) {
        int d = (c >= '0' && c <= '9') ? c - '0' : (base == 16 && c >= 'a' && c <= 'f') ? c - 'a' + 10
              : (base == 16 && c >= 'A' && c <= 'F') ? c - 'A' + 10 : -1;
        if (d < 0) return false;
        if (d) significant = true;
        if (significant) ++count;
        if (count > 30) return false;  // beyond every range, and still inside 128 bits
        v = v * base + d;
    }
    if (!sortRules) {
        if (base == 16) {
            if (v > 0xFFFFFFFFLL) return false;
            value = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
            return true;
        }
        if (negative) v = -v;
        if (v < INT32_MIN || v > INT32_MAX) return false;
        value = static_cast<std::int64_t>(v);
        return true;
    }
    if (base == 16) {
        if (count > 16) return false;
        std::uint64_t bits = static_cast<std::uint64_t>(v);
        value = static_cast<std::int64_t>(negative ? ~bits + 1 : bits);
        return true;
    }
    if (negative) v = -v;
    if (v < INT64_MIN || v > INT64_MAX) return false;
    value = static_cast<std::int64_t>(v);
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::int64_t expected = 0;
    const std::int32_t a = torvin::IntOrDefault(text, 77);
    const std::int32_t b = torvin::IntOrDefault(text, -77);
    if (Model(text, false, expected)) {
        if (a != expected || b != expected) std::abort();
    } else if (a != 77 || b != -77) {
        std::abort();
    }
    const std::int64_t n = torvin::ReadSortNumber(text);
    if (!Model(text, true, expected)) expected = 0;
    if (n != expected) std::abort();
    if (torvin::IntOrDefault(torvin::DecimalText(a), 0) != a) std::abort();
    return 0;
}
