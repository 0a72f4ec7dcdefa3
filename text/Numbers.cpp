#include "text/Numbers.h"

#include <charconv>

namespace torvin {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

TSignedText SplitSign(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    TSignedText parts;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        parts.negative = text[i] == '-';
        ++i;
    }
    parts.rest = text.substr(i);
    return parts;
}

std::int32_t IntOrDefault(std::string_view text, std::int32_t fallback) {
    const auto [negative, rest] = SplitSign(text);

    std::size_t prefix = 0;
    if (!rest.empty() && (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X')) {
        prefix = 1;
    } else if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
        prefix = 2;
    }
    if (prefix != 0) {
        std::string_view digits = rest.substr(prefix);
        if (digits.empty()) return fallback;
        std::uint64_t value = 0;
        for (char c : digits) {
            int d = HexDigitValue(c);
            if (d < 0) return fallback;
            value = value * 16 + static_cast<unsigned>(d);
            if (value > 0xFFFFFFFFu) return fallback;
        }
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    }

    if (rest.empty()) return fallback;
    std::int64_t value = 0;
    for (char c : rest) {
        if (c < '0' || c > '9') return fallback;
        value = value * 10 + (c - '0');
        if (value > 2147483648LL) return fallback;
    }
    if (negative) value = -value;
    if (value > 2147483647LL) return fallback;
    return static_cast<std::int32_t>(value);
}

std::string DecimalText(std::int64_t value) {
    char buffer[24];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

}  // namespace torvin
