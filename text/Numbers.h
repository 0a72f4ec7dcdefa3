#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace torvin {

// Reads a whole text as a signed 32-bit integer: leading spaces, at most one sign,
// then decimal digits in range, or "$", "x", "X", "0x", "0X" and hex digits taken as a
// 32-bit pattern (a sign before hex has no effect). Anything else gives `fallback`.
std::int32_t IntOrDefault(std::string_view text, std::int32_t fallback);

// A number text after its leading spaces (the space character only) and one optional
// "+" or "-": both the box texts and the table's numeric columns start this way.
struct TSignedText {
    bool negative = false;
    std::string_view rest;
};
TSignedText SplitSign(std::string_view text);

// The value of a hexadecimal digit of either case, or -1.
int HexDigitValue(char c);

// ASCII decimal digits, no leading zeros, '-' for negative values.
std::string DecimalText(std::int64_t value);

}  // namespace torvin
