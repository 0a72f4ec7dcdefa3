#pragma once

#include <string>
#include <string_view>

namespace torvin {

class TLocalEncoding;

// Converts one line of the recorder's UTF-8 text into the local encoding. The form of
// each character is decided by its first byte (0x00-0x7F one byte; 0x80-0x9F and
// 0xC0-0xDF two; 0xA0-0xBF and 0xE0-0xEF three; 0xF0-0xF4 four, up to U+10FFFF);
// overlong forms are accepted. A missing or wrong continuation byte, a form cut off by
// the end of the line, or a first byte from 0xF5 up makes the whole line empty.
std::string ConvertUtf8Line(std::string_view line, const TLocalEncoding& encoding);

// The decoding step alone: the code points of the line by the first-byte rule, or
// false on any fault.
bool DecodeUtf8Line(std::string_view line, std::u32string& codePoints);

// Whether the line is well-formed UTF-8 in its shortest forms, without surrogates:
// such a line converts to itself when the local encoding is UTF-8.
bool IsStrictUtf8(std::string_view line);

// Whether every byte is below 0x80: such a line converts to itself in every encoding.
bool IsAscii(std::string_view line);

}  // namespace torvin
